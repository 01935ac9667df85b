#pragma once

#include <QColor>
#include <QString>

// What the player's window knows about its own part in the game.
struct ClientState
{
    QString playername; // from the command line ("+" made "-"); "You" in solo play
    QString hostaddress; // the address argument; "127.0.0.1" in solo play (a host joins itself there)
    QString loginname; // the name sent at login, copied from playername when a role is taken
    bool ishost = false; // this window started the in-process host
    bool isconnected = false; // the host has asked this client for its login information
    int myslot = 0; // assigned by the host; above maxplayers for a watcher
    int activeslot = 0; // the slot that may enter words now; 0 means nobody
    int secondsleft = 0; // of the round on the round clock
    int pixelspersecond = 3; // width of one second of the clock's bar: 224 / round length
    bool oddboard = false; // the board has an odd side (5, 7 or 9)
    int maxplayers = 10; // roster slots; higher slot numbers belong to watchers
    QColor systemcolor = QColor(128, 0, 0); // system lines in the chat view
    bool justWatching = false; // what the host last said about this player
    bool gameRunning = false; // a game started (or was joined late) and has no winner yet
    bool autoStartNextGame = false; // never stored
    int defaultwidth = 775;
    int defaultheight = 590;
    QString settingsSection = QStringLiteral("Wendlewick");

    // The running game's settings, as the four labels under the roster show them.
    QString playToScoreCaption; // `label_playtoscore`
    int roundLength = 60; // seconds; the tag of `label_timeperturn`
    QString boardSizeCaption; // `label_boardsize`
    int minLetters = 0; // the tag of `label_minletters`; 0 before any game
};
