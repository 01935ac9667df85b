#pragma once

#include <QString>

// Which way a game connection goes between a joining player and the host.
namespace IcePath {

enum class Way {
    Unknown,
    Direct, // straight to the host's address: public, forwarded, or on the same network
    ThroughRouters, // both ends behind routers, their mappings found with STUN
    RouterPort, // through a port a router opened by UPnP
    Relayed, // through the community's TURN relay
};

enum class Candidate { Host, ServerReflexive, PeerReflexive, Relayed };

// The way a working pair of candidates goes. `typePreference` is the top byte of a
// candidate's priority: a server-reflexive candidate a router opened by UPnP has a
// higher one than a mapping learned from a STUN server (105 against 100, halved for
// UDP under a reliable agent: 52 against 50).
Way classify(Candidate local, int localTypePreference, Candidate remote, int remoteTypePreference);

// "directly", "through your routers", ... for "The game is connected %1."
QString words(Way way);
// A short name for logs and tests: "direct", "stun", "upnp", "relay".
QString name(Way way);

} // namespace IcePath
