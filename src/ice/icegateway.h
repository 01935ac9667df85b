#pragma once

#include "gameports.h"
#include "iceagent.h"
#include "icebridge.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

class IceServerSource;
class QTcpSocket;
class SignalChannel;

// The host's end of game connections through routers: it answers the offers of
// people in the community room and, for each whose checks find a way, opens one more
// connection to the game's own port on 127.0.0.1 and bridges the two. The game's host
// then admits that player exactly as one who came over TCP; a peer whose checks never
// finish never reaches the game, so it never holds a slot.
//
// Each person has at most one attempt under way (a new offer replaces the old), and
// at most maxAttempts run at once: more are refused as busy. An offer with no
// candidate that may be checked is ended at once, before gathering or answering, and
// holds no attempt. An attempt that has not
// connected within attemptMs is dropped. Connected players are limited by the game
// itself, as over TCP.
class IceGateway : public QObject
{
    Q_OBJECT

public:
    struct Setup
    {
        quint16 gamePort = GamePorts::game;
        IceAgent::Setup agent;
        IceBridge::Timing bridge;
        int maxAttempts = 12;
        int attemptMs = 40000;
    };

    IceGateway(
        SignalChannel &channel, IceServerSource &servers, const Setup &setup, QObject *parent = nullptr);
    ~IceGateway() override;

    // Starts answering offers (and says so in the room), or stops: attempts under way are
    // dropped and new offers refused; connected players stay.
    void setAccepting(bool accepting);
    bool isAccepting() const { return accepting_; }
    void setGamePort(quint16 port) { setup_.gamePort = port; }
    int attempts() const { return int(attempts_.size()); }
    int bridges() const { return int(bridges_.size()); }

Q_SIGNALS:
    // For the host's log.
    void playerConnected(const QString &peer, IcePath::Way path);
    void playerLeft(const QString &peer, IceBridge::End end);
    void attemptFailed(const QString &peer, const QString &why);

private:
    struct Attempt
    {
        QString session;
        IceSignal offer;
        QPointer<IceAgent> agent;
        QTimer *deadline = nullptr;
    };

    void signalled(const QString &peer, const IceSignal &signal);
    void begin(const QString &peer, const QString &session, const IceServers &servers);
    void answer(const QString &peer);
    void connected(const QString &peer, IcePath::Way path);
    void drop(const QString &peer, const QString &why, bool tellPeer);
    void refuse(const QString &peer, const QString &session, IceSignal::Refusal refusal);
    // Tells the peer its attempt `session` is over.
    void end(const QString &peer, const QString &session);
    static QString noUsableCandidates();

    // Gone first when both go with their owner.
    QPointer<SignalChannel> channel_;
    IceServerSource &servers_;
    Setup setup_;
    // An offer none of whose candidates these let be checked is refused before any work.
    CandidatePolicy offerPolicy_;
    QHash<QString, Attempt> attempts_;
    QList<QPointer<IceBridge>> bridges_;
    bool accepting_ = false;
};
