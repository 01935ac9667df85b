#include "roomannouncer.h"

#include "gamepayload.h"
#include "roomclient.h"

#include <QRandomGenerator>

RoomAnnouncer::RoomAnnouncer(RoomClient &client, Describe describe, QObject *parent)
    : QObject(parent)
    , client_(&client)
    , describe_(std::move(describe))
    , instance_(QRandomGenerator::system()->generate64())
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RoomAnnouncer::publish);
}

RoomAnnouncer::~RoomAnnouncer()
{
    if (client_)
        client_->clearPresencePayload(GamePayload::elementName, GamePayload::ns);
}

void RoomAnnouncer::setAddress(const QString &address, quint16 port)
{
    if (address == address_ && port == port_)
        return;
    address_ = address;
    port_ = port;
    if (address_.isEmpty()) {
        timer_.stop();
        if (client_)
            client_->clearPresencePayload(GamePayload::elementName, GamePayload::ns);
        return;
    }
    publish();
}

void RoomAnnouncer::gameChanged()
{
    if (address_.isEmpty() || timer_.isActive())
        return;
    const qint64 gapLeft = sincePublished_.isValid() ? minGapMs - sincePublished_.elapsed() : 0;
    timer_.start(int(std::max<qint64>(settleMs, gapLeft)));
}

void RoomAnnouncer::publish()
{
    timer_.stop();
    if (address_.isEmpty() || !client_)
        return;
    if (sincePublished_.isValid() && sincePublished_.elapsed() < minGapMs) {
        timer_.start(int(minGapMs - sincePublished_.elapsed()));
        return;
    }
    DiscoveryWire::Game game = describe_();
    game.instance = instance_;
    client_->setPresencePayload(GamePayload::encode(game, address_, port_));
    sincePublished_.start();
    ++published_;
}
