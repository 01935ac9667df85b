#include "icegateway.h"

#include "iceserversource.h"
#include "signalchannel.h"

#include <QTcpSocket>

IceGateway::IceGateway(SignalChannel &channel, IceServerSource &servers, const Setup &setup, QObject *parent)
    : QObject(parent)
    , channel_(&channel)
    , servers_(servers)
    , setup_(setup)
    , offerPolicy_(IceAgent::policyFor(setup.agent))
{
    setup_.agent.controlling = false;
    connect(&channel, &SignalChannel::received, this, &IceGateway::signalled);
    connect(&channel, &SignalChannel::peerLeft, this,
        [this](const QString &peer) { drop(peer, QStringLiteral("left the room"), false); });
}

IceGateway::~IceGateway()
{
    const QStringList peers = attempts_.keys();
    for (const QString &peer : peers)
        drop(peer, {}, true);
}

void IceGateway::setAccepting(bool accepting)
{
    if (accepting == accepting_)
        return;
    accepting_ = accepting;
    if (channel_)
        channel_->setAccepting(accepting);
    if (!accepting) {
        const QStringList peers = attempts_.keys();
        for (const QString &peer : peers)
            drop(peer, QStringLiteral("the game stopped taking players"), true);
    }
}

void IceGateway::signalled(const QString &peer, const IceSignal &signal)
{
    switch (signal.kind) {
    case IceSignal::Kind::Offer:
        break;
    case IceSignal::Kind::End:
        if (attempts_.contains(peer) && attempts_[peer].session == signal.session)
            drop(peer, QStringLiteral("gave up"), false);
        return;
    case IceSignal::Kind::Answer:
    case IceSignal::Kind::Refuse:
    case IceSignal::Kind::Accepts:
        return;
    }
    if (!accepting_) {
        refuse(peer, signal.session, IceSignal::Refusal::NotHosting);
        return;
    }
    // A new offer from the same person replaces the one under way.
    drop(peer, {}, false);
    if (offerPolicy_.filter(signal.candidates).isEmpty()) {
        end(peer, signal.session);
        Q_EMIT attemptFailed(peer, noUsableCandidates());
        return;
    }
    if (attempts_.size() >= setup_.maxAttempts) {
        refuse(peer, signal.session, IceSignal::Refusal::Busy);
        return;
    }
    Attempt &attempt = attempts_[peer];
    attempt.session = signal.session;
    attempt.offer = signal;
    attempt.deadline = new QTimer(this);
    attempt.deadline->setSingleShot(true);
    connect(attempt.deadline, &QTimer::timeout, this,
        [this, peer] { drop(peer, QStringLiteral("did not connect in time"), true); });
    attempt.deadline->start(setup_.attemptMs);
    const QString session = signal.session;
    const QPointer<IceGateway> self(this);
    servers_.get([self, peer, session](const IceServers &servers) {
        if (self)
            self->begin(peer, session, servers);
    });
}

void IceGateway::begin(const QString &peer, const QString &session, const IceServers &servers)
{
    const auto it = attempts_.find(peer);
    if (it == attempts_.end() || it->session != session || it->agent)
        return;
    IceAgent::Setup setup = setup_.agent;
    setup.servers = servers;
    auto *agent = new IceAgent(setup, this);
    it->agent = agent;
    connect(agent, &IceAgent::gathered, this, [this, peer] { answer(peer); });
    connect(agent, &IceAgent::connected, this, [this, peer](IcePath::Way path) { connected(peer, path); });
    connect(agent, &IceAgent::failed, this, [this, peer](IceAgent::Failure failure) {
        drop(peer,
            failure == IceAgent::Failure::NoUsableCandidates ? noUsableCandidates()
                : failure == IceAgent::Failure::NoCandidates
                ? QStringLiteral("could not be answered: no local address")
                : QStringLiteral("could not be reached through the routers"),
            true);
    });
    agent->gather();
}

void IceGateway::answer(const QString &peer)
{
    const auto it = attempts_.find(peer);
    if (it == attempts_.end() || !it->agent)
        return;
    IceSignal signal;
    signal.kind = IceSignal::Kind::Answer;
    signal.session = it->session;
    signal.ufrag = it->agent->ufrag();
    signal.password = it->agent->password();
    signal.candidates = it->agent->localCandidates();
    if (!channel_ || !channel_->send(peer, signal)) {
        drop(peer, QStringLiteral("left the room"), false);
        return;
    }
    it->agent->setRemote(it->offer.ufrag, it->offer.password, it->offer.candidates);
}

void IceGateway::connected(const QString &peer, IcePath::Way path)
{
    const auto it = attempts_.find(peer);
    if (it == attempts_.end() || !it->agent)
        return;
    IceAgent *agent = it->agent;
    agent->disconnect(this);
    it->deadline->deleteLater();
    attempts_.erase(it);

    // The player reaches the game only now, as one more connection to its port.
    auto *bridge = new IceBridge(agent, nullptr, setup_.bridge, this);
    bridges_.append(bridge);
    auto *socket = new QTcpSocket(bridge);
    connect(socket, &QTcpSocket::connected, bridge, [bridge, socket] { bridge->attach(socket); });
    connect(socket, &QTcpSocket::errorOccurred, bridge, [bridge] { bridge->close(); });
    connect(bridge, &IceBridge::closed, this, [this, peer, bridge](IceBridge::End end) {
        bridges_.removeAll(bridge);
        bridge->deleteLater();
        Q_EMIT playerLeft(peer, end);
    });
    socket->connectToHost(QHostAddress::LocalHost, setup_.gamePort);
    Q_EMIT playerConnected(peer, path);
}

void IceGateway::drop(const QString &peer, const QString &why, bool tellPeer)
{
    const auto it = attempts_.find(peer);
    if (it == attempts_.end())
        return;
    const Attempt attempt = it.value();
    attempts_.erase(it);
    attempt.deadline->stop();
    attempt.deadline->deleteLater();
    if (attempt.agent) {
        attempt.agent->disconnect(this);
        attempt.agent->deleteLater();
    }
    if (tellPeer)
        end(peer, attempt.session);
    if (!why.isEmpty())
        Q_EMIT attemptFailed(peer, why);
}

void IceGateway::end(const QString &peer, const QString &session)
{
    IceSignal signal;
    signal.kind = IceSignal::Kind::End;
    signal.session = session;
    if (channel_)
        channel_->send(peer, signal);
}

QString IceGateway::noUsableCandidates()
{
    return QStringLiteral("offered no address that may be tried");
}

void IceGateway::refuse(const QString &peer, const QString &session, IceSignal::Refusal refusal)
{
    IceSignal signal;
    signal.kind = IceSignal::Kind::Refuse;
    signal.session = session;
    signal.refusal = refusal;
    if (channel_)
        channel_->send(peer, signal);
}
