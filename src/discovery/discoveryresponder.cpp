#include "discoveryresponder.h"

#include "discoverysocket.h"

#include <QRandomGenerator>

DiscoveryResponder::DiscoveryResponder(const DiscoveryConfig &config, Describe describe, QObject *parent)
    : QObject(parent)
    , config_(config)
    , describe_(std::move(describe))
    , instance_(QRandomGenerator::system()->generate64())
{
    clock_.start();
    helloTimer_.setSingleShot(true);
    connect(&helloTimer_, &QTimer::timeout, this, &DiscoveryResponder::sayHello);
}

DiscoveryResponder::~DiscoveryResponder()
{
    stop();
}

bool DiscoveryResponder::start()
{
    if (socket_)
        return true;
    if (!config_.enabled) {
        error_ = QStringLiteral("game discovery is off");
        return false;
    }
    auto *socket = new DiscoverySocket(config_, this);
    if (!socket->bind(config_.port, true)) {
        error_ = socket->errorString();
        delete socket;
        return false;
    }
    socket_ = socket;
    connect(socket_, &DiscoverySocket::received, this, &DiscoveryResponder::answer);
    sayHello();
    return true;
}

void DiscoveryResponder::stop()
{
    if (!socket_)
        return;
    helloTimer_.stop();
    socket_->sendToAll(datagram(DiscoveryWire::Kind::Goodbye, 0));
    delete std::exchange(socket_, nullptr);
}

quint16 DiscoveryResponder::port() const
{
    return socket_ ? socket_->localPort() : 0;
}

void DiscoveryResponder::gameChanged()
{
    if (!socket_ || helloTimer_.isActive())
        return;
    const qint64 wait = sinceHello_.isValid() ? helloGapMs_ - sinceHello_.elapsed() : 0;
    helloTimer_.start(int(std::max<qint64>(0, wait)));
}

void DiscoveryResponder::sayHello()
{
    if (!socket_)
        return;
    sinceHello_.start();
    socket_->sendToAll(datagram(DiscoveryWire::Kind::Hello, 0));
}

void DiscoveryResponder::answer(
    const DiscoveryWire::Datagram &query, const QHostAddress &sender, quint16 senderPort)
{
    if (query.kind != DiscoveryWire::Kind::Query || senderPort == 0)
        return;
    // A forged sender is turned away before it can use up the answers of the second.
    const qint64 now = clock_.elapsed();
    if (!subnets_.isAnswerable(sender, now) || !limit_.allow(sender, query.nonce, now))
        return;
    socket_->sendTo(datagram(DiscoveryWire::Kind::Reply, query.nonce), sender, senderPort);
}

QByteArray DiscoveryResponder::datagram(DiscoveryWire::Kind kind, quint32 nonce) const
{
    DiscoveryWire::Game game = describe_();
    game.kind = kind;
    game.nonce = nonce;
    game.instance = instance_;
    return DiscoveryWire::encodeGame(game);
}
