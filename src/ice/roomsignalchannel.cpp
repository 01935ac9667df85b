#include "roomsignalchannel.h"

#include "roomclient.h"

RoomSignalChannel::RoomSignalChannel(RoomClient &client, QObject *parent)
    : SignalChannel(parent)
    , client_(&client)
{
    client.capture(IceSignal::elementName, IceSignal::ns);
    connect(&client, &RoomClient::directMessage, this,
        [this](const QString &nick, const QString &, const QList<XmlPayload> &payloads) {
            for (const XmlPayload &payload : payloads) {
                if (payload.name != IceSignal::elementName || payload.ns != IceSignal::ns)
                    continue;
                if (const std::optional<IceSignal> signal = IceSignal::decode(payload);
                    signal && signal->kind != IceSignal::Kind::Accepts)
                    Q_EMIT received(nick, *signal);
                return;
            }
        });
    // Leaving the room (or losing it) lets everyone in it go.
    connect(&client, &RoomClient::occupantLeft, this, &SignalChannel::peerLeft);
}

bool RoomSignalChannel::send(const QString &peer, const IceSignal &signal)
{
    // No body: other XMPP clients in the room have nothing to show.
    return client_ && client_->sendDirect(peer, QString(), {signal.encode()});
}

void RoomSignalChannel::setAccepting(bool accepting)
{
    if (!client_)
        return;
    if (accepting) {
        IceSignal marker;
        marker.kind = IceSignal::Kind::Accepts;
        client_->setPresencePayload(marker.encode());
    } else {
        client_->clearPresencePayload(IceSignal::elementName, IceSignal::ns);
    }
}

bool RoomSignalChannel::accepts(const QList<XmlPayload> &payloads)
{
    return std::any_of(payloads.begin(), payloads.end(), [](const XmlPayload &p) {
        if (p.name != IceSignal::elementName || p.ns != IceSignal::ns)
            return false;
        const std::optional<IceSignal> signal = IceSignal::decode(p);
        return signal && signal->kind == IceSignal::Kind::Accepts;
    });
}
