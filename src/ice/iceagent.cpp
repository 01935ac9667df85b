#include <nice/agent.h>

#include "iceagent.h"

#include "discoveryconfig.h"
#include "gameports.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr guint component = 1;

QHostAddress toQt(const NiceAddress &address)
{
    sockaddr_storage storage {};
    nice_address_copy_to_sockaddr(&address, reinterpret_cast<sockaddr *>(&storage));
    QHostAddress a(reinterpret_cast<const sockaddr *>(&storage));
    a.setScopeId(QString());
    return a;
}

IcePath::Candidate kindOf(const NiceCandidate *c)
{
    switch (c->type) {
    case NICE_CANDIDATE_TYPE_SERVER_REFLEXIVE:
        return IcePath::Candidate::ServerReflexive;
    case NICE_CANDIDATE_TYPE_PEER_REFLEXIVE:
        return IcePath::Candidate::PeerReflexive;
    case NICE_CANDIDATE_TYPE_RELAYED:
        return IcePath::Candidate::Relayed;
    default:
        return IcePath::Candidate::Host;
    }
}

} // namespace

CandidatePolicy IceAgent::policyFor(const Setup &setup)
{
    CandidatePolicy policy;
    policy.setAllowLoopback(setup.allowLoopback);
    for (quint16 port : setup.protectedPorts)
        policy.addOwnPort(port);
    return policy;
}

IceAgent::IceAgent(const Setup &setup, QObject *parent)
    : QObject(parent)
    , setup_(setup)
    , policy_(policyFor(setup))
{
    for (QTimer *t : {&gatherTimer_, &checksTimer_})
        t->setSingleShot(true);
    connect(&gatherTimer_, &QTimer::timeout, this, &IceAgent::finishGathering);
    connect(&checksTimer_, &QTimer::timeout, this, [this] {
        if (!connected_)
            fail(Failure::NoPath);
    });
}

IceAgent::~IceAgent()
{
    if (!agent_)
        return;
    g_signal_handlers_disconnect_by_data(agent_, this);
    if (stream_)
        nice_agent_attach_recv(agent_, stream_, component, g_main_context_default(), nullptr, nullptr);
    // The close holds its own reference until the relay's allocation is given back.
    nice_agent_close_async(agent_, nullptr, nullptr);
    g_object_unref(agent_);
}

IceAgent::Setup IceAgent::forProgram(quint16 gamePort)
{
    Setup setup;
    const DiscoveryConfig discovery = DiscoveryConfig::fromEnvironment();
    setup.upnp = discovery.enabled && discovery.network;
    setup.protectedPorts = {gamePort, DiscoveryWire::defaultPort, GamePorts::companion};
    return setup;
}

bool IceAgent::isAvailable()
{
    const QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    return dispatcher && dispatcher->inherits("QEventDispatcherGlib");
}

void IceAgent::gather()
{
    if (agent_)
        return;
    NiceAgentOption options = NICE_AGENT_OPTION_RELIABLE;
    agent_ = nice_agent_new_full(g_main_context_default(), NICE_COMPATIBILITY_RFC5245, options);
    g_object_set(agent_, "controlling-mode", gboolean(setup_.controlling), "upnp", gboolean(setup_.upnp),
        "upnp-timeout", guint(std::clamp(setup_.upnpMs, 100, std::max(setup_.gatherMs, 100))), "ice-tcp",
        FALSE, "force-relay", gboolean(setup_.forceRelay), nullptr);
    // A relay's answers tell this end's mapping too; a STUN server at the relay's own
    // address would only be asked over the relay's socket, whose replies the agent
    // takes for the relay's.
    const bool stunIsRelay = std::any_of(
        setup_.servers.relays.begin(), setup_.servers.relays.end(), [this](const IceServers::Relay &r) {
            return r.address.isEqual(setup_.servers.stun) && r.port == setup_.servers.stunPort;
        });
    if (setup_.servers.hasStun() && !stunIsRelay)
        g_object_set(agent_, "stun-server", setup_.servers.stun.toString().toUtf8().constData(),
            "stun-server-port", guint(setup_.servers.stunPort), nullptr);
    for (const QHostAddress &address : std::as_const(setup_.localAddresses)) {
        NiceAddress a;
        nice_address_init(&a);
        if (nice_address_set_from_string(&a, address.toString().toUtf8().constData()))
            nice_agent_add_local_address(agent_, &a);
    }
    stream_ = nice_agent_add_stream(agent_, 1);
    for (const IceServers::Relay &relay : std::as_const(setup_.servers.relays))
        nice_agent_set_relay_info(agent_, stream_, component, relay.address.toString().toUtf8().constData(),
            relay.port, relay.username.toUtf8().constData(), relay.password.toUtf8().constData(),
            NICE_RELAY_TYPE_TURN_UDP);
    g_signal_connect(agent_, "candidate-gathering-done", G_CALLBACK(onGatheringDone), this);
    g_signal_connect(agent_, "component-state-changed", G_CALLBACK(onStateChanged), this);
    g_signal_connect(agent_, "new-selected-pair-full", G_CALLBACK(onSelectedPair), this);
    g_signal_connect(agent_, "reliable-transport-writable", G_CALLBACK(onWritable), this);
    nice_agent_attach_recv(agent_, stream_, component, g_main_context_default(),
        reinterpret_cast<NiceAgentRecvFunc>(onReceive), this);
    gathering_ = true;
    gatherTimer_.start(setup_.gatherMs);
    if (!nice_agent_gather_candidates(agent_, stream_)) {
        gatherTimer_.stop();
        gathering_ = false;
        fail(Failure::NoCandidates);
    }
}

void IceAgent::onGatheringDone(_NiceAgent *, unsigned, void *self)
{
    static_cast<IceAgent *>(self)->finishGathering();
}

void IceAgent::finishGathering()
{
    if (!gathering_)
        return;
    gathering_ = false;
    gatherTimer_.stop();
    gchar *ufrag = nullptr;
    gchar *password = nullptr;
    if (nice_agent_get_local_credentials(agent_, stream_, &ufrag, &password)) {
        ufrag_ = QString::fromUtf8(ufrag);
        password_ = QString::fromUtf8(password);
    }
    g_free(ufrag);
    g_free(password);
    GSList *candidates = nice_agent_get_local_candidates(agent_, stream_, component);
    for (GSList *i = candidates; i && local_.size() < IceSignal::maxCandidates; i = i->next) {
        const auto *c = static_cast<const NiceCandidate *>(i->data);
        if (c->transport != NICE_CANDIDATE_TRANSPORT_UDP || c->type == NICE_CANDIDATE_TYPE_PEER_REFLEXIVE)
            continue;
        IceSignal::Candidate candidate;
        candidate.foundation = QString::fromUtf8(c->foundation);
        candidate.priority = c->priority;
        candidate.address = toQt(c->addr);
        candidate.port = quint16(nice_address_get_port(&c->addr));
        candidate.type = c->type == NICE_CANDIDATE_TYPE_SERVER_REFLEXIVE
            ? IceSignal::Candidate::Type::ServerReflexive
            : c->type == NICE_CANDIDATE_TYPE_RELAYED ? IceSignal::Candidate::Type::Relayed
                                                     : IceSignal::Candidate::Type::Host;
        if (!IceSignal::isIceText(candidate.foundation, 1, 32) || candidate.priority == 0
            || candidate.port == 0)
            continue;
        local_.append(candidate);
    }
    g_slist_free_full(candidates, reinterpret_cast<GDestroyNotify>(nice_candidate_free));
    policy_.addOwnCandidates(local_);
    if (local_.isEmpty() || ufrag_.isEmpty()) {
        fail(Failure::NoCandidates);
        return;
    }
    gathered_ = true;
    Q_EMIT gathered();
}

bool IceAgent::hasRelay() const
{
    return std::any_of(local_.begin(), local_.end(),
        [](const IceSignal::Candidate &c) { return c.type == IceSignal::Candidate::Type::Relayed; });
}

void IceAgent::setRemote(
    const QString &ufrag, const QString &password, const QList<IceSignal::Candidate> &candidates)
{
    if (!gathered_ || failed_)
        return;
    const QList<IceSignal::Candidate> allowed = policy_.filter(candidates);
    if (allowed.isEmpty()) {
        fail(Failure::NoUsableCandidates);
        return;
    }
    remoteRelay_ = std::any_of(allowed.begin(), allowed.end(),
        [](const IceSignal::Candidate &c) { return c.type == IceSignal::Candidate::Type::Relayed; });
    nice_agent_set_remote_credentials(
        agent_, stream_, ufrag.toUtf8().constData(), password.toUtf8().constData());
    GSList *list = nullptr;
    for (const IceSignal::Candidate &c : allowed) {
        NiceCandidate *n = nice_candidate_new(c.type == IceSignal::Candidate::Type::ServerReflexive
                ? NICE_CANDIDATE_TYPE_SERVER_REFLEXIVE
                : c.type == IceSignal::Candidate::Type::Relayed ? NICE_CANDIDATE_TYPE_RELAYED
                                                                : NICE_CANDIDATE_TYPE_HOST);
        n->transport = NICE_CANDIDATE_TRANSPORT_UDP;
        n->stream_id = stream_;
        n->component_id = component;
        n->priority = c.priority;
        const QByteArray foundation = c.foundation.toLatin1();
        qstrncpy(n->foundation, foundation.constData(), NICE_CANDIDATE_MAX_FOUNDATION);
        nice_address_set_from_string(
            &n->addr, CandidatePolicy::plain(c.address).toString().toUtf8().constData());
        nice_address_set_port(&n->addr, c.port);
        list = g_slist_append(list, n);
    }
    checksTimer_.start(setup_.checksMs);
    nice_agent_set_remote_candidates(agent_, stream_, component, list);
    g_slist_free_full(list, reinterpret_cast<GDestroyNotify>(nice_candidate_free));
}

void IceAgent::onStateChanged(_NiceAgent *, unsigned, unsigned, unsigned state, void *data)
{
    auto *self = static_cast<IceAgent *>(data);
    if (state != NICE_COMPONENT_STATE_FAILED || self->failed_)
        return;
    self->fail(self->connected_ ? Failure::Lost : Failure::NoPath);
}

void IceAgent::onSelectedPair(
    _NiceAgent *, unsigned, unsigned, _NiceCandidate *local, _NiceCandidate *remote, void *data)
{
    auto *self = static_cast<IceAgent *>(data);
    const IcePath::Way way = IcePath::classify(
        kindOf(local), int(local->priority >> 24), kindOf(remote), int(remote->priority >> 24));
    if (way == self->path_)
        return;
    self->path_ = way;
    if (self->connected_)
        Q_EMIT self->pathChanged(way);
}

void IceAgent::onWritable(_NiceAgent *, unsigned, unsigned, void *data)
{
    auto *self = static_cast<IceAgent *>(data);
    if (self->failed_)
        return;
    if (!self->connected_) {
        self->connected_ = true;
        self->checksTimer_.stop();
        Q_EMIT self->connected(self->path_);
        return;
    }
    Q_EMIT self->writable();
}

void IceAgent::onReceive(_NiceAgent *, unsigned, unsigned, unsigned length, char *bytes, void *data)
{
    auto *self = static_cast<IceAgent *>(data);
    if (!self->failed_ && length > 0)
        Q_EMIT self->received(QByteArray(bytes, qsizetype(length)));
}

qint64 IceAgent::send(const QByteArray &bytes)
{
    if (!connected_ || failed_ || bytes.isEmpty())
        return 0;
    const gint sent = nice_agent_send(agent_, stream_, component, guint(bytes.size()), bytes.constData());
    return sent < 0 ? 0 : sent;
}

void IceAgent::fail(Failure failure)
{
    if (failed_)
        return;
    failed_ = true;
    gatherTimer_.stop();
    checksTimer_.stop();
    Q_EMIT failed(failure);
}
