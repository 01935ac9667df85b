#pragma once

#include <QString>

// A game host's address as players type it and as the game's command line carries it:
// "host", "host:port" or "[IPv6 address]:port". Shared by the game window, which joins
// it, and the lobby, which checks it first and writes it for listed games.
namespace GameAddress {

struct Target
{
    QString host;
    quint16 port;
};

// The host and port an address names: "host:port" and "[IPv6 address]:port" name their
// port (1 to 65535); any other text, a bare IPv6 address included, is the host itself
// at `defaultPort`.
Target parse(const QString &address, quint16 defaultPort);

// The address that names `host` at `port`, as parse() reads it back: the host alone
// at `defaultPort`, an IPv6 address in brackets.
QString format(const QString &host, quint16 port, quint16 defaultPort);

} // namespace GameAddress
