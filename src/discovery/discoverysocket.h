#pragma once

#include "discoveryconfig.h"
#include "discoverywire.h"

#include <QObject>

class QUdpSocket;

// One UDP socket of game discovery. It binds as its config says, sends to the
// config's destinations, and reports each datagram that decodes; anything else
// (longer than the format allows, malformed, of another version) is dropped.
class DiscoverySocket : public QObject
{
    Q_OBJECT

public:
    // `config` is read at each send and must outlive the socket (its owner's).
    explicit DiscoverySocket(const DiscoveryConfig &config, QObject *parent = nullptr);

    // Binds `port` on the config's address (0: any free port). `shared`: other
    // programs on this machine may bind the port too, and on the network the socket
    // joins the multicast group on every interface that can. False on failure, with
    // errorString() set.
    bool bind(quint16 port, bool shared);
    quint16 localPort() const;
    QString errorString() const;

    // On the network: to the multicast group through every interface that has an IPv4
    // address, and to each interface's broadcast address, at the config's port.
    // Otherwise to each peer. Returns how many datagrams went out.
    int sendToAll(const QByteArray &datagram);
    bool sendTo(const QByteArray &datagram, const QHostAddress &address, quint16 port);

Q_SIGNALS:
    void received(const DiscoveryWire::Datagram &datagram, const QHostAddress &sender, quint16 senderPort);

private:
    void readPending();

    const DiscoveryConfig &config_;
    QUdpSocket *socket_;
};
