#pragma once

#include <QString>

#include <optional>

// Invitation links, "wendlewick://HOST[:PORT]": a game's address and nothing else.
// HOST is a name, an IPv4 address or an IPv6 address in brackets. A link with
// anything more (a user, a path beyond "/", a query, a fragment, escapes, blanks) is
// refused, so that nothing from a link can reach the game's command line but an
// address and a port.
namespace GameLink {

inline constexpr int maxLinkChars = 300;

struct Target
{
    QString host; // an IPv6 address without its brackets
    quint16 port = 0;
};

// The link's host and port (`defaultPort` when it names none), or nothing with
// `problem` saying why, for the player.
std::optional<Target> parse(const QString &link, quint16 defaultPort, QString *problem = nullptr);

// The link to `host` at `port`.
QString format(const QString &host, quint16 port);

// Why `host` and `port` cannot be a game's address (the unspecified address, a
// multicast or broadcast address, port 0, something that is neither a name nor an
// address, a loopback address unless `allowLoopback`); empty when they can.
QString addressProblem(const QString &host, quint16 port, bool allowLoopback);

} // namespace GameLink
