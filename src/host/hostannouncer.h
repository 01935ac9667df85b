#pragma once

#include "discoveryconfig.h"
#include "discoverywire.h"

#include <QObject>

class DiscoveryResponder;
class DnsSdPublisher;
class TServer;

// Tells lobbies about the game a TServer hosts: answers their discovery queries and
// says hello and goodbye (DiscoveryResponder), and on the network also publishes the
// game as a DNS-SD service where Avahi runs. The game itself never depends on it: a
// discovery port already taken only means that lobbies do not list this game.
class HostAnnouncer : public QObject
{
    Q_OBJECT

public:
    HostAnnouncer(const TServer &server, const DiscoveryConfig &config, QObject *parent = nullptr);
    ~HostAnnouncer() override;

    // Call once the server listens. False when discovery is off or its port cannot be
    // bound (errorString() says why).
    bool start();
    // Says goodbye and withdraws the service.
    void stop();
    bool isRunning() const;
    QString errorString() const;
    DiscoveryResponder &responder() { return *responder_; }

    // The server's game as the discovery datagrams carry it.
    static DiscoveryWire::Game describe(const TServer &server);

private:
    void publish();

    const TServer &server_;
    DiscoveryConfig config_;
    DiscoveryResponder *responder_;
    DnsSdPublisher *dnsSd_ = nullptr;
};
