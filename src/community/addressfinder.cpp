#include "addressfinder.h"

#include "externalservices.h"
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
    client.capture(ExternalServices::elementName, ExternalServices::ns);
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
        ExternalServices::request(ExternalServices::Service::Stun),
        [self](const std::optional<XmlPayload> &reply, const QString &) {
            if (!self || !self->finding_)
                return;
            const QList<ExternalServices::Service> services
                = reply ? ExternalServices::read(*reply, true) : QList<ExternalServices::Service>();
            for (const ExternalServices::Service &service : services) {
                if (service.type != ExternalServices::Service::Stun)
                    continue;
                self->stunServer_ = service.host;
                self->stun_->start(service.host, service.port);
                return;
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
