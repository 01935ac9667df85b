#pragma once

#include "discoverywire.h"
#include "xmlpayload.h"

#include <optional>

// The game a host announces in its room presence: the description a hello datagram
// on the local network carries, and where players on the internet connect:
//
//   <game xmlns="urn:x-wendlewick:game:1" address="203.0.113.7" port="7772">
//     base64 of the hello datagram (DiscoveryWire, kind 3)
//   </game>
//
// `address` is an IPv4 or IPv6 address or a DNS name, `port` the TCP port players
// connect to there (after a router's forwarding it may differ from the port inside the
// datagram). An element is taken only when every rule above and every rule of the
// datagram holds.
namespace GamePayload {

inline const QString elementName = QStringLiteral("game");
inline const QString ns = QStringLiteral("urn:x-wendlewick:game:1");
// The base64 of the longest datagram.
inline constexpr int maxTextChars = (DiscoveryWire::maxGameBytes + 2) / 3 * 4;

struct Announced
{
    DiscoveryWire::Game game;
    QString address;
    quint16 port = 0;
};

XmlPayload encode(const DiscoveryWire::Game &game, const QString &address, quint16 port);

// The announced game, or nothing when the element breaks any rule. Whether the address
// is one players can reach is GameLink::addressProblem()'s to say.
std::optional<Announced> decode(const XmlPayload &payload);

} // namespace GamePayload
