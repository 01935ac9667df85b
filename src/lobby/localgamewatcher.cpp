#include "localgamewatcher.h"

#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QUdpSocket>

LocalGameWatcher::LocalGameWatcher(quint16 discoveryPort, quint16 gamePort, QObject *parent)
    : QObject(parent)
    , discoveryPort_(discoveryPort)
    , gamePort_(gamePort)
{
    timer_.setInterval(askEveryMs);
    connect(&timer_, &QTimer::timeout, this, &LocalGameWatcher::ask);
}

LocalGameWatcher::~LocalGameWatcher() = default;

void LocalGameWatcher::start()
{
    if (socket_)
        return;
    socket_ = new QUdpSocket(this);
    if (!socket_->bind(QHostAddress::LocalHost, 0)) {
        delete socket_;
        socket_ = nullptr;
        return;
    }
    connect(socket_, &QUdpSocket::readyRead, this, &LocalGameWatcher::readAnswers);
    game_.reset();
    quietSaid_ = false;
    sinceAnswer_.start();
    timer_.start();
    ask();
}

void LocalGameWatcher::stop()
{
    timer_.stop();
    delete socket_;
    socket_ = nullptr;
    game_.reset();
}

void LocalGameWatcher::ask()
{
    if (!quietSaid_ && sinceAnswer_.elapsed() >= quietMs) {
        quietSaid_ = true;
        Q_EMIT quiet();
    }
    nonce_ = QRandomGenerator::global()->generate() | 1;
    socket_->writeDatagram(DiscoveryWire::encodeQuery(nonce_), QHostAddress::LocalHost, discoveryPort_);
}

void LocalGameWatcher::readAnswers()
{
    while (socket_ && socket_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_->receiveDatagram(DiscoveryWire::maxDatagramBytes);
        const auto decoded = DiscoveryWire::decode(datagram.data());
        if (!datagram.senderAddress().isLoopback() || !decoded || decoded->kind != DiscoveryWire::Kind::Reply
            || decoded->nonce != nonce_ || !decoded->game || decoded->game->port != gamePort_)
            continue;
        DiscoveryWire::Game game = *decoded->game;
        game.kind = DiscoveryWire::Kind::Hello;
        game.nonce = 0;
        sinceAnswer_.start();
        quietSaid_ = false;
        if (game_ && *game_ == game)
            continue;
        game_ = game;
        Q_EMIT gameChanged();
    }
}
