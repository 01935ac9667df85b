#pragma once

#include "answerlimit.h"
#include "discoveryconfig.h"
#include "discoverywire.h"
#include "localsubnets.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class DiscoverySocket;

// A host's side of game discovery: answers queries on the discovery port with the
// game as it is now (by unicast to the asker, when the asker is on one of the host's
// subnets, see LocalSubnets, and within AnswerLimit), says hello when it starts and
// soon after each change, and goodbye when it stops.
class DiscoveryResponder : public QObject
{
    Q_OBJECT

public:
    // The game now; the responder sets its kind, nonce and instance.
    using Describe = std::function<DiscoveryWire::Game()>;

    DiscoveryResponder(const DiscoveryConfig &config, Describe describe, QObject *parent = nullptr);
    // Says goodbye when running.
    ~DiscoveryResponder() override;

    // Binds the discovery port and says hello. False when discovery is off or the port
    // cannot be bound (errorString() says why); the game itself is not affected.
    bool start();
    // Says goodbye and closes the socket.
    void stop();
    bool isRunning() const { return socket_ != nullptr; }
    quint16 port() const;
    QString errorString() const { return error_; }
    // Also sends to `peer` from now on (off the network only: tests add the ports they
    // bound).
    void addPeer(const DiscoveryConfig::Peer &peer) { config_.peers.append(peer); }
    // The random number this host's datagrams carry.
    quint64 instance() const { return instance_; }

    // Hellos after a change are at least this far apart (1 s unless changed).
    void setHelloGap(int ms) { helloGapMs_ = ms; }

public Q_SLOTS:
    // The game changed: a hello now, or the hello gap after the last one.
    void gameChanged();

private:
    void answer(const DiscoveryWire::Datagram &query, const QHostAddress &sender, quint16 senderPort);
    QByteArray datagram(DiscoveryWire::Kind kind, quint32 nonce) const;
    void sayHello();

    DiscoveryConfig config_;
    Describe describe_;
    quint64 instance_;
    DiscoverySocket *socket_ = nullptr;
    LocalSubnets subnets_;
    AnswerLimit limit_;
    QElapsedTimer clock_;
    QElapsedTimer sinceHello_;
    QTimer helloTimer_;
    QString error_;
    int helloGapMs_ = 1000;
};
