#pragma once

#include "botbrain.h"
#include "botstrength.h"
#include "inputbuffer.h"
#include "wire.h"

#include <QHostAddress>
#include <QObject>
#include <QRandomGenerator>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

class FieldReader;
class LazyWordTrie;

// A computer player: an ordinary client of the game host. It connects, logs in with
// the version string and its name, takes the slot the host gives it, follows the
// game through the host's messages and claims words with CMD_playerdone exactly as a
// person's window does. When a game is won it says "Good Game Everyone!" as a quick
// phrase; it never sends anything else.
//
// Everything the host sends is checked before use: the input is framed by a bounded
// InputBuffer (the connection is dropped when a bound is passed), numbers are read
// strictly and every slot and cell index is range-checked.
//
// Time: one game second lasts secondLength() milliseconds (1000 in play; tests
// shorten it together with the host's). Randomness comes from the seed.
class BotPlayer : public QObject
{
    Q_OBJECT

public:
    // The words of the round's board come from `trie`, which must outlive this player.
    BotPlayer(const QString &name, BotStrength::Level level, LazyWordTrie &trie, quint32 seed,
        QObject *parent = nullptr);
    ~BotPlayer() override;

    void setSecondLength(int milliseconds);
    int secondLength() const { return secondMs_; }

    // Connects to the host; closed() follows when the host cannot be reached.
    void connectToHost(const QHostAddress &address, quint16 port);
    // Leaves the game: closes the connection (closed() follows).
    void leave();

    QString name() const { return name_; }
    BotStrength::Level level() const { return level_; }
    // The slot the host gave this player, 0 before CMD_sendlogininfo.
    int slot() const { return myslot_; }
    // The host has admitted it (its own CMD_newplayerinfo arrived).
    bool isAdmitted() const { return admitted_; }
    bool isConnected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    // A round is running and this player may claim words in it.
    bool isPlaying() const { return roundRunning_ && !watching_; }
    int claimsSent() const { return claimsSent_; }
    // The words the host accepted from this player in the current round.
    const QStringList &wordsFound() const { return wordsFound_; }
    const BotBrain &brain() const { return brain_; }

    // The message of the quick phrase said when a game is won.
    static QByteArray goodGameMessage(int slot);

    // Handles one message from the host, without its terminator (also the entry
    // point for the fuzzer).
    void handleMessage(const QByteArray &message);

Q_SIGNALS:
    // The host has admitted this player into `slot` (its own CMD_newplayerinfo).
    void joined(int slot);
    // The connection is over: refused, full, removed by the host player, or the host
    // went away. Emitted once.
    void closed();
    // A claim went out: the word and its tiles, first letter first.
    void claimed(const QString &word, const QList<Wire::Tile> &tiles);
    void wordAccepted(const QString &word, int points, bool first);
    void wordRejected(const QString &word, int reason);

private:
    void readSocket();
    void socketGone();
    void send(const QByteArray &message);

    void sendlogininfo(FieldReader &fields);
    void newplayerinfo(FieldReader &fields);
    void startthegame(FieldReader &fields);
    void loadboard(FieldReader &fields);
    void loadstats(FieldReader &fields);
    void nextplayer(FieldReader &fields);
    void justwatching(FieldReader &fields);
    void notvalid(FieldReader &fields);
    void goodword(FieldReader &fields);
    void winner();

    void startRound(int seconds);
    void endRound();
    void scheduleClaim();
    void claimNext();

    QString name_;
    BotStrength::Level level_;
    LazyWordTrie &trie_;
    QRandomGenerator random_;
    BotBrain brain_;
    QTcpSocket socket_;
    InputBuffer input_;
    QTimer claimTimer_;
    int secondMs_ = 1000;
    bool closedSent_ = false;

    int myslot_ = 0;
    bool admitted_ = false;
    bool watching_ = false;
    bool roundRunning_ = false;
    bool boardValid_ = false;
    BoardSolver::Board board_ {};
    int roundSeconds_ = 60;
    int minLetters_ = 4;
    // Game time of the round when the last claim went out.
    qint64 roundClockMs_ = 0;
    int claimsSent_ = 0;
    QStringList wordsFound_;
};
