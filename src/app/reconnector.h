#pragma once

#include "wire.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <optional>

class ClientDispatch;
class GameSession;
class HostConnection;

// Brings the player back to its seat after the connection to the host dropped. It
// connects again and again, at once and then after growing waits, until the seat's
// grace period is over; on every new connection it first shows the seat's token
// ("CMD_rejoin"); once the host has welcomed it back, the session is refilled from the
// host's messages, and the return is complete with its last one. A refused token, the
// grace period running out or the player giving up ends the attempts.
//
// It keeps the token the host last gave (at login and at each return), and never shows
// or logs it.
class Reconnector : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Returned, Refused, TimedOut, GaveUp };
    Q_ENUM(Outcome)
    enum class Stage { Idle, Waiting, Connecting, Knocking, Restoring };
    Q_ENUM(Stage)

    // Waits between the starts of attempts: the first, doubling up to the longest; an
    // attempt that failed at once waits that long, one that already took longer goes on
    // at once. The connect of an attempt may take the current wait, but at least
    // connectMs: a connection that does not come at once (the network still away drops
    // it unanswered) is tried again soon. Once connected, the token, the host's answer
    // and the refill may take attemptMs.
    struct Timing
    {
        int firstWaitMs = 250;
        int longestWaitMs = 2000;
        int attemptMs = 5000;
        int connectMs = 1000;
    };

    Reconnector(HostConnection &connection, ClientDispatch &dispatch, GameSession &session,
        QObject *parent = nullptr);

    void setTiming(const Timing &timing) { timing_ = timing; }
    // The length of one of the host's seconds, in which the grace period counts.
    void setSecondLength(int milliseconds) { secondMs_ = qMax(1, milliseconds); }

    // The seat and token the host last gave; nothing before a host that can take
    // players back has given one.
    const std::optional<Wire::FromHost::RejoinTicket> &ticket() const { return ticket_; }
    void setTicket(const Wire::FromHost::RejoinTicket &ticket) { ticket_ = ticket; }

    // Starts coming back: the connection dropped now, and the seat is held for the
    // ticket's grace period, or until `deadline` when one is given. False, doing nothing,
    // without a ticket.
    bool start(std::optional<QDeadlineTimer> deadline = std::nullopt);
    // The player stops trying.
    void giveUp();
    // Stops without an outcome: the host said why the connection ended.
    void cancel();

    bool isRunning() const { return stage_ != Stage::Idle; }
    Stage stage() const { return stage_; }
    int attempts() const { return attempts_; }
    // Seconds until the grace period is over, as far as this side can tell.
    int secondsLeft() const;
    QDeadlineTimer deadline() const { return deadline_; }

    // The connection of an attempt closed (HostConnection::closed while running).
    void connectionClosed();

Q_SIGNALS:
    // A new attempt connects (1 for the first).
    void attempting(int attempt);
    // The next attempt comes in `waitMs`.
    void waiting(int waitMs);
    void finished(Reconnector::Outcome outcome);

private:
    void attempt();
    void attemptFailed();
    // The wait after the attempts so far, before the deadline is counted.
    qint64 step() const;
    void finish(Outcome outcome);

    HostConnection &connection_;
    ClientDispatch &dispatch_;
    GameSession &session_;
    Timing timing_;
    int secondMs_ = 1000;
    std::optional<Wire::FromHost::RejoinTicket> ticket_;
    Stage stage_ = Stage::Idle;
    int attempts_ = 0;
    QDeadlineTimer deadline_;
    QElapsedTimer attemptStarted_;
    QTimer next_;
    QTimer attemptTimer_;
};
