#include "candidatepolicy.h"

#include <QNetworkInterface>

CandidatePolicy::CandidatePolicy()
{
    for (const QHostAddress &address : QNetworkInterface::allAddresses())
        addOwnAddress(address);
}

QHostAddress CandidatePolicy::plain(const QHostAddress &address)
{
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    if (mapped && address.protocol() == QAbstractSocket::IPv6Protocol)
        return QHostAddress(v4);
    QHostAddress a = address;
    a.setScopeId(QString());
    return a;
}

void CandidatePolicy::addOwnAddress(const QHostAddress &address)
{
    const QHostAddress a = plain(address);
    if (!a.isNull() && !ownAddresses_.contains(a))
        ownAddresses_.append(a);
}

void CandidatePolicy::addOwnCandidates(const QList<IceSignal::Candidate> &candidates)
{
    for (const IceSignal::Candidate &c : candidates) {
        addOwnAddress(c.address);
        addOwnPort(c.port);
    }
}

QString CandidatePolicy::addressProblem(const QHostAddress &address, bool allowLoopback)
{
    const QHostAddress a = plain(address);
    if (a.isNull() || a.isEqual(QHostAddress::AnyIPv4) || a.isEqual(QHostAddress::AnyIPv6)
        || (a.protocol() == QAbstractSocket::IPv4Protocol && (a.toIPv4Address() >> 24) == 0))
        return QStringLiteral("%1 is no one's address").arg(a.toString());
    if (a.isLoopback() && !allowLoopback)
        return QStringLiteral("%1 is a loopback address").arg(a.toString());
    if (a.isMulticast() || a.isBroadcast())
        return QStringLiteral("%1 is a multicast or broadcast address").arg(a.toString());
    // Of one link only (169.254/16, fe80::/10): never reachable across a router, and
    // 169.254.169.254 answers for a cloud machine's own secrets.
    if (a.isLinkLocal())
        return QStringLiteral("%1 is an address of one link only").arg(a.toString());
    return {};
}

QString CandidatePolicy::problem(const IceSignal::Candidate &candidate) const
{
    if (QString why = addressProblem(candidate.address, allowLoopback_); !why.isEmpty())
        return why;
    const QHostAddress a = plain(candidate.address);
    if (ownAddresses_.contains(a) && ownPorts_.contains(candidate.port))
        return QStringLiteral("%1 port %2 is this computer's own").arg(a.toString()).arg(candidate.port);
    return {};
}

QList<IceSignal::Candidate> CandidatePolicy::filter(const QList<IceSignal::Candidate> &candidates) const
{
    QList<IceSignal::Candidate> allowed;
    for (const IceSignal::Candidate &c : candidates)
        if (problem(c).isEmpty())
            allowed.append(c);
    return allowed;
}
