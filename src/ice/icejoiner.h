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
    // The connection is over after the game had connected; `reason` is empty when one
    // of the games closed it, else why it was lost.
    void ended(const QString &reason);

private:
    void begin(const IceServers &servers);
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
    QTimer answerTimer_;
    QTimer gameTimer_;
    IcePath::Way path_ = IcePath::Way::Unknown;
    bool running_ = false;
    bool offered_ = false;
    bool answered_ = false;
    bool attached_ = false;
    int attempt_ = 0;
};
