#pragma once

#include <QColor>
#include <QString>

// What the player's window knows about its own part in the game.
struct ClientState
{
    QString playername; // from the command line; "You" in solo play
    QString hostaddress; // "127.0.0.1" in solo play and when hosting
    QString loginname; // the name sent at login, copied from playername when a role is taken
    bool ishost = false; // this window started the in-process host
    bool isconnected = false; // the host has asked this client for its login information
    int myslot = 0; // assigned by the host; above maxplayers for a watcher
    int activeslot = 0; // the slot that may enter words now; 0 means nobody
    bool oddboard = false; // the board has an odd side (5, 7 or 9)
    int maxplayers = 10; // roster slots; higher slot numbers belong to watchers
    QColor systemcolor = QColor(128, 0, 0); // system lines in the chat view
    bool phraseready = true; // a quick phrase may be sent now
    bool justWatching = false; // what the host last said about this player
    bool scrollChatOff = false;
    bool autoStartNextGame = false; // never stored
    int defaultwidth = 775;
    int defaultheight = 590;
    QString settingsSection = QStringLiteral("Wendlewick");
};
