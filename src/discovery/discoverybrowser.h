#pragma once

#include "discoveryconfig.h"
#include "discoverywire.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>

class DiscoverySocket;

// A game heard of: what its host last said and where from.
struct FoundGame
{
    DiscoveryWire::Game game;
    QHostAddress address;
    // When it was last heard, in the browser's clock (milliseconds).
    qint64 heardAt = 0;
};
Q_DECLARE_METATYPE(FoundGame)

// A lobby's side of game discovery: asks for games every queryIntervalMs, takes in the
// replies to its own queries and every host's hello and goodbye, and keeps the list of
// games heard: a game appears when first heard, changes with each later word from it,
// and goes with its goodbye or once nothing was heard from it for expireMs. Games are
// told apart by their instance number; at most maxGames are kept, a later one is not
// listed until another goes.
class DiscoveryBrowser : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxGames = 64;
    struct Timing
    {
        int queryIntervalMs = 3000;
        int expireMs = 10000;
    };

    explicit DiscoveryBrowser(const DiscoveryConfig &config, QObject *parent = nullptr);
    ~DiscoveryBrowser() override;

    void setTiming(const Timing &timing);

    // Opens the sockets and asks at once, then every queryIntervalMs. False when
    // discovery is off or no socket could be bound (errorString() says why). When only
    // the discovery port is taken, queries still work and true is returned.
    bool start();
    // Stops asking and forgets every game (each is reported lost).
    void stop();
    bool isRunning() const { return querySocket_ != nullptr; }
    QString errorString() const { return error_; }
    // Also sends to `peer` from now on (off the network only: tests add the ports they
    // bound).
    void addPeer(const DiscoveryConfig::Peer &peer) { config_.peers.append(peer); }
    // The port on which hellos are heard (0 when they are not).
    quint16 helloPort() const;

    // Asks every host again now.
    void refresh();

    const QList<FoundGame> &games() const { return games_; }

Q_SIGNALS:
    void gameFound(const FoundGame &game);
    void gameChanged(const FoundGame &game);
    void gameLost(quint64 instance);
    // Asking started or stopped.
    void runningChanged(bool running);

private:
    void take(const DiscoveryWire::Datagram &datagram, const QHostAddress &sender);
    void expire();
    void forget(qsizetype index);
    quint32 nextNonce();

    DiscoveryConfig config_;
    Timing timing_;
    DiscoverySocket *querySocket_ = nullptr;
    DiscoverySocket *helloSocket_ = nullptr;
    QTimer queryTimer_;
    QTimer expireTimer_;
    QElapsedTimer clock_;
    QList<FoundGame> games_;
    // The nonces of the last few queries; a reply must echo one of them.
    QList<quint32> nonces_;
    QString error_;
};
