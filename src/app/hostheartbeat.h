#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class ClientDispatch;
class GameSession;
class HostConnection;

// Tells a network gone without a word from a quiet game. Once the host gave a token,
// the window sends CMD_stillhere every intervalMs while it is online; a host that
// answers in kind (one that sends them every interval) and then sends nothing at all
// for silenceMs while a game runs is taken as lost: the connection is ended as failed,
// and the window comes back as after any drop. A host that never sent one is never
// judged by its silence.
class HostHeartbeat : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        int intervalMs = 3000;
        int silenceMs = 10000;
    };

    HostHeartbeat(HostConnection &connection, const ClientDispatch &dispatch, const GameSession &session,
        QObject *parent = nullptr);

    void setTiming(const Timing &timing);
    // The host gave this slot a token: the beats start.
    void begin(int slot);
    // The host has shown that it sends beats (on this connection or one before).
    bool hostBeats() const { return hostBeats_; }

private:
    void tick();

    HostConnection &connection_;
    const ClientDispatch &dispatch_;
    const GameSession &session_;
    Timing timing_;
    QTimer beat_;
    QElapsedTimer heard_;
    int slot_ = 0;
    bool hostBeats_ = false;
};
