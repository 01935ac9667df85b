#pragma once

#include "candidatepolicy.h"
#include "icepath.h"
#include "iceservers.h"
#include "icesignal.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>

struct _NiceAgent;
struct _NiceCandidate;

// One ICE connection through libnice's reliable agent (a byte stream over UDP, kept
// in order by its pseudo-TCP), on GLib's default main context, which Qt's event loop
// dispatches on Linux. It gathers this end's candidates (its own addresses, the
// mapping a STUN server sees, a relay on a TURN server, a port the router opens by
// UPnP when allowed), takes the other end's, checks the pairs and keeps the best that
// works; then bytes go both ways.
//
// Every wait is bounded: gathering ends after gatherMs with what it has, and a
// connection that is not working checksMs after the other end's candidates came fails.
class IceAgent : public QObject
{
    Q_OBJECT

public:
    enum class Failure {
        NoCandidates, // this end has no address to offer
        NoUsableCandidates, // none of the other end's candidates may be checked
        NoPath, // the checks found no pair that works
        Lost, // a working connection stopped working
    };

    struct Setup
    {
        bool controlling = false; // the joining end
        IceServers servers;
        bool upnp = false;
        // How long gathering waits for the router to answer UPnP (a home router answers
        // within a few hundred ms). Where none answers (carrier NAT, UPnP turned off in
        // the router), every gathering takes this long.
        int upnpMs = 1000;
        // Empty: every interface but loopback. Tests name 127.0.0.1.
        QList<QHostAddress> localAddresses;
        bool allowLoopback = false;
        // Ports of this computer no candidate of the other end may name.
        QList<quint16> protectedPorts;
        // Relayed pairs only (measurements of the relay).
        bool forceRelay = false;
        int gatherMs = 5000;
        int checksMs = 15000;
    };

    // The program's agents: UPnP on unless WENDLEWICK_DISCOVERY=off keeps the program
    // from searching the network (the router is found by multicast), and the other
    // end's candidates kept off `gamePort` and the program's discovery and companion
    // ports.
    static Setup forProgram(quint16 gamePort);

    // The rules the agent checks the other end's candidates by, before its own
    // candidates are known.
    static CandidatePolicy policyFor(const Setup &setup);

    explicit IceAgent(const Setup &setup, QObject *parent = nullptr);
    // Gives up the relay's allocation on the TURN server as it goes.
    ~IceAgent() override;

    // Whether ICE can run here: Qt's event loop must dispatch GLib's main context.
    static bool isAvailable();

    // Starts gathering; gathered() follows (or failed(NoCandidates)).
    void gather();
    bool isGathered() const { return gathered_; }
    QString ufrag() const { return ufrag_; }
    QString password() const { return password_; }
    QList<IceSignal::Candidate> localCandidates() const { return local_; }
    bool hasRelay() const;

    // Takes the other end's credentials and candidates (after gathered()) and starts the
    // checks; connected() or failed() follows. Refused candidates are left out.
    void setRemote(
        const QString &ufrag, const QString &password, const QList<IceSignal::Candidate> &candidates);
    bool remoteHasRelay() const { return remoteRelay_; }

    bool isConnected() const { return connected_; }
    IcePath::Way path() const { return path_; }
    // Queues bytes on the stream; how many it took (0 while its buffer is full: wait
    // for writable()). Nothing is taken before connected().
    qint64 send(const QByteArray &bytes);

Q_SIGNALS:
    void gathered();
    void connected(IcePath::Way path);
    void pathChanged(IcePath::Way path);
    void failed(IceAgent::Failure failure);
    void received(const QByteArray &bytes);
    void writable();

private:
    static void onGatheringDone(_NiceAgent *agent, unsigned stream, void *self);
    static void onStateChanged(
        _NiceAgent *agent, unsigned stream, unsigned component, unsigned state, void *self);
    static void onSelectedPair(_NiceAgent *agent, unsigned stream, unsigned component, _NiceCandidate *local,
        _NiceCandidate *remote, void *self);
    static void onWritable(_NiceAgent *agent, unsigned stream, unsigned component, void *self);
    static void onReceive(
        _NiceAgent *agent, unsigned stream, unsigned component, unsigned length, char *bytes, void *self);

    void finishGathering();
    void fail(Failure failure);

    Setup setup_;
    _NiceAgent *agent_ = nullptr;
    unsigned stream_ = 0;
    CandidatePolicy policy_;
    QTimer gatherTimer_;
    QTimer checksTimer_;
    bool gathering_ = false;
    bool gathered_ = false;
    bool connected_ = false;
    bool failed_ = false;
    bool remoteRelay_ = false;
    QString ufrag_;
    QString password_;
    QList<IceSignal::Candidate> local_;
    IcePath::Way path_ = IcePath::Way::Unknown;
};

Q_DECLARE_METATYPE(IceAgent::Failure)
