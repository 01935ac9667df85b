#include "icejoiner.h"

#include "iceserversource.h"
#include "signalchannel.h"

#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>

IceJoiner::IceJoiner(
    SignalChannel &channel, IceServerSource &servers, const IceAgent::Setup &agent, QObject *parent)
    : QObject(parent)
    , channel_(&channel)
    , servers_(servers)
    , setup_(agent)
{
    setup_.controlling = true;
    for (QTimer *t : {&answerTimer_, &gameTimer_})
        t->setSingleShot(true);
    connect(&answerTimer_, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("the host did not answer the request to connect through the routers"));
    });
    connect(&gameTimer_, &QTimer::timeout, this, [this] {
        fail(attached_ ? QStringLiteral("the game did not come back in time")
                       : QStringLiteral("the game did not start in time"));
    });
    connect(&channel, &SignalChannel::received, this, &IceJoiner::signalled);
    // Once connected, the game's connection no longer needs the room.
    connect(&channel, &SignalChannel::peerLeft, this, [this](const QString &peer) {
        if (dialing_ && peer == peer_)
            fail(QStringLiteral("the host has left the room"));
    });
}

IceJoiner::~IceJoiner()
{
    stop(true);
}

void IceJoiner::start(const QString &peer)
{
    stop(true);
    running_ = true;
    peer_ = peer;
    path_ = IcePath::Way::Unknown;
    dial();
}

void IceJoiner::dial()
{
    dialing_ = true;
    offered_ = answered_ = false;
    session_
        = QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, QLatin1Char('0'));
    if (!IceAgent::isAvailable()) {
        fail(QStringLiteral("this program's event loop cannot run the routers' connection checks"));
        return;
    }
    const int attempt = ++attempt_;
    const QPointer<IceJoiner> self(this);
    servers_.get([self, attempt](const IceServers &servers) {
        if (self && self->dialing_ && self->attempt_ == attempt && !self->agent_)
            self->begin(servers);
    });
}

void IceJoiner::begin(const IceServers &servers)
{
    IceAgent::Setup setup = setup_;
    setup.servers = servers;
    relayListed_ = servers.hasRelay();
    agent_ = new IceAgent(setup, this);
    connect(agent_, &IceAgent::gathered, this, &IceJoiner::offer);
    connect(agent_, &IceAgent::connected, this, &IceJoiner::agentConnected);
    connect(agent_, &IceAgent::failed, this, &IceJoiner::agentFailed);
    connect(agent_, &IceAgent::pathChanged, this, &IceJoiner::pathChanged);
    agent_->gather();
}

void IceJoiner::offer()
{
    IceSignal signal;
    signal.kind = IceSignal::Kind::Offer;
    signal.session = session_;
    signal.ufrag = agent_->ufrag();
    signal.password = agent_->password();
    signal.candidates = agent_->localCandidates();
    if (!channel_ || !channel_->send(peer_, signal)) {
        fail(QStringLiteral("the host has left the room"));
        return;
    }
    offered_ = true;
    answerTimer_.start(timing_.answerMs);
}

void IceJoiner::signalled(const QString &peer, const IceSignal &signal)
{
    if (!dialing_ || peer != peer_ || signal.session != session_ || !offered_)
        return;
    switch (signal.kind) {
    case IceSignal::Kind::Answer:
        if (answered_ || !agent_)
            return;
        answered_ = true;
        answerTimer_.stop();
        agent_->setRemote(signal.ufrag, signal.password, signal.candidates);
        return;
    case IceSignal::Kind::Refuse:
        fail(signal.refusal == IceSignal::Refusal::Busy
                ? QStringLiteral("the host is busy with other players joining: try again in a moment")
                : QStringLiteral("the host is not hosting a game any more"));
        return;
    case IceSignal::Kind::End:
        fail(QStringLiteral("the host gave up connecting"));
        return;
    case IceSignal::Kind::Offer:
    case IceSignal::Kind::Accepts:
        return;
    }
}

void IceJoiner::agentConnected(IcePath::Way path)
{
    path_ = path;
    dialing_ = false;
    answerTimer_.stop();
    IceAgent *agent = agent_;
    agent_ = nullptr;
    agent->disconnect(this);
    if (attached_) {
        // The game came back: its connection goes on the new way, or the next one will.
        makeBridge(agent);
        if (QTcpSocket *socket = held_.data()) {
            held_ = nullptr;
            socket->disconnect(this);
            bridge_->attach(socket);
            Q_EMIT returned(path);
        } else {
            gameTimer_.start(timing_.gameMs);
        }
        return;
    }
    local_ = new QTcpServer(this);
    if (!local_->listen(QHostAddress::LocalHost, 0)) {
        agent->deleteLater();
        fail(QStringLiteral("no local end could be opened for the game: %1").arg(local_->errorString()));
        return;
    }
    local_->setMaxPendingConnections(1);
    connect(local_, &QTcpServer::newConnection, this, [this] {
        while (local_ && local_->hasPendingConnections())
            takeGame(local_->nextPendingConnection());
    });
    makeBridge(agent);
    gameTimer_.start(timing_.gameMs);
    Q_EMIT connected(local_->serverPort(), path);
}

void IceJoiner::makeBridge(IceAgent *agent)
{
    bridge_ = new IceBridge(agent, nullptr, timing_.bridge, this);
    connect(agent, &IceAgent::pathChanged, this, [this](IcePath::Way way) {
        path_ = way;
        Q_EMIT pathChanged(way);
    });
    connect(bridge_, &IceBridge::earlyBytes, this, [this] { Q_EMIT greetingArrived(bridge_->early()); });
    connect(bridge_, &IceBridge::closed, this, &IceJoiner::bridgeClosed);
}

void IceJoiner::takeGame(QTcpSocket *socket)
{
    if (!socket)
        return;
    if (running_ && bridge_ && bridge_->isOpen() && !bridge_->isAttached()) {
        // A way waits for the game: the first time, or found again before the game came back.
        const bool back = std::exchange(attached_, true);
        gameTimer_.stop();
        bridge_->attach(socket);
        if (back)
            Q_EMIT returned(path_);
        return;
    }
    if (running_ && attached_ && !bridge_ && !held_) {
        hold(socket);
        if (!dialing_) {
            Q_EMIT returning();
            dial();
        }
        return;
    }
    // One game, one connection: nothing is taken beside the one bridged or held.
    socket->abort();
    socket->deleteLater();
}

void IceJoiner::hold(QTcpSocket *socket)
{
    held_ = socket;
    socket->setParent(this);
    // What it sends meanwhile (its token) waits, read by the bridge later; the rest
    // waits in the system.
    socket->setReadBufferSize(maxHeldBytes);
    // A game that gives up on this connection comes again: the attempt goes on for it.
    const auto gone = [this, socket] {
        if (held_ == socket)
            held_ = nullptr;
        socket->disconnect(this);
        socket->deleteLater();
    };
    connect(socket, &QTcpSocket::disconnected, this, gone);
    connect(socket, &QTcpSocket::errorOccurred, this, gone);
}

void IceJoiner::agentFailed(IceAgent::Failure failure)
{
    switch (failure) {
    case IceAgent::Failure::NoCandidates:
        fail(QStringLiteral("this computer has no network address to connect from"));
        return;
    case IceAgent::Failure::NoUsableCandidates:
        fail(QStringLiteral("the host gave no address that may be tried"));
        return;
    case IceAgent::Failure::NoPath:
    case IceAgent::Failure::Lost: {
        const bool relay = agent_ && (agent_->hasRelay() || agent_->remoteHasRelay());
        fail(relay ? QStringLiteral(
                 "no way through the routers was found, not even through the community's relay server")
                : relayListed_
                ? QStringLiteral("no way through the routers was found, and the community's relay server did "
                                 "not answer")
                : QStringLiteral("no way through the routers was found, and the community server offers no "
                                 "relay to go around them"));
        return;
    }
    }
}

void IceJoiner::bridgeClosed(IceBridge::End end)
{
    const bool relayed = path_ == IcePath::Way::Relayed;
    const int seconds = (timing_.bridge.silenceMs + 999) / 1000;
    QString reason;
    switch (end) {
    case IceBridge::End::GameClosed:
    case IceBridge::End::PeerClosed:
        break;
    case IceBridge::End::Silent:
        reason = relayed
            ? QStringLiteral("nothing came through the community's relay server for %1 seconds").arg(seconds)
            : QStringLiteral("nothing came from the host for %1 seconds").arg(seconds);
        break;
    case IceBridge::End::Broken:
        reason = relayed ? QStringLiteral("the way through the community's relay server broke")
                         : QStringLiteral("the way through the routers broke");
        break;
    case IceBridge::End::GameNotReading:
    case IceBridge::End::TooEarly:
        reason = QStringLiteral("the game did not take what the host sent");
        break;
    }
    if (!attached_) {
        // The host's last words before it closed (a full game says so) stay readable.
        if (end == IceBridge::End::PeerClosed && !greeting().isEmpty()) {
            running_ = false;
            Q_EMIT greetingArrived(greeting());
            return;
        }
        fail(reason.isEmpty() ? QStringLiteral("the host closed the connection") : reason);
        return;
    }
    // The local end stays: a game that lost its connection comes back to it.
    gameTimer_.stop();
    if (IceBridge *bridge = bridge_.data()) {
        bridge_ = nullptr;
        bridge->disconnect(this);
        bridge->deleteLater();
    }
    Q_EMIT ended(reason);
}

quint16 IceJoiner::localPort() const
{
    return local_ && local_->isListening() ? local_->serverPort() : 0;
}

QByteArray IceJoiner::greeting() const
{
    return bridge_ ? bridge_->early() : QByteArray();
}

void IceJoiner::fail(const QString &reason)
{
    if (!running_)
        return;
    if (attached_) {
        dropAttempt(true);
        Q_EMIT returnFailed(reason);
        return;
    }
    stop(true);
    Q_EMIT failed(reason);
}

void IceJoiner::cancel()
{
    stop(true);
}

void IceJoiner::dropAttempt(bool tellPeer)
{
    answerTimer_.stop();
    gameTimer_.stop();
    if (std::exchange(dialing_, false) && tellPeer && offered_) {
        IceSignal end;
        end.kind = IceSignal::Kind::End;
        end.session = session_;
        if (channel_)
            channel_->send(peer_, end);
    }
    offered_ = answered_ = false;
    if (IceAgent *agent = agent_.data()) {
        agent_ = nullptr;
        agent->disconnect(this);
        agent->deleteLater();
    }
    if (QTcpSocket *socket = held_.data()) {
        held_ = nullptr;
        socket->disconnect(this);
        socket->disconnectFromHost();
        socket->deleteLater();
    }
    if (attached_ && bridge_ && !bridge_->isAttached()) {
        IceBridge *bridge = bridge_.data();
        bridge_ = nullptr;
        bridge->disconnect(this);
        bridge->close();
        bridge->deleteLater();
    }
}

void IceJoiner::stop(bool tellPeer)
{
    running_ = false;
    dropAttempt(tellPeer);
    attached_ = false;
    if (IceBridge *bridge = bridge_.data()) {
        bridge_ = nullptr;
        bridge->disconnect(this);
        // A game that has just ended may have its last words (its goodbye) on their way.
        bridge->closeAfterReading();
        bridge->deleteLater();
    }
    if (local_) {
        local_->close();
        local_->deleteLater();
        local_ = nullptr;
    }
}
