#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// What the game tells the lobby on its companion connection (127.0.0.1, port 9001):
// a pure codec, no sockets. The game writes lines of printable ASCII, each ended by
// a line feed and at most maxLineBytes long with it, fields apart by one blank:
//
//   WWC/1 ended <reason>
//
// sent once, right before the game's window closes because its connection to the
// host closed. <reason> is why:
//   host-closed  the host closed the connection: it quit (or its program ended)
//   removed      the host player removed this player from the game
//   full         the host refused this player: every place was taken
//   lost         the connection failed, or the host sent more than a player takes
// A player who closes the window sends nothing. A lost game whose seat the host still
// keeps for this player (who gave up coming back to it) says for how many seconds:
//
//   WWC/1 ended lost rejoin <seconds>
//
// and a lobby may offer to rejoin it meanwhile; an earlier lobby reads a lost game.
//
// The first field names the format and its version. A reader takes a line only when
// it is whole and every field it knows is one it knows: another version, another
// verb, another reason, a byte that is not printable ASCII, a line longer than
// maxLineBytes: the line is dropped as a whole, and the next one is read as usual.
// Fields after the reason are ignored, so later programs may add to a line (or send
// new verbs) without a new version; a new version is for changes a reader of this
// one would misread. A lobby that reads and drops every byte is not troubled.
namespace CompanionWire {

inline constexpr char formatTag[] = "WWC/1";
inline constexpr int maxLineBytes = 128;

enum class Ending { HostClosed, Removed, Full, Lost };

inline constexpr int maxRejoinSeconds = 24 * 3600;

struct Message
{
    // Only one kind so far: the game has ended.
    Ending ending = Ending::HostClosed;
    // A lost game's seat is kept this many more seconds (1 to maxRejoinSeconds); 0: none.
    int rejoinSeconds = 0;

    friend bool operator==(const Message &, const Message &) = default;
};

// The line, line feed included.
QByteArray encode(const Message &message);
// One line without its line feed; nothing when it is not one this version takes.
std::optional<Message> decode(QByteArrayView line);

// One connection's incoming bytes, cut into lines; keeps at most maxLineBytes of a
// line not yet ended.
class Reader
{
public:
    // Takes the bytes that arrived; returns the messages of the lines they end.
    QList<Message> append(QByteArrayView bytes);

private:
    QByteArray partial_;
    // The line under way is already too long: its bytes are dropped up to its end.
    bool skipping_ = false;
};

} // namespace CompanionWire
