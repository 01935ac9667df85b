#pragma once

#include "inputbuffer.h"
#include "wire.h"

#include <QByteArray>
#include <QList>

#include <array>

class QTimer;
class TSock;

// The host's record of one player slot (1 to 10). A slot is in use from the moment
// a connection is accepted into it until that connection is seen closed; its scores
// and round words outlive the connection until the next game starts.
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
    QList<QByteArray> roundWords;

    // The connection's receive side: its own queue, in arrival order.
    InputBuffer input;
    // Set by CMD_logininfo; until then only CMD_logininfo is handled.
    bool loggedIn = false;
    // Closes a connection that does not log in in time.
    QTimer *loginTimer = nullptr;
};
