#pragma once

#include <QHostAddress>
#include <QList>
#include <QNetworkAddressEntry>

#include <functional>

// Which addresses a host answers discovery queries from: the loopback addresses and
// the hosts of the subnets its own interfaces are on, never a broadcast, multicast or
// unspecified address, nor a subnet's network or broadcast address. A query whose
// source is one of those is forged, and an answer to it would reach every machine of
// the subnet; one from elsewhere cannot come from a lobby on this network, and is
// turned away before it is counted against the answers a second may carry.
//
// The other end of a point-to-point link (ppp, tun), whose own address is usually a
// /32, is answered too, and no other address of that link.
//
// The interfaces' address entries are read when first needed, again (at most once a
// second, by the caller's clock) when an address matches none of them, so an
// interface that came up meanwhile is soon known, and again when they are a few
// seconds old, so a subnet that shrank or an interface that went away stops being
// answered.
class LocalSubnets
{
public:
    struct Entry
    {
        QNetworkAddressEntry address;
        // The other end of a point-to-point interface; null elsewhere.
        QHostAddress peer;
    };
    using Entries = QList<Entry>;
    using Source = std::function<Entries()>;

    // `source` gives the entries of the interfaces that are up; those of this
    // machine when empty.
    explicit LocalSubnets(Source source = {});

    // Whether `address` may be answered; `nowMs` is a monotonic clock in milliseconds.
    bool isAnswerable(const QHostAddress &address, qint64 nowMs);

    // The rule itself, over the entries given.
    static bool isAnswerable(const QHostAddress &address, const Entries &entries);
    // The address entries of this machine's interfaces that are up, with their peers.
    static Entries systemEntries();

private:
    Source source_;
    Entries entries_;
    qint64 readAt_ = 0;
    bool read_ = false;
};
