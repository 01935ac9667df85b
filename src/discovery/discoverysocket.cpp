#include "discoverysocket.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <QVariant>

namespace {

bool hasIPv4(const QNetworkInterface &iface)
{
    const auto entries = iface.addressEntries();
    return std::any_of(entries.begin(), entries.end(),
        [](const QNetworkAddressEntry &e) { return e.ip().protocol() == QAbstractSocket::IPv4Protocol; });
}

// Interfaces that can carry discovery to other machines.
QList<QNetworkInterface> lanInterfaces()
{
    QList<QNetworkInterface> result;
    for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning)
            && !flags.testFlag(QNetworkInterface::IsLoopBack) && hasIPv4(iface))
            result << iface;
    }
    return result;
}

} // namespace

DiscoverySocket::DiscoverySocket(const DiscoveryConfig &config, QObject *parent)
    : QObject(parent)
    , config_(config)
    , socket_(new QUdpSocket(this))
{
    connect(socket_, &QUdpSocket::readyRead, this, &DiscoverySocket::readPending);
}

bool DiscoverySocket::bind(quint16 port, bool shared)
{
    const auto mode = shared ? QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint
                             : QAbstractSocket::DefaultForPlatform;
    if (!socket_->bind(config_.bindAddress, port, mode))
        return false;
    if (shared && config_.network) {
        const QHostAddress group(QString::fromLatin1(DiscoveryWire::multicastGroup));
        // An interface that refuses is simply not listened on.
        for (const QNetworkInterface &iface : lanInterfaces())
            if (iface.flags().testFlag(QNetworkInterface::CanMulticast))
                socket_->joinMulticastGroup(group, iface);
    }
    return true;
}

quint16 DiscoverySocket::localPort() const
{
    return socket_->localPort();
}

QString DiscoverySocket::errorString() const
{
    return socket_->errorString();
}

int DiscoverySocket::sendToAll(const QByteArray &datagram)
{
    int sent = 0;
    if (!config_.network) {
        for (const DiscoveryConfig::Peer &peer : config_.peers)
            sent += sendTo(datagram, peer.address, peer.port);
        return sent;
    }
    const QHostAddress group(QString::fromLatin1(DiscoveryWire::multicastGroup));
    socket_->setSocketOption(QAbstractSocket::MulticastTtlOption, QVariant(1));
    for (const QNetworkInterface &iface : lanInterfaces()) {
        if (iface.flags().testFlag(QNetworkInterface::CanMulticast)) {
            socket_->setMulticastInterface(iface);
            sent += sendTo(datagram, group, config_.port);
        }
        if (!iface.flags().testFlag(QNetworkInterface::CanBroadcast))
            continue;
        for (const QNetworkAddressEntry &entry : iface.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.broadcast().isNull())
                sent += sendTo(datagram, entry.broadcast(), config_.port);
    }
    return sent;
}

bool DiscoverySocket::sendTo(const QByteArray &datagram, const QHostAddress &address, quint16 port)
{
    return socket_->writeDatagram(datagram, address, port) == datagram.size();
}

void DiscoverySocket::readPending()
{
    // Every datagram waiting is taken now: the socket reports new ones only once the
    // queue has been read.
    int failures = 0;
    while (socket_->hasPendingDatagrams() && failures < 16) {
        const QNetworkDatagram d = socket_->receiveDatagram(DiscoveryWire::maxDatagramBytes + 1);
        if (!d.isValid()) {
            ++failures;
            continue;
        }
        if (d.data().size() > DiscoveryWire::maxDatagramBytes)
            continue;
        if (const auto datagram = DiscoveryWire::decode(d.data()))
            Q_EMIT received(*datagram, d.senderAddress(), quint16(d.senderPort()));
    }
}
