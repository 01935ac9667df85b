#pragma once

#include "roomclient.h"

#include <QObject>

class GameListModel;
class PeopleModel;

// The community room as the lobby lists it: everyone in it (PeopleModel) and the game
// each one announces (GameListModel, keyed by the announcer's name, with whether it
// answers offers to connect through routers) when it decodes
// and its address is one players could reach; loopback addresses only while the
// server itself is on loopback. At most maxGames games are listed.
class RoomListing : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxGames = 500;

    explicit RoomListing(QObject *parent = nullptr);

    GameListModel *games() const { return games_; }
    PeopleModel *people() const { return people_; }

    // The seat's own name, the community's domain (shown with each game) and whether
    // the server is on loopback.
    void setContext(const QString &ownNick, const QString &domain, bool loopbackServer);
    void update(const RoomClient::Occupant &occupant);
    void remove(const QString &nick);

private:
    GameListModel *games_;
    PeopleModel *people_;
    QString ownNick_;
    QString domain_;
    bool loopbackServer_ = false;
};
