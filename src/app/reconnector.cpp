#include "reconnector.h"

#include "clientdispatch.h"
#include "gamesession.h"
#include "hostconnection.h"

#include <algorithm>

Reconnector::Reconnector(
    HostConnection &connection, ClientDispatch &dispatch, GameSession &session, QObject *parent)
    : QObject(parent)
    , connection_(connection)
    , dispatch_(dispatch)
    , session_(session)
{
    setObjectName(QStringLiteral("reconnector"));
    next_.setSingleShot(true);
    connect(&next_, &QTimer::timeout, this, &Reconnector::attempt);
    attemptTimer_.setSingleShot(true);
    connect(&attemptTimer_, &QTimer::timeout, this, &Reconnector::attemptFailed);

    connect(&dispatch_, &ClientDispatch::ticketReceived, this,
        [this](const Wire::FromHost::RejoinTicket &ticket) { ticket_ = ticket; });
    connect(&connection_, &HostConnection::opened, this, [this] {
        if (stage_ != Stage::Connecting)
            return;
        stage_ = Stage::Knocking;
        attemptTimer_.start(int(std::clamp<qint64>(deadline_.remainingTime(), 1, timing_.attemptMs)));
        dispatch_.awaitReturn();
        connection_.send(Wire::ToHost::rejoin(ticket_->token));
    });
    connect(&connection_, &HostConnection::openFailed, this, [this] {
        if (stage_ == Stage::Connecting)
            attemptFailed();
    });
    connect(&dispatch_, &ClientDispatch::returnAccepted, this,
        [this](const Wire::FromHost::RejoinTicket &ticket) {
            if (stage_ != Stage::Knocking)
                return;
            ticket_ = ticket;
            stage_ = Stage::Restoring;
            // The host holds the seat for this connection now, and for a whole grace period
            // again should it drop: the refill has its own time, whatever was left.
            deadline_ = QDeadlineTimer(qint64(ticket.graceSeconds) * secondMs_);
            attemptTimer_.start(timing_.attemptMs);
        });
    connect(&dispatch_, &ClientDispatch::returnRefused, this, [this] {
        if (stage_ == Stage::Knocking)
            finish(Outcome::Refused);
    });
    connect(&session_, &GameSession::returned, this, [this] {
        if (stage_ == Stage::Restoring)
            finish(Outcome::Returned);
    });
}

bool Reconnector::start(std::optional<QDeadlineTimer> deadline)
{
    if (!ticket_ || isRunning())
        return false;
    deadline_ = deadline ? *deadline : QDeadlineTimer(qint64(ticket_->graceSeconds) * secondMs_);
    attempts_ = 0;
    dispatch_.setOnline(false);
    session_.connectionLost();
    stage_ = Stage::Waiting;
    // A blip is often over at once: the first attempt does not wait.
    next_.start(0);
    return true;
}

void Reconnector::giveUp()
{
    if (isRunning())
        finish(Outcome::GaveUp);
}

void Reconnector::cancel()
{
    next_.stop();
    attemptTimer_.stop();
    stage_ = Stage::Idle;
    dispatch_.awaitReturn(false);
}

int Reconnector::secondsLeft() const
{
    if (!isRunning())
        return 0;
    const qint64 ms = deadline_.remainingTime();
    return ms < 0 ? 0 : int((ms + secondMs_ - 1) / secondMs_);
}

void Reconnector::connectionClosed()
{
    if (stage_ == Stage::Connecting || stage_ == Stage::Knocking || stage_ == Stage::Restoring)
        attemptFailed();
}

void Reconnector::attempt()
{
    if (stage_ != Stage::Waiting)
        return;
    if (deadline_.hasExpired()) {
        finish(Outcome::TimedOut);
        return;
    }
    stage_ = Stage::Connecting;
    ++attempts_;
    Q_EMIT attempting(attempts_);
    attemptStarted_.start();
    const qint64 connectMs = std::max<qint64>(timing_.connectMs, step());
    attemptTimer_.start(int(std::clamp<qint64>(deadline_.remainingTime(), 1, connectMs)));
    connection_.reopen();
}

void Reconnector::attemptFailed()
{
    if (!isRunning() || stage_ == Stage::Waiting)
        return;
    attemptTimer_.stop();
    connection_.abort();
    // An answer that never came: the next connection starts from nothing.
    if (dispatch_.isAwaitingReturn())
        dispatch_.awaitReturn(false);
    if (deadline_.hasExpired()) {
        finish(Outcome::TimedOut);
        return;
    }
    stage_ = Stage::Waiting;
    // Counted from the attempt's start: a connect left unanswered has waited already.
    const qint64 wait = std::clamp<qint64>(
        step() - attemptStarted_.elapsed(), 0, std::max<qint64>(deadline_.remainingTime(), 0));
    Q_EMIT waiting(int(wait));
    next_.start(int(wait));
}

qint64 Reconnector::step() const
{
    qint64 wait = timing_.firstWaitMs;
    for (int i = 1; i < attempts_ && wait < timing_.longestWaitMs; ++i)
        wait *= 2;
    return std::min<qint64>(wait, timing_.longestWaitMs);
}

void Reconnector::finish(Outcome outcome)
{
    next_.stop();
    attemptTimer_.stop();
    stage_ = Stage::Idle;
    if (outcome == Outcome::Returned) {
        dispatch_.setOnline(true);
    } else {
        dispatch_.awaitReturn(false);
        connection_.abort();
    }
    Q_EMIT finished(outcome);
}
