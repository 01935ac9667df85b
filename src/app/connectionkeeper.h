#pragma once

#include "gameending.h"
#include "reconnector.h"

#include <QObject>
#include <QString>

class ClientDispatch;
class GameSession;
class HostConnection;

// What becomes of the player's game when its connection to the host closes. A drop
// with a token from a host that keeps seats is retried (Reconnector) until the seat's
// grace period is over, or until the host refuses a drop that came between games; a host that said why it
// ends the connection (the game is full, the player was removed, the game closes), a host that sent more than
// a player takes, or a close between games ends the game as it always did. At the end the lobby that started
// the game hears why over the companion connection, and a seat still kept when the
// player gave up is left in the rejoin record for the lobby's "Rejoin".
//
// It decides; the window shows: comingBack() covers the board while attempts run,
// gameOver() closes the window (after the player read the sentence, when there is one).
class ConnectionKeeper : public QObject
{
    Q_OBJECT

public:
    static inline const QString refusedText
        = QStringLiteral("The game did not keep your place: the host no longer holds it for you.");
    static inline const QString timedOutText = QStringLiteral(
        "The connection to the game could not be made again in time: the game went on without you.");
    static inline const QString notKeptText
        = QStringLiteral("Your place in the game was no longer kept: you join as a new player.");

    // `rejoinFolder` holds the rejoin record (a folder only this user can read).
    ConnectionKeeper(HostConnection &connection, ClientDispatch &dispatch, Reconnector &reconnector,
        GameSession &session, const QString &rejoinFolder, QObject *parent = nullptr);

    // The connection to the host closed ("Socket Closed").
    void connectionClosed();
    // The window is closing: a running return gives up, otherwise the player leaves,
    // and nothing is retried any more. True when it was already closing.
    bool closing();
    bool isClosing() const { return closing_; }

    // A join started by the lobby's "Rejoin" to `host`:`port`: takes the kept seat from
    // the rejoin record and starts coming back to it. False when there is none for that
    // game (the player then joins as a new one, and hears so).
    bool returnToKeptSeat(const QString &host, quint16 port);

    const GameEnding &ending() const { return ending_; }

Q_SIGNALS:
    // Attempts to come back run (true) or are over (false).
    void comingBack(bool active);
    // The game is over for this window; `sentence` says why when the player should read
    // it before the window goes, and is empty otherwise.
    void gameOver(const QString &sentence);

private:
    bool mayComeBack() const;
    void reconnectFinished(Reconnector::Outcome outcome);
    // Keeps the seat for the lobby's "Rejoin"; the seconds it is kept, 0 when it is not.
    int keepForRejoin();
    void endGame(bool lost, int rejoinSeconds = 0, const QString &sentence = QString());

    HostConnection &connection_;
    ClientDispatch &dispatch_;
    Reconnector &reconnector_;
    GameSession &session_;
    QString rejoinFolder_;
    GameEnding ending_;
    bool closing_ = false;
    // The window had a game under way when its connection last dropped.
    bool gameRunningAtDrop_ = false;
};
