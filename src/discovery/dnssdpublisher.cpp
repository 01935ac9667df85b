#include "dnssdpublisher.h"

#ifdef WENDLEWICK_HAVE_AVAHI

#include "avahipoll.h"

#include <QPointer>
#include <QTimer>

#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/strlst.h>

struct DnsSdPublisher::Private
{
    explicit Private(DnsSdPublisher *q)
        : q(q)
    { }

    ~Private() { closeClient(); }

    void closeClient()
    {
        // Freeing the client frees its entry group too.
        if (client)
            avahi_client_free(client);
        client = nullptr;
        group = nullptr;
        published = false;
    }

    // The TXT list, newest entry last as given.
    AvahiStringList *txtList() const
    {
        AvahiStringList *list = nullptr;
        for (auto it = txt.crbegin(); it != txt.crend(); ++it)
            list = avahi_string_list_add_arbitrary(
                list, reinterpret_cast<const uint8_t *>(it->constData()), size_t(it->size()));
        return list;
    }

    void createService()
    {
        if (!client || wanted.isEmpty())
            return;
        if (!group)
            group = avahi_entry_group_new(client, &Private::groupChanged, this);
        if (!group || !avahi_entry_group_is_empty(group))
            return;
        for (int attempt = 0; attempt < 10; ++attempt) {
            AvahiStringList *list = txtList();
            const int rc = avahi_entry_group_add_service_strlst(group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC,
                AvahiPublishFlags(0), name.constData(), serviceType, nullptr, nullptr, port, list);
            avahi_string_list_free(list);
            if (rc == AVAHI_ERR_COLLISION) {
                nextName();
                continue;
            }
            if (rc < 0 || avahi_entry_group_commit(group) < 0)
                avahi_entry_group_reset(group);
            return;
        }
    }

    void updateTxt()
    {
        if (!group || avahi_entry_group_is_empty(group))
            return;
        AvahiStringList *list = txtList();
        avahi_entry_group_update_service_txt_strlst(group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC,
            AvahiPublishFlags(0), name.constData(), serviceType, nullptr, list);
        avahi_string_list_free(list);
    }

    void nextName()
    {
        char *alternative = avahi_alternative_service_name(name.constData());
        name = alternative;
        avahi_free(alternative);
    }

    static void clientChanged(AvahiClient *c, AvahiClientState state, void *userdata)
    {
        auto *self = static_cast<Private *>(userdata);
        self->client = c; // the first call comes before avahi_client_new returns
        switch (state) {
        case AVAHI_CLIENT_S_RUNNING:
            self->createService();
            break;
        case AVAHI_CLIENT_S_COLLISION:
        case AVAHI_CLIENT_S_REGISTERING:
            if (self->group)
                avahi_entry_group_reset(self->group);
            self->published = false;
            break;
        case AVAHI_CLIENT_FAILURE:
            // The daemon went away: stop quietly, after this callback has returned.
            QTimer::singleShot(0, self->q, [q = QPointer<DnsSdPublisher>(self->q)] {
                if (q)
                    q->d->closeClient();
            });
            break;
        default:
            break;
        }
    }

    static void groupChanged(AvahiEntryGroup *g, AvahiEntryGroupState state, void *userdata)
    {
        auto *self = static_cast<Private *>(userdata);
        self->group = g;
        switch (state) {
        case AVAHI_ENTRY_GROUP_ESTABLISHED:
            self->published = true;
            break;
        case AVAHI_ENTRY_GROUP_COLLISION:
            self->published = false;
            self->nextName();
            avahi_entry_group_reset(g);
            self->createService();
            break;
        case AVAHI_ENTRY_GROUP_FAILURE:
            self->published = false;
            break;
        default:
            break;
        }
    }

    DnsSdPublisher *q;
    AvahiQtPoll poll;
    AvahiClient *client = nullptr;
    AvahiEntryGroup *group = nullptr;
    bool triedClient = false;
    bool published = false;
    QByteArray wanted; // the name asked for
    QByteArray name; // the name in use
    quint16 port = 0;
    QList<QByteArray> txt;
};

DnsSdPublisher::DnsSdPublisher(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>(this))
{ }

DnsSdPublisher::~DnsSdPublisher() = default;

bool DnsSdPublisher::isBuiltIn()
{
    return true;
}

void DnsSdPublisher::publish(const QString &name, quint16 port, const QList<QByteArray> &txt)
{
    // A DNS label is at most 63 bytes.
    QByteArray wanted = name.toUtf8();
    while (wanted.size() > 63)
        wanted = QString::fromUtf8(wanted).chopped(1).toUtf8();
    d->txt = txt;
    if (wanted == d->wanted && port == d->port) {
        d->updateTxt();
        return;
    }
    if (d->group)
        avahi_entry_group_reset(d->group);
    d->published = false;
    d->wanted = d->name = wanted;
    d->port = port;
    if (!d->client && !d->triedClient) {
        // Tried once: without a daemon the client fails at once, and publishing is off.
        d->triedClient = true;
        int error = 0;
        d->client
            = avahi_client_new(d->poll.poll(), AvahiClientFlags(0), &Private::clientChanged, d.get(), &error);
        return; // a running daemon calls back with AVAHI_CLIENT_S_RUNNING
    }
    d->createService();
}

void DnsSdPublisher::withdraw()
{
    d->wanted.clear();
    if (d->group)
        avahi_entry_group_reset(d->group);
    d->published = false;
}

bool DnsSdPublisher::isPublished() const
{
    return d->published;
}

#else

struct DnsSdPublisher::Private
{
};

DnsSdPublisher::DnsSdPublisher(QObject *parent)
    : QObject(parent)
{ }

DnsSdPublisher::~DnsSdPublisher() = default;

bool DnsSdPublisher::isBuiltIn()
{
    return false;
}

void DnsSdPublisher::publish(const QString &, quint16, const QList<QByteArray> &) { }

void DnsSdPublisher::withdraw() { }

bool DnsSdPublisher::isPublished() const
{
    return false;
}

#endif
