#pragma once

#include "iceagent.h"
#include "icebridge.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class IceServerSource;
class QTcpServer;
class SignalChannel;

// The joining end of a game connection through routers: it offers this computer's
// candidates to the host (a person in the community room) through `channel`, takes
// the answer, and once the checks found a way it keeps a local end on 127.0.0.1 for
// the game, which connects there as to any host. The host's first bytes (its
// greeting) come out before the game connects, so that the caller can see what kind
// of host answered.
//
// Failures before the game connected come out as words that complete "The host's
// network does not accept connections from the internet, and ...".
//
// Once the game has connected, the local end stays (same port) until cancel(), so that
// the game can come back after its connection through the routers ended: when the game
// connects again, its connection is held (what it sends first waits in its socket,
// bounded by maxHeldBytes, the rest in the system) while a new way to the same host is
// looked for (a new session through the room), and then bridged; when none is found,
// the game's connection is closed, and its next one tries again. One attempt runs at a
// time, and no second game connection is ever taken beside the one held or bridged.
class IceJoiner : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        int answerMs = 12000; // from the offer to the host's answer
        int gameMs = 30000; // from connecting to the game's own connection
        IceBridge::Timing bridge;
    };

    IceJoiner(SignalChannel &channel, IceServerSource &servers, const IceAgent::Setup &agent,
        QObject *parent = nullptr);
    ~IceJoiner() override;

    void setTiming(const Timing &timing) { timing_ = timing; }
    // Starts connecting to the host `peer`, stopping an attempt under way.
    void start(const QString &peer);
    // Stops; the host is told when it was still answering.
    void cancel();
    bool isRunning() const { return running_; }
    QString peer() const { return peer_; }
    // What a game coming back may send before its new way is found, kept in its socket.
    static constexpr qint64 maxHeldBytes = 4096;

    // The local end the game connects to, once connected().
    quint16 localPort() const;
    IcePath::Way path() const { return agent_ ? agent_->path() : path_; }
    // The host's bytes that arrived before the game connected.
    QByteArray greeting() const;

Q_SIGNALS:
    // A way was found: the game may connect to 127.0.0.1 at `localPort`.
    void connected(quint16 localPort, IcePath::Way path);
    void greetingArrived(const QByteArray &bytes);
    void pathChanged(IcePath::Way path);
    void failed(const QString &reason);
    // The game's connection through the routers is over after the game had connected;
    // `reason` is empty when one of the games closed it, else why it was lost. The local
    // end stays for the game to come back, until cancel().
    void ended(const QString &reason);
    // The game connected to the local end again: a new way to the host is looked for.
    void returning();
    // The game's connection is carried again, by `path`.
    void returned(IcePath::Way path);
    // No new way was found (words as for failed()); the game's connection was closed.
    void returnFailed(const QString &reason);

private:
    void dial();
    void begin(const IceServers &servers);
    void takeGame(QTcpSocket *socket);
    void hold(QTcpSocket *socket);
    void makeBridge(IceAgent *agent);
    // Ends the attempt under way, the game's connection held for it and a way found that
    // no game took; the host is told when it was still answering.
    void dropAttempt(bool tellPeer);
    void offer();
    void signalled(const QString &peer, const IceSignal &signal);
    void agentConnected(IcePath::Way path);
    void agentFailed(IceAgent::Failure failure);
    void bridgeClosed(IceBridge::End end);
    void fail(const QString &reason);
    void stop(bool tellPeer);

    // Gone first when both go with their owner.
    QPointer<SignalChannel> channel_;
    IceServerSource &servers_;
    IceAgent::Setup setup_;
    Timing timing_;
    QString peer_;
    QString session_;
    QPointer<IceAgent> agent_;
    QPointer<IceBridge> bridge_;
    QTcpServer *local_ = nullptr;
    QPointer<QTcpSocket> held_; // a game come back, waiting for its new way
    QTimer answerTimer_;
    QTimer gameTimer_;
    IcePath::Way path_ = IcePath::Way::Unknown;
    bool running_ = false;
    bool dialing_ = false; // from an offer's start to its way or its failure
    bool offered_ = false;
    bool answered_ = false;
    bool relayListed_ = false; // the community's servers named a relay for this attempt
    bool attached_ = false; // the game has connected: it may come back
    int attempt_ = 0;
};
