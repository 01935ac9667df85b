#include "addressfinder.h"

#include "gamelink.h"
#include "roomclient.h"
#include "stunprobe.h"

#include <QHostAddress>

AddressFinder::AddressFinder(RoomClient &client, QObject *parent)
    : QObject(parent)
    , client_(&client)
    , stun_(new StunProbe(this))
{
    client.capture(QStringLiteral("address"), ipCheckNs);
    client.capture(QStringLiteral("services"), servicesNs);
    connect(stun_, &StunProbe::found, this, [this](const QHostAddress &address) {
        take(address.toString(), QStringLiteral("as the STUN server %1 sees it").arg(stunServer_),
            QStringLiteral("the STUN server %1 sees no address players could reach").arg(stunServer_));
    });
    connect(stun_, &StunProbe::failed, this, &AddressFinder::fail);
}

AddressFinder::~AddressFinder() = default;

void AddressFinder::find()
{
    if (!client_)
        return;
    finding_ = true;
    stun_->cancel();
    const QPointer<AddressFinder> self(this);
    // The check answers only a question put to the account, not to the server.
    client_->query({QStringLiteral("address"), ipCheckNs, {}, {}, {}},
        [self](const std::optional<XmlPayload> &reply, const QString &) {
            if (!self || !self->finding_)
                return;
            const XmlPayload *ip = reply ? reply->child(QStringLiteral("ip")) : nullptr;
            if (!ip) {
                self->askServices();
                return;
            }
            self->take(ip->text.trimmed(), QStringLiteral("as the community server sees it"),
                QStringLiteral("the community server sees no address players could reach"));
        });
}

void AddressFinder::askServices()
{
    if (!client_)
        return;
    const QPointer<AddressFinder> self(this);
    client_->query(
        {QStringLiteral("services"), servicesNs, {{QStringLiteral("type"), QStringLiteral("stun")}}, {}, {}},
        [self](const std::optional<XmlPayload> &reply, const QString &) {
            if (!self || !self->finding_)
                return;
            if (reply) {
                for (const XmlPayload &service : reply->children) {
                    bool ok = false;
                    const uint port = service.attribute(QStringLiteral("port")).toUInt(&ok);
                    const QString host = service.attribute(QStringLiteral("host"));
                    const QString transport = service.attribute(QStringLiteral("transport"));
                    if (service.name != QLatin1String("service")
                        || service.attribute(QStringLiteral("type")) != QLatin1String("stun") || !ok
                        || port == 0 || port > 65535
                        || (!transport.isEmpty() && transport != QLatin1String("udp"))
                        || !GameLink::addressProblem(host, quint16(port), true).isEmpty())
                        continue;
                    self->stunServer_ = host;
                    self->stun_->start(host, quint16(port));
                    return;
                }
            }
            self->fail(QStringLiteral("the community server tells no address for this computer"));
        },
        true);
}

void AddressFinder::take(const QString &address, const QString &how, const QString &otherwise)
{
    const QHostAddress server = client_ ? client_->serverAddress() : QHostAddress();
    const bool loopbackServer = server.isLoopback();
    if (!GameLink::addressProblem(address, 1, loopbackServer).isEmpty() || QHostAddress(address).isNull()) {
        fail(otherwise);
        return;
    }
    finding_ = false;
    Q_EMIT found(QHostAddress(address).toString(), how);
}

void AddressFinder::fail(const QString &reason)
{
    finding_ = false;
    Q_EMIT failed(reason);
}
