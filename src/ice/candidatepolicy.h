#pragma once

#include "icesignal.h"

#include <QHostAddress>
#include <QList>
#include <QSet>

// Which of a peer's candidates this computer may send connectivity checks to. A peer
// chooses the addresses, so a hostile one could point the checks anywhere: at this
// computer's own services, at its loopback, at a whole network by multicast or
// broadcast. Those are refused: loopback (unless allowed, for tests on one computer),
// unspecified, multicast and broadcast addresses, addresses of one link only (IPv4 and IPv6), and
// any of this computer's own addresses (its interfaces and those its own candidates
// show) at one of its own ports (its candidates', and the ports its programs listen on).
class CandidatePolicy
{
public:
    // This computer's interface addresses, and no ports yet.
    CandidatePolicy();

    void setAllowLoopback(bool allow) { allowLoopback_ = allow; }
    void addOwnAddress(const QHostAddress &address);
    void addOwnPort(quint16 port) { ownPorts_.insert(port); }
    // The agent's own candidates: their addresses and ports.
    void addOwnCandidates(const QList<IceSignal::Candidate> &candidates);

    // Why the candidate is refused, for a log; empty when it may be checked.
    QString problem(const IceSignal::Candidate &candidate) const;
    // The candidates that may be checked.
    QList<IceSignal::Candidate> filter(const QList<IceSignal::Candidate> &candidates) const;

    // Why no candidate may be at `address` whoever offers it (loopback unless allowed,
    // unspecified, multicast, broadcast, one link only); empty when it may.
    static QString addressProblem(const QHostAddress &address, bool allowLoopback);
    // An IPv4-mapped IPv6 address as IPv4, any other as it is.
    static QHostAddress plain(const QHostAddress &address);

private:
    bool allowLoopback_ = false;
    QList<QHostAddress> ownAddresses_;
    QSet<quint16> ownPorts_;
};
