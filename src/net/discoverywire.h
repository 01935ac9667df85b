#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

// The datagrams with which lobbies find games on the local network: a pure codec,
// no sockets. Every integer is big-endian.
//
// Header, 12 bytes, in every datagram:
//   0  4  magic "WWDG"
//   4  1  format version, 1
//   5  1  kind: 1 query, 2 reply, 3 hello (a host started or changed), 4 goodbye
//   6  2  reserved, written 0, ignored
//   8  4  nonce: a query's own; a reply echoes the nonce of the query it answers;
//         0 in hello and goodbye
//
// A query is exactly queryBytes long: the header, then zero padding. It is longer
// than any answer, so a host answering a forged query never sends more bytes than
// it received.
//
// A reply, hello or goodbye describes one game; after the header:
//   12  8  instance: a random number a host draws when it starts
//   20  2  the game's TCP port (not 0)
//   22  1  players (slots in use by logged-in players who play)
//   23  1  watchers
//   24  1  capacity: slots in all, 1 to 10; players + watchers <= capacity
//   25  1  flags: bit 0 a game is running; other bits 0, ignored
//   26  1  board-size code of the game: 4 to 11, or 0 before the first game
//   27  1  minimum word length: 3 to 12, or 0 before the first game
//   28  2  target score (0 plays one round)
//   30  2  round length in seconds
//   32  1  V, the length of the version text, 0 to maxVersionBytes
//   33  V  version text, printable ASCII (0x21 to 0x7E)
//   ..  1  N, the length of the host player's name, 0 to maxNameBytes
//   ..  N  the name in the game's 8-bit wire text (Latin-1); empty until slot 1 logs in
// and nothing after it.
//
// A datagram is taken only when every rule above holds, its length included; anything
// else is ignored as a whole.
namespace DiscoveryWire {

inline constexpr quint16 defaultPort = 7773;
// An organisation-local IPv4 multicast group; queries and hellos are sent to it and
// to the IPv4 broadcast address of every interface.
inline constexpr char multicastGroup[] = "239.255.77.72";
inline constexpr quint8 formatVersion = 1;
inline constexpr int headerBytes = 12;
inline constexpr int queryBytes = 128;
inline constexpr int maxVersionBytes = 16;
inline constexpr int maxNameBytes = 48;
inline constexpr int fixedGameBytes = headerBytes + 20 + 1 + 1;
inline constexpr int maxGameBytes = fixedGameBytes + maxVersionBytes + maxNameBytes;
// No valid datagram is longer; a reader may ignore longer ones unread.
inline constexpr int maxDatagramBytes = queryBytes;
inline constexpr int maxCapacity = 10;
static_assert(maxGameBytes < queryBytes, "an answer is never longer than the query it answers");

enum class Kind : quint8 { Query = 1, Reply = 2, Hello = 3, Goodbye = 4 };

struct Game
{
    Kind kind = Kind::Hello;
    quint32 nonce = 0;
    quint64 instance = 0;
    quint16 port = 0;
    quint8 players = 0;
    quint8 watchers = 0;
    quint8 capacity = maxCapacity;
    bool running = false;
    quint8 sizeCode = 0;
    quint8 minLetters = 0;
    quint16 target = 0;
    quint16 roundSeconds = 0;
    QByteArray version;
    QByteArray hostName;

    friend bool operator==(const Game &, const Game &) = default;
};

struct Datagram
{
    Kind kind = Kind::Query;
    quint32 nonce = 0;
    // Set for every kind but a query.
    std::optional<Game> game;
};

QByteArray encodeQuery(quint32 nonce);

// The game's datagram. Values the format cannot carry are brought into it: counts are
// clamped to the capacity, codes out of range become 0, the version is cut at the first
// byte that is not printable ASCII and at maxVersionBytes, the name at maxNameBytes.
// A game whose port is 0 gives an empty array.
QByteArray encodeGame(const Game &game);

// The datagram, or nothing when it breaks any rule of the format.
std::optional<Datagram> decode(QByteArrayView bytes);

} // namespace DiscoveryWire
