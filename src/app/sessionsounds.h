#pragma once

#include <QObject>

class GameSession;
class GameSounds;

// The game sounds of a session's events, played through the sound switches: "entered"
// when players arrive, the turn sound when this player's round starts, "tick" in a
// round's last seconds, "roundover", "gameover", and the chatter sounds other players
// send (shown as a system line while "Play Chatter Sounds" is off).
class SessionSounds : public QObject
{
    Q_OBJECT

public:
    // Seconds left at which the clock ticks aloud, besides every second from 10 down.
    static constexpr int firstTick = 20;
    static constexpr int secondTick = 15;
    static constexpr int lastTicks = 10;

    SessionSounds(GameSession &session, GameSounds &sounds, QObject *parent = nullptr);

private:
    void chatterSound(const QString &data);

    GameSession &session_;
    GameSounds &sounds_;
};
