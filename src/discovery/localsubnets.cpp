#include "localsubnets.h"

#include <QNetworkInterface>

#include <ifaddrs.h>
#include <net/if.h>

namespace {

constexpr qint64 rereadAfterMs = 1000;
constexpr qint64 maxAgeMs = 5000;
// Subnets of 31 and 32 bits have no network or broadcast address of their own.
constexpr int lastPrefixWithBroadcast = 30;

QHostAddress plain(const QHostAddress &address)
{
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(v4) : address;
}

bool isHostOf(const QHostAddress &address, const LocalSubnets::Entry &given)
{
    if (!given.peer.isNull() && address.isEqual(plain(given.peer)))
        return true;
    const QNetworkAddressEntry &entry = given.address;
    const QHostAddress own = plain(entry.ip());
    const int prefix = entry.prefixLength();
    if (prefix < 0 || own.protocol() != address.protocol() || !address.isInSubnet(own, prefix))
        return false;
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return true;
    if (!entry.broadcast().isNull() && address.isEqual(entry.broadcast()))
        return false;
    if (prefix > lastPrefixWithBroadcast)
        return true;
    const auto hostMask = quint32((quint64(1) << (32 - prefix)) - 1);
    const quint32 hostBits = address.toIPv4Address() & hostMask;
    return hostBits != 0 && hostBits != hostMask;
}

} // namespace

LocalSubnets::LocalSubnets(Source source)
    : source_(source ? std::move(source) : Source(&LocalSubnets::systemEntries))
{ }

bool LocalSubnets::isAnswerable(const QHostAddress &address, qint64 nowMs)
{
    const qint64 age = nowMs - readAt_;
    if (!read_ || age >= maxAgeMs || (age >= rereadAfterMs && !isAnswerable(address, entries_))) {
        entries_ = source_();
        readAt_ = nowMs;
        read_ = true;
    }
    return isAnswerable(address, entries_);
}

bool LocalSubnets::isAnswerable(const QHostAddress &given, const Entries &entries)
{
    const QHostAddress address = plain(given);
    if (address.isNull() || address.isEqual(QHostAddress::AnyIPv4) || address.isEqual(QHostAddress::AnyIPv6)
        || address.isMulticast() || address.isBroadcast())
        return false;
    if (address.isLoopback())
        return true;
    for (const Entry &entry : entries)
        if (isHostOf(address, entry))
            return true;
    return false;
}

LocalSubnets::Entries LocalSubnets::systemEntries()
{
    // QNetworkInterface tells no peers: getifaddrs does, for point-to-point interfaces.
    struct Peer
    {
        QString interface;
        QHostAddress own;
        QHostAddress peer;
    };
    QList<Peer> peers;
    ifaddrs *all = nullptr;
    if (getifaddrs(&all) == 0) {
        for (const ifaddrs *i = all; i; i = i->ifa_next)
            if ((i->ifa_flags & IFF_POINTOPOINT) && i->ifa_addr && i->ifa_dstaddr)
                peers.append({QString::fromLocal8Bit(i->ifa_name), QHostAddress(i->ifa_addr),
                    QHostAddress(i->ifa_dstaddr)});
        freeifaddrs(all);
    }
    Entries entries;
    for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces()) {
        if (!iface.flags().testFlag(QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry &address : iface.addressEntries()) {
            Entry entry {address, {}};
            for (const Peer &p : peers)
                if (p.interface == iface.name() && p.own.isEqual(address.ip()))
                    entry.peer = p.peer;
            entries += entry;
        }
    }
    return entries;
}
