#include "discoverybrowser.h"

#include "discoverysocket.h"

#include <QRandomGenerator>

namespace {

// Replies to this many of the latest queries are taken.
constexpr int noncesKept = 4;

} // namespace

DiscoveryBrowser::DiscoveryBrowser(const DiscoveryConfig &config, QObject *parent)
    : QObject(parent)
    , config_(config)
{
    clock_.start();
    connect(&queryTimer_, &QTimer::timeout, this, &DiscoveryBrowser::refresh);
    connect(&expireTimer_, &QTimer::timeout, this, &DiscoveryBrowser::expire);
    setTiming(timing_);
}

DiscoveryBrowser::~DiscoveryBrowser() = default;

void DiscoveryBrowser::setTiming(const Timing &timing)
{
    timing_ = timing;
    queryTimer_.setInterval(std::max(1, timing.queryIntervalMs));
    // A game goes at most a quarter of the expiry time late.
    expireTimer_.setInterval(std::max(1, timing.expireMs / 4));
}

bool DiscoveryBrowser::start()
{
    if (querySocket_)
        return true;
    if (!config_.enabled) {
        error_ = QStringLiteral("game discovery is off");
        return false;
    }
    auto *querySocket = new DiscoverySocket(config_, this);
    if (!querySocket->bind(0, false)) {
        error_ = querySocket->errorString();
        delete querySocket;
        return false;
    }
    querySocket_ = querySocket;
    connect(querySocket_, &DiscoverySocket::received, this,
        [this](const DiscoveryWire::Datagram &d, const QHostAddress &sender) { take(d, sender); });

    // Hellos come to the discovery port, which the hosts on this machine share.
    auto *helloSocket = new DiscoverySocket(config_, this);
    if (helloSocket->bind(config_.port, true)) {
        helloSocket_ = helloSocket;
        connect(helloSocket_, &DiscoverySocket::received, this,
            [this](const DiscoveryWire::Datagram &d, const QHostAddress &sender) {
                if (d.kind != DiscoveryWire::Kind::Reply)
                    take(d, sender);
            });
    } else {
        error_ = helloSocket->errorString();
        delete helloSocket;
    }
    queryTimer_.start();
    refresh();
    Q_EMIT runningChanged(true);
    return true;
}

void DiscoveryBrowser::stop()
{
    const bool wasRunning = isRunning();
    queryTimer_.stop();
    expireTimer_.stop();
    delete std::exchange(querySocket_, nullptr);
    delete std::exchange(helloSocket_, nullptr);
    nonces_.clear();
    while (!games_.isEmpty())
        forget(games_.size() - 1);
    if (wasRunning)
        Q_EMIT runningChanged(false);
}

quint16 DiscoveryBrowser::helloPort() const
{
    return helloSocket_ ? helloSocket_->localPort() : 0;
}

quint32 DiscoveryBrowser::nextNonce()
{
    quint32 nonce = 0;
    while (nonce == 0)
        nonce = QRandomGenerator::global()->generate();
    nonces_.append(nonce);
    if (nonces_.size() > noncesKept)
        nonces_.removeFirst();
    return nonce;
}

void DiscoveryBrowser::refresh()
{
    if (querySocket_)
        querySocket_->sendToAll(DiscoveryWire::encodeQuery(nextNonce()));
}

void DiscoveryBrowser::take(const DiscoveryWire::Datagram &datagram, const QHostAddress &sender)
{
    if (!datagram.game || datagram.kind == DiscoveryWire::Kind::Query)
        return;
    if (datagram.kind == DiscoveryWire::Kind::Reply && !nonces_.contains(datagram.nonce))
        return;
    const DiscoveryWire::Game &game = *datagram.game;
    const auto known = std::find_if(games_.begin(), games_.end(),
        [&game](const FoundGame &g) { return g.game.instance == game.instance; });
    if (datagram.kind == DiscoveryWire::Kind::Goodbye) {
        if (known != games_.end())
            forget(known - games_.begin());
        return;
    }

    bool mapped = false;
    const quint32 v4 = sender.toIPv4Address(&mapped);
    FoundGame found {game, mapped ? QHostAddress(v4) : sender, clock_.elapsed()};
    // Replies and hellos differ only in kind and nonce, which are no news.
    found.game.kind = DiscoveryWire::Kind::Hello;
    found.game.nonce = 0;
    if (known != games_.end()) {
        const bool changed = !(known->game == found.game) || known->address != found.address;
        *known = found;
        if (changed)
            Q_EMIT gameChanged(*known);
        return;
    }
    if (games_.size() >= maxGames)
        return;
    games_.append(found);
    if (!expireTimer_.isActive())
        expireTimer_.start();
    Q_EMIT gameFound(found);
}

void DiscoveryBrowser::expire()
{
    const qint64 now = clock_.elapsed();
    for (qsizetype i = games_.size() - 1; i >= 0; --i)
        if (now - games_[i].heardAt >= timing_.expireMs)
            forget(i);
    if (games_.isEmpty())
        expireTimer_.stop();
}

void DiscoveryBrowser::forget(qsizetype index)
{
    const quint64 instance = games_[index].game.instance;
    games_.removeAt(index);
    Q_EMIT gameLost(instance);
}
