#include "localsubnets.h"

#include <QNetworkInterface>

namespace {

constexpr qint64 rereadAfterMs = 1000;
// Subnets of 31 and 32 bits have no network or broadcast address of their own.
constexpr int lastPrefixWithBroadcast = 30;

QHostAddress plain(const QHostAddress &address)
{
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(v4) : address;
}

bool isHostOf(const QHostAddress &address, const QNetworkAddressEntry &entry)
{
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
    if (!read_ || (!isAnswerable(address, entries_) && nowMs - readAt_ >= rereadAfterMs)) {
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
    for (const QNetworkAddressEntry &entry : entries)
        if (isHostOf(address, entry))
            return true;
    return false;
}

LocalSubnets::Entries LocalSubnets::systemEntries()
{
    Entries entries;
    for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces())
        if (iface.flags().testFlag(QNetworkInterface::IsUp))
            entries += iface.addressEntries();
    return entries;
}
