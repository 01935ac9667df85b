#pragma once

#include "inputbuffer.h"
#include "wire.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

#include <array>
#include <optional>

class QTimer;
class TSock;

// The host's record of one player slot (1 to 10). A slot is in use from the moment
// a connection is accepted into it until that connection is seen closed, or, for a
// player who can come back and whose connection dropped during a game, until the
// grace period is over (the seat is then "away": in use, without a connection). Its
// scores and round words outlive the connection until the next game starts.
struct TPlayerSlot
{
    // As sent at login, wire bytes, every "+" made "-"; empty when the player left.
    QByteArray name;
    bool inUse = false;
    TSock *socket = nullptr;
    qint32 gameScore = 0;
    bool watching = false;
    // The winner's name when the winner's own name is empty (the player left).
    QByteArray spareName;
    // Tiles of the claim being judged, 1 to 12.
    std::array<Wire::Tile, Wire::maxTiles> claimPath;
    qint32 roundScore = 0;
    // The words accepted from this slot in the round, with their points.
    QList<Wire::FoundWord> roundWords;

    // The connection's receive side: its own queue, in arrival order.
    InputBuffer input;
    // Set by CMD_logininfo; until then only CMD_logininfo is handled.
    bool loggedIn = false;
    // Closes a connection that does not log in in time.
    QTimer *loginTimer = nullptr;

    // Coming back. The player offered CMD_canrejoin with its login.
    bool canRejoin = false;
    // The token that takes this seat back, given at login and at each return.
    std::optional<Wire::RejoinToken> token;
    // The token a return presented, still good while that return's login has not come
    // and the seat is held again (its welcome may never have arrived).
    std::optional<Wire::RejoinToken> previousToken;
    // The connection dropped: the seat is held without one until graceTimer ends.
    bool away = false;
    // The others were told the player is away; they are told when it is back.
    bool awayAnnounced = false;
    // A return was welcomed and its CMD_logininfo has not come yet.
    bool returning = false;
    // CMD_leaving: the player goes on purpose, and its close frees the seat at once.
    bool leaving = false;
    QTimer *graceTimer = nullptr;
    // The connection sent CMD_stillhere: it is answered in kind, and its silence during
    // a game counts as a drop. `heard` runs from the connection's last bytes.
    bool beats = false;
    QElapsedTimer heard;
};
