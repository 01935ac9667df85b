#pragma once

#include "boarddealer.h"
#include "tplayerslot.h"
#include "tsock.h"
#include "wire.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <array>
#include <deque>
#include <functional>
#include <list>
#include <set>

class HostEnvironment;

// The game host. It listens for players, gives each connection a slot (1 to 10,
// lowest free first; slot 1 is the host player's own window, which connects
// first), runs games of timed rounds on boards it deals, judges the words players
// claim, and tells every player what happens. It is never shown and needs no window:
// the three things it reads from the host player's window come through
// HostEnvironment.
//
// Messages are handled in the order the host received them, across all connections,
// never inside the read notification that brought them: as soon as the event loop
// comes back when the host was idle, else at the next dispatch tick. A tick handles
// every message waiting, up to a time budget, so a burst never stalls the event loop;
// the per-connection input bounds close a peer that floods. A message is always taken
// as coming from the slot of the connection it arrived on; a sender field naming
// another slot makes it ignored.
//
// Coming back: a player that offers CMD_canrejoin with its login gets a random token
// (CMD_rejointoken). When its connection drops while a game runs, without CMD_leaving
// and without being removed, its seat is held for the grace period: name, scores,
// words of the round and watching stay, the seat counts as taken, and the others are
// told the player is away (players that cannot come back themselves are told it left,
// as older hosts tell them). A new connection that opens with CMD_rejoin and the token
// of a held seat takes it back (CMD_welcomeback with the next token), logs in again,
// and is sent the seats, the board, the game under way and its words of the round. A
// token that fits no seat gets CMD_rejoinrefused, the same bytes and the same work
// whether or not any seat is held. Tokens are never logged or emitted.
//
// Time: the host's second (1000 ms) and the dispatch tick (10 ms) can be shortened
// so that tests run whole games quickly; every time below is in host seconds.
class TServer : public QObject
{
    Q_OBJECT

public:
    // Seconds a connection has to answer CMD_sendlogininfo before it is closed.
    static constexpr int loginTimeoutSeconds = 30;
    // Bytes that may wait unsent for a peer that does not read before it is closed.
    static constexpr qint64 maxUnsentBytes = 1024 * 1024;
    // Seconds between a win and the automatic start of the next game.
    static constexpr int restartSeconds = 60;
    // The longest message a player's window takes (its InputBuffer's bound, terminator
    // not counted): a chat, action or sound relay, or a game start, that would be longer
    // is dropped, so one peer's oversized line can never make every other window drop
    // its connection.
    static constexpr qsizetype maxRelayBytes = InputBuffer::Limits {}.maxPartialBytes;
    // Names are cut to this many bytes at login, which keeps every roster message (up
    // to ten names) and every relay carrying a name far below that bound.
    static constexpr qsizetype maxNameBytes = 255;
    // Time a dispatch tick may spend on messages before the rest waits for the next tick.
    static constexpr qint64 tickBudgetNs = 4'000'000;
    // How queued messages are taken. InTurn is the dispatch of 1.0.7 hosts (one message
    // per tick, from the connections in turn), kept so benchmarks can compare the two.
    enum class DispatchOrder { Arrival, InTurn };
    // Phases of the countdown (the `Tag` of `timer1`, the phase field of CMD_loadstats).
    enum Phase { NoGame = 0, RoundRunning = 1, Pause = 2, RestartWait = 3 };
    // Seconds a dropped player's seat is held, unless set otherwise.
    static constexpr int defaultGraceSeconds = 90;
    static constexpr int maxGraceSeconds = Wire::FromHost::maxGraceSeconds;
    // A connection that arrives while every seat is taken gets CMD_full at once, and
    // then this many milliseconds (of real time: a round trip's) to show a token before
    // it is closed; at most maxKnocks such connections wait at a time.
    static constexpr int knockMs = 2000;
    static constexpr int maxKnocks = 4;
    using TokenSource = std::function<Wire::RejoinToken()>;
    // CMD_stillhere toward connections that sent one, every intervalMs of real time;
    // such a connection silent for silenceMs while a game runs is taken as dropped (a
    // network gone without a word: nothing else tells).
    struct Heartbeat
    {
        int intervalMs = 3000;
        int silenceMs = 10000;
    };

    TServer(HostEnvironment &environment, UniformDraw draw, QObject *parent = nullptr);
    ~TServer() override;

    void setSecondLength(int milliseconds);
    void setDispatchInterval(int milliseconds);
    void setDispatchOrder(DispatchOrder order) { order_ = order; }
    void setInputLimits(const InputBuffer::Limits &limits);
    // Seconds a dropped player's seat is held (0: never; at most maxGraceSeconds).
    void setGraceSeconds(int seconds);
    int graceSeconds() const { return graceSeconds_; }
    // Where tokens come from: the system's random source unless set (tests, fuzzers).
    void setTokenSource(TokenSource source) { tokens_ = std::move(source); }
    void setHeartbeat(const Heartbeat &heartbeat);
    // The players' connections' keepalive (TSock::setKeepAlive).
    void setKeepAlive(const TcpKeepAlive &keepAlive) { keepAlive_ = keepAlive; }

    // Starts listening on the port (0: any free port, see port()). Throws
    // ESockException "Listen - Error Binding Socket" when the port is taken.
    void listen(quint16 port, const QHostAddress &address = QHostAddress::Any);
    quint16 port() const;

    // State, for the host player's window, the windowless host's log and tests.
    const TPlayerSlot &slot(int n) const { return slots_[size_t(n)]; }
    int highestSlot() const { return highest_; }
    int phase() const { return phase_; }
    int countdown() const { return countdown_; }
    bool gameRunning() const { return gameRunning_; }
    int roundNumber() const { return roundNumber_; }
    const Wire::BoardCells &board() const { return board_; }
    int targetScore() const { return target_; }
    // Connections waiting to show a token while every seat is taken.
    int knocking() const { return int(knocks_.size()); }

    // The game as a lobby sees it: slot 1's name (empty until it logs in), the
    // logged-in players who play and who watch, whether a game runs, and the options
    // of the game running or last played (all 0 before the first game).
    struct Summary
    {
        QByteArray hostName; // wire bytes
        int players = 0;
        int watchers = 0;
        bool running = false;
        int sizeCode = 0;
        int minLetters = 0;
        int target = 0;
        int roundSeconds = 0;
    };
    Summary summary() const;

    // The receive side of a slot's connection: frames the bytes into its queue,
    // closing the connection when it passes the input bounds. Called when its
    // socket reports data; also an entry point for the fuzzer.
    void receiveBytes(int slot, QByteArrayView bytes);

    // Ends every connection and stops listening (the windowless host at exit).
    void shutdown();

public Q_SLOTS:
    // One dispatch tick: handles the waiting messages in arrival order, within the
    // tick's budget.
    void socktimerTimer();
    // One host second of the countdown.
    void timer1Timer();
    // The grace period of a held seat is over: it is given up (its timer's end).
    void graceOver(int slot);

Q_SIGNALS:
    // For logs: a player logged in, a connection closed (name empty when it never
    // logged in), a connection was refused, a game started, a round ended, a game was won.
    void playerAdmitted(int slot, const QString &name);
    void playerLeft(int slot, const QString &name);
    // A player's connection dropped and its seat is held; the player came back.
    void playerAway(int slot, const QString &name, int graceSeconds);
    void playerReturned(int slot, const QString &name);
    // A returning connection's token fitted no seat.
    void returnRefused();
    void connectionRefused();
    void gameStarted(const QString &starter, int target, int seconds, int sizeCode, int minLetters);
    void roundEnded(int round);
    void winnerDeclared(const QString &name);
    // summary() may have changed.
    void summaryChanged();

private:
    TPlayerSlot &slotRef(int n) { return slots_[size_t(n)]; }
    static bool validSlot(int n) { return n >= 1 && n <= Wire::slotCount; }

    // Sockets.
    void Sock1Accept();
    void Sock1Read(TSock *sock);
    void tempsockDisconnect(TSock *sock);
    void tempsockInfo(TSock *sock, TSocketInfo kind, const QString &text);
    // Closes the slot's connection on the host's own account: the seat is given up,
    // unless `mayHold` (the peer stopped reading) and the seat may be held.
    void disconnectsock(int slot, bool mayHold = false);
    void releaseSlot(int slot);
    void heartbeatTimer();
    // The slot's connection closed without the host closing it.
    void connectionLost(int slot);
    bool mayHold(const TPlayerSlot &p) const;
    void holdSlot(int slot);
    // Gives a connection to a slot, which takes its events from now on.
    void attach(int slot, TSock *sock);
    // Takes the connection away from the slot without a word to anyone, and closes it
    // unless `keep`; the slot keeps its seat (held or in use) and its record.
    TSock *detach(int slot, bool keep = false);
    void sendTo(int slot, const QByteArray &message);
    void sendToAll(const QByteArray &message);
    void relay(const QByteArray &message);
    void scheduleDispatch();
    // Takes the next message to handle into `sender` and `message`; false when none waits.
    bool takeArrival(int &sender, QByteArray &message);
    bool takeInTurn(int &sender, QByteArray &message);

    // Handlers, each given the sender's slot and the rest of the message.
    void dispatch(int sender, const QByteArray &message);
    void receivedlogininfo(int sender, const QByteArray &rest);
    void kickhim(int sender, const QByteArray &rest);
    void chat(int sender, const QByteArray &rest);
    void action(int sender, const QByteArray &rest);
    void justwatch(int sender, const QByteArray &rest);
    void playasound(int sender, const QByteArray &rest);
    void playerdone(int sender, const QByteArray &rest);
    void canrejoin(int sender, const QByteArray &rest);
    void rejoin(int sender, const QByteArray &rest);
    void leaving(int sender, const QByteArray &rest);
    // A returning player's login: the seats, the game and its words, and the others told.
    void readmit(int slot);
    // The seat whose token the text is, 0 for none (see the class comment).
    int seatOfToken(QByteArrayView text, std::optional<Wire::RejoinToken> *presented) const;
    // A returning connection showed `text`: it takes its seat back or is refused.
    void admitReturn(TSock *sock, QByteArrayView text);
    void refuseReturn(TSock *sock);
    Wire::RejoinToken newToken();
    // Tells everyone connected, but `except`, a message chosen by whether they can come
    // back themselves.
    void tellOthers(int except, const QByteArray &toRejoiners, const QByteArray &toOthers);

    // Connections that arrived while every seat was taken, given a moment to show a token.
    struct Knock
    {
        TSock *sock = nullptr;
        InputBuffer input;
        QTimer *timer = nullptr;
    };
    void knockRead(TSock *sock);
    void handleKnock(TSock *sock);
    void dropKnock(TSock *sock, bool close);
    std::list<Knock>::iterator findKnock(TSock *sock);

    // The game.
    void startgame(const QByteArray &rest);
    void startround();
    void createboard();
    void findplayer();
    void outoftime();
    bool checkforwin();
    void startCountdown(qint64 seconds, Phase phase);

    HostEnvironment &env_;
    UniformDraw draw_;
    TSock *Sock1 = nullptr;
    // Index 0 is unused: slots are numbered 1 to 10.
    std::array<TPlayerSlot, Wire::slotCount + 1> slots_;
    int highest_ = 0;
    // The slot of every queued message, in the order the messages arrived. A slot's
    // entries go when its connection does, so this never holds more than the queues.
    std::deque<int> arrivals_;
    DispatchOrder order_ = DispatchOrder::Arrival;
    // InTurn: the slot whose queue the next tick looks at first.
    int nextTurn_ = 1;
    InputBuffer::Limits inputLimits_;
    int secondMs_ = 1000;
    int dispatchMs_ = 10;
    QTimer socktimer;
    QElapsedTimer sinceDispatch_;
    QTimer timer1;

    bool gameRunning_ = false;
    int target_ = 100;
    int roundSeconds_ = 60;
    int sizeCode_ = 8;
    int minLetters_ = 4;
    QByteArray savedOptions_;
    int countdown_ = 0;
    int phase_ = NoGame;
    int roundNumber_ = 0;
    // `listbox_words`: every word accepted in the round, sorted.
    std::set<QByteArray> listbox_words;
    Wire::BoardCells board_ {};

    int graceSeconds_ = defaultGraceSeconds;
    TokenSource tokens_;
    Heartbeat heartbeat_;
    QTimer heartbeatTimer_;
    TcpKeepAlive keepAlive_;
    // The end of the last round and the game's winner, for a player who comes back after
    // them: CMD_timeup and CMD_mainlist (the words, without the slot), CMD_winner.
    QByteArray lastTimeup_;
    QList<QByteArray> lastWords_;
    QByteArray lastWinner_;
    std::list<Knock> knocks_;
    bool closing_ = false;
};
