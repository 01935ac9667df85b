#pragma once

#include <QByteArray>

// The round and game flow as the client dispatch hands it on: one handler per
// command of the game's course, each given the rest of the message after its
// command word, and the late joiner's entry into a running round.
class GameFlowHandlers
{
public:
    virtual ~GameFlowHandlers() = default;

    virtual void startthegame(const QByteArray &rest) = 0; // "CMD_startgame"
    virtual void getnextplayer(const QByteArray &rest) = 0; // "CMD_nextplayer"
    virtual void winner(const QByteArray &rest) = 0; // "CMD_winner"
    virtual void loadboard(const QByteArray &rest) = 0; // "CMD_loadboard"
    virtual void goodword(const QByteArray &rest) = 0; // "CMD_goodword"
    virtual void notvalid(const QByteArray &rest) = 0; // "CMD_notvalid"
    virtual void timeup(const QByteArray &rest) = 0; // "CMD_timeup"

    // "CMD_loadstats" let this player into the round under way: `activeslot`,
    // `secondsleft` and the game's labels are set and the turn sound has played.
    // Word entry and the round clock start here.
    virtual void joinRunningRound() = 0;
};
