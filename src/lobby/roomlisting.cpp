#include "roomlisting.h"

#include "gamelink.h"
#include "gamelistmodel.h"
#include "gamepayload.h"
#include "peoplemodel.h"
#include "roomsignalchannel.h"

RoomListing::RoomListing(QObject *parent)
    : QObject(parent)
    , games_(new GameListModel(true, this))
    , people_(new PeopleModel(this))
{ }

void RoomListing::setContext(const QString &ownNick, const QString &domain, bool loopbackServer)
{
    ownNick_ = ownNick;
    domain_ = domain;
    loopbackServer_ = loopbackServer;
}

void RoomListing::update(const RoomClient::Occupant &occupant)
{
    const auto element = std::find_if(occupant.payloads.begin(), occupant.payloads.end(),
        [](const XmlPayload &p) { return p.name == GamePayload::elementName && p.ns == GamePayload::ns; });
    std::optional<GamePayload::Announced> announced;
    if (element != occupant.payloads.end())
        announced = GamePayload::decode(*element);
    if (announced
        && !GameLink::addressProblem(announced->address, announced->port, loopbackServer_).isEmpty())
        announced.reset();
    const QString &key = occupant.nick;
    if (announced && (games_->rowOfKey(key) >= 0 || games_->rowCount() < maxGames))
        games_->put(key,
            {announced->game, announced->address, announced->port,
                QStringLiteral("%1 on %2").arg(occupant.nick, domain_),
                RoomSignalChannel::accepts(occupant.payloads)});
    else
        games_->remove(key);
    people_->put(occupant.nick, occupant.nick == ownNick_, announced.has_value());
}

void RoomListing::remove(const QString &nick)
{
    games_->remove(nick);
    people_->remove(nick);
}
