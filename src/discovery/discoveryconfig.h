#pragma once

#include "discoverywire.h"

#include <QHostAddress>
#include <QList>

// Where game discovery binds and what it sends to. The program uses the network:
// the discovery port on every IPv4 address, queries and hellos to the multicast group
// and to the broadcast address of every interface. Tests bind 127.0.0.1 and name
// loopback peers, so that nothing leaves the machine.
struct DiscoveryConfig
{
    struct Peer
    {
        QHostAddress address;
        quint16 port = 0;
    };

    // False: no socket is opened and nothing is sent or published.
    bool enabled = true;
    QHostAddress bindAddress = QHostAddress::AnyIPv4;
    // Hosts answer queries on this port and lobbies hear hellos on it. 0 binds any
    // free port (tests).
    quint16 port = DiscoveryWire::defaultPort;
    // True: queries and hellos go to the multicast group and to every interface's
    // broadcast address, and hosts publish their game over DNS-SD where Avahi runs.
    // False: they go to `peers` only, by unicast.
    bool network = true;
    QList<Peer> peers;

    // The network, unless the environment variable WENDLEWICK_DISCOVERY is "off"
    // (every test sets it): then disabled.
    static DiscoveryConfig fromEnvironment();
    // Bound to 127.0.0.1 on a free port, sending to `peers` only.
    static DiscoveryConfig loopback(const QList<Peer> &peers = {});
};
