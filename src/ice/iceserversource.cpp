#include "iceserversource.h"

#include "roomclient.h"

#include <QDateTime>
#include <QHostInfo>

#include <memory>

namespace {

// After a failed question, ask again when this old.
constexpr qint64 failedKeepMs = 30 * 1000;

QHostAddress pick(const QList<QHostAddress> &addresses)
{
    // IPv4 first, as most home routers give.
    for (const QHostAddress &a : addresses)
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a;
    return addresses.value(0);
}

} // namespace

IceServerSource::IceServerSource(RoomClient *client, QObject *parent)
    : QObject(parent)
    , client_(client)
{
    if (!client)
        return;
    client->capture(ExternalServices::elementName, ExternalServices::ns);
    connect(client, &RoomClient::stateChanged, this, [this](RoomClient::State state) {
        if (state != RoomClient::State::InRoom && state != RoomClient::State::Joining)
            forget();
    });
}

IceServerSource::~IceServerSource() = default;

void IceServerSource::setFixed(const IceServers &servers)
{
    fixed_ = true;
    servers_ = servers;
}

void IceServerSource::forget()
{
    if (fixed_)
        return;
    ++generation_;
    asking_ = false;
    keepMs_ = 0;
    servers_ = {};
    // Whoever waits learns that there are none for now.
    const QList<Ready> waiting = std::exchange(waiting_, {});
    for (const Ready &ready : waiting)
        if (ready)
            ready(servers_);
}

void IceServerSource::get(Ready ready)
{
    if (fixed_ || (age_.isValid() && age_.elapsed() < keepMs_)) {
        if (ready)
            ready(servers_);
        return;
    }
    waiting_.append(std::move(ready));
    if (!asking_)
        ask();
}

void IceServerSource::ask()
{
    if (!client_ || !client_->isInRoom()) {
        finish({}, 0);
        return;
    }
    asking_ = true;
    const int generation = generation_;
    const bool loopback = client_->serverAddress().isLoopback();
    const QPointer<IceServerSource> self(this);
    client_->query(
        ExternalServices::request(),
        [self, generation, loopback](const std::optional<XmlPayload> &reply, const QString &) {
            if (!self || self->generation_ != generation)
                return;
            if (!reply) {
                self->finish({}, failedKeepMs);
                return;
            }
            self->resolved(ExternalServices::read(*reply, loopback));
        },
        true);
}

void IceServerSource::resolved(const QList<ExternalServices::Service> &services)
{
    // Names are looked up together; the servers are known when the last answer came.
    struct Lookup
    {
        QList<ExternalServices::Service> services;
        QList<QHostAddress> addresses;
        int left = 0;
    };
    auto lookup = std::make_shared<Lookup>();
    lookup->services = services;
    lookup->addresses.resize(services.size());
    lookup->left = int(services.size());
    const int generation = generation_;
    const QPointer<IceServerSource> self(this);
    const auto done = [self, generation, lookup] {
        if (!self || self->generation_ != generation || --lookup->left > 0)
            return;
        IceServers servers;
        qint64 keepMs = maxKeepMs;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (qsizetype i = 0; i < lookup->services.size(); ++i) {
            const ExternalServices::Service &s = lookup->services[i];
            const QHostAddress &address = lookup->addresses[i];
            if (address.isNull())
                continue;
            if (s.type == ExternalServices::Service::Stun && !servers.hasStun()) {
                servers.stun = address;
                servers.stunPort = s.port;
            } else if (s.type == ExternalServices::Service::Turn && servers.relays.size() < maxRelays) {
                servers.relays.append({address, s.port, s.username, s.password});
                if (s.expires.isValid())
                    keepMs = std::clamp<qint64>(now.msecsTo(s.expires) / 2, 0, keepMs);
            }
        }
        self->finish(servers, keepMs);
    };
    if (services.isEmpty()) {
        lookup->left = 1;
        done();
        return;
    }
    for (qsizetype i = 0; i < services.size(); ++i) {
        const QHostAddress numeric(services[i].host);
        if (!numeric.isNull()) {
            lookup->addresses[i] = numeric;
            done();
            continue;
        }
        QHostInfo::lookupHost(services[i].host, this, [lookup, i, done](const QHostInfo &info) {
            lookup->addresses[i] = pick(info.addresses());
            done();
        });
    }
}

void IceServerSource::finish(const IceServers &servers, qint64 keepMs)
{
    asking_ = false;
    servers_ = servers;
    keepMs_ = keepMs;
    age_.start();
    const QList<Ready> waiting = std::exchange(waiting_, {});
    for (const Ready &ready : waiting)
        if (ready)
            ready(servers_);
}
