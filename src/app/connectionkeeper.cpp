#include "connectionkeeper.h"

#include "clientdispatch.h"
#include "companionwire.h"
#include "gamesession.h"
#include "hostconnection.h"
#include "rejoinrecord.h"

#include <QDateTime>

ConnectionKeeper::ConnectionKeeper(HostConnection &connection, ClientDispatch &dispatch,
    Reconnector &reconnector, GameSession &session, const QString &rejoinFolder, QObject *parent)
    : QObject(parent)
    , connection_(connection)
    , dispatch_(dispatch)
    , reconnector_(reconnector)
    , session_(session)
    , rejoinFolder_(rejoinFolder)
{
    connect(&session_, &GameSession::gameFull, this, [this] { ending_.gameFull(); });
    connect(&session_, &GameSession::removed, this, [this] { ending_.removed(); });
    connect(&session_, &GameSession::hostClosing, this, [this] { ending_.hostClosed(); });
    connect(&reconnector_, &Reconnector::finished, this, &ConnectionKeeper::reconnectFinished);
}

void ConnectionKeeper::connectionClosed()
{
    if (reconnector_.isRunning() && !ending_.isFinal()) {
        reconnector_.connectionClosed();
        return;
    }
    // Removed, or the host ended, while the window was coming back: nothing to retry.
    reconnector_.cancel();
    gameRunningAtDrop_ = session_.state().gameRunning;
    if (mayComeBack() && reconnector_.start()) {
        Q_EMIT comingBack(true);
        return;
    }
    endGame(connection_.failed());
}

bool ConnectionKeeper::closing()
{
    if (closing_)
        return true;
    closing_ = true;
    // Closing while the window tries to come back gives up; otherwise the player
    // leaves, and the host gives the seat up at once.
    if (reconnector_.isRunning())
        reconnector_.giveUp();
    else
        dispatch_.leave();
    return false;
}

bool ConnectionKeeper::mayComeBack() const
{
    // The host said why it ends the connection, or sent more than a player takes: then
    // the connection is over, as it always was. Without a game on this side the host may
    // still hold the seat (its game started, or the token came, just before the drop):
    // its answer tells.
    return !closing_ && reconnector_.ticket() && !ending_.isFinal() && !connection_.overflowed();
}

void ConnectionKeeper::reconnectFinished(Reconnector::Outcome outcome)
{
    switch (outcome) {
    case Reconnector::Outcome::Returned:
        Q_EMIT comingBack(false);
        return;
    case Reconnector::Outcome::GaveUp:
        endGame(true, keepForRejoin());
        return;
    case Reconnector::Outcome::Refused:
        endGame(true, 0, gameRunningAtDrop_ ? refusedText : QString());
        return;
    case Reconnector::Outcome::TimedOut:
        endGame(true, 0, gameRunningAtDrop_ ? timedOutText : QString());
        return;
    }
}

int ConnectionKeeper::keepForRejoin()
{
    // The seat is still kept a while: the lobby may offer to rejoin it, with the token
    // left where only this user can read it. The host player's window hosts the game
    // itself, which ends with it.
    const qint64 leftMs = reconnector_.deadline().remainingTime();
    if (leftMs <= 0 || session_.state().ishost || !reconnector_.ticket())
        return 0;
    RejoinRecord record;
    record.host = connection_.sock()->HostName();
    record.port = connection_.port();
    record.slot = reconnector_.ticket()->slot;
    record.token = reconnector_.ticket()->token;
    record.expires = QDateTime::currentDateTime().addMSecs(leftMs);
    if (!record.save(rejoinFolder_))
        return 0;
    return int(qMin<qint64>((leftMs + 999) / 1000, CompanionWire::maxRejoinSeconds));
}

void ConnectionKeeper::endGame(bool lost, int rejoinSeconds, const QString &sentence)
{
    Q_EMIT comingBack(false);
    // The lobby that started the game tells the player why it ended.
    connection_.tellCompanion(CompanionWire::encode({ending_.reason(lost), rejoinSeconds}));
    Q_EMIT gameOver(closing_ ? QString() : sentence);
}

bool ConnectionKeeper::returnToKeptSeat(const QString &host, quint16 port)
{
    const QDateTime now = QDateTime::currentDateTime();
    const std::optional<RejoinRecord> record = RejoinRecord::take(rejoinFolder_, now);
    if (!record || record->host != host || record->port != port) {
        session_.addSystemLine(notKeptText);
        return false;
    }
    reconnector_.setTicket({record->slot, record->token, 1});
    gameRunningAtDrop_ = true;
    if (!reconnector_.start(QDeadlineTimer(now.msecsTo(record->expires))))
        return false;
    Q_EMIT comingBack(true);
    return true;
}
