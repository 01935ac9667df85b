#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <QStringList>

#include <array>
#include <optional>
#include <span>

// The version text both sides exchange at login ("CMD_logininfo"); the about window
// shows it.
inline constexpr char wendlewickVersion[] = "1.0.7";

// The game's wire protocol: the text conversion, the board and tile types, the
// command words, one builder per message, and one decoder per message the host sends.
//
// A message is a command word, "+", and fields separated by "+", ended by the byte
// 0xFF. Every builder returns the complete bytes of one message, terminator
// included, ready for one TSock::Send. Nothing is escaped, so every builder writes
// "?" for a 0xFF byte inside a field: no field ever ends a message early. A message
// never holds a line break either (receivers may keep one message a line): a carriage
// return or line feed in a field goes out as a blank.
namespace Wire {

inline constexpr char terminator = char(0xFF);
inline constexpr int boardSize = 10;
// Cell code of a cell without a tile; letters are 1 (a) to 26 (z).
inline constexpr int noTile = 29;
inline constexpr int maxTiles = 12;
inline constexpr int slotCount = 10;

// The board as the host deals it: [row][column], both 0 to 9.
using BoardCells = std::array<std::array<int, boardSize>, boardSize>;

struct Tile
{
    int row = -1;
    int col = -1;
    friend bool operator==(const Tile &, const Tile &) = default;
};

// Why the host refused a claimed word ("CMD_notvalid"). Another host may send other
// numbers; they arrive as they are.
enum class RejectReason { NotAWord = 1, AlreadyFound = 2, TooShort = 3 };
// Whether the claimer was the round's first to find the word ("CMD_goodword").
enum class Finder { First = 1, Later = 2 };
// A player's mode in "CMD_justwatch" and "CMD_justwatching".
enum class WatchMode { Watch = 1, PlayAgain = 2 };
// The host's phase in "CMD_loadstats": a round is running, the pause between rounds,
// the wait before a new game.
enum class HostPhase { RoundRunning = 1, Pause = 2, RestartWait = 3 };

// The secret with which a player whose connection dropped takes its held seat back:
// 128 random bits, on the wire as 32 lower-case hexadecimal digits. Only the host and
// that player ever hold it.
using RejoinToken = std::array<quint8, 16>;
inline constexpr qsizetype rejoinTokenDigits = 32;
// The version of coming back that "CMD_canrejoin" offers.
inline constexpr int rejoinVersion = 1;
// The token as the wire writes it.
QByteArray tokenText(const RejoinToken &token);
// Exactly 32 lower-case hexadecimal digits; nothing for anything else.
std::optional<RejoinToken> tokenFromText(QByteArrayView text);

// A word a player had accepted in the round, as the host keeps it.
struct FoundWord
{
    QByteArray word;
    int points = 0;
    Finder finder = Finder::Later;
};

// Text to the wire's 8-bit Latin-1: a character Latin-1 cannot carry, and "ÿ"
// (whose code is the terminator), become "?".
QByteArray toWire(const QString &text);
// Wire bytes to text, as Latin-1.
QString fromWire(QByteArrayView bytes);
// The bytes with every 0xFF replaced by "?".
QByteArray sanitized(QByteArrayView bytes);
// A peer's text as a log or a list shows it, never sent on: control characters (C0,
// DEL and C1, which a terminal may take as the start of an escape sequence), line and
// paragraph separators and format characters other than the joiners (direction
// overrides, which make text read as other text) become "?".
QString printable(QString text);

namespace Cmd {
inline constexpr QByteArrayView logininfo = "CMD_logininfo";
inline constexpr QByteArrayView startgame = "CMD_startgame";
inline constexpr QByteArrayView playerdone = "CMD_playerdone";
inline constexpr QByteArrayView chat = "CMD_chat";
inline constexpr QByteArrayView action = "CMD_action";
inline constexpr QByteArrayView playasound = "CMD_playasound";
inline constexpr QByteArrayView justwatch = "CMD_justwatch";
inline constexpr QByteArrayView kickhim = "CMD_kickhim";
inline constexpr QByteArrayView sendlogininfo = "CMD_sendlogininfo";
inline constexpr QByteArrayView full = "CMD_full";
inline constexpr QByteArrayView newplayerinfo = "CMD_newplayerinfo";
inline constexpr QByteArrayView existingplayers = "CMD_existingplayers";
inline constexpr QByteArrayView havewrongversion = "CMD_havewrongversion";
inline constexpr QByteArrayView wrongversion = "CMD_wrongversion";
inline constexpr QByteArrayView loadboard = "CMD_loadboard";
inline constexpr QByteArrayView loadstats = "CMD_loadstats";
inline constexpr QByteArrayView playerdisconnected = "CMD_playerdisconnected";
inline constexpr QByteArrayView justwatching = "CMD_justwatching";
inline constexpr QByteArrayView nextplayer = "CMD_nextplayer";
inline constexpr QByteArrayView notvalid = "CMD_notvalid";
inline constexpr QByteArrayView addscore = "CMD_addscore";
inline constexpr QByteArrayView goodword = "CMD_goodword";
inline constexpr QByteArrayView timeup = "CMD_timeup";
inline constexpr QByteArrayView mainlist = "CMD_mainlist";
inline constexpr QByteArrayView winner = "CMD_winner";
// Coming back after a dropped connection. Copies of the game that do not know these
// ignore them, as every receiver ignores a command word it does not know: the host
// sends the last six only to players that offered "CMD_canrejoin", and "CMD_hostclosing"
// only on its way out.
inline constexpr QByteArrayView canrejoin = "CMD_canrejoin";
inline constexpr QByteArrayView rejoin = "CMD_rejoin";
inline constexpr QByteArrayView leaving = "CMD_leaving";
inline constexpr QByteArrayView hostclosing = "CMD_hostclosing";
inline constexpr QByteArrayView rejointoken = "CMD_rejointoken";
inline constexpr QByteArrayView welcomeback = "CMD_welcomeback";
inline constexpr QByteArrayView rejoinrefused = "CMD_rejoinrefused";
inline constexpr QByteArrayView playeraway = "CMD_playeraway";
inline constexpr QByteArrayView playerback = "CMD_playerback";
inline constexpr QByteArrayView seats = "CMD_seats";
inline constexpr QByteArrayView foundwords = "CMD_foundwords";
// "CMD_stillhere+" slot "+", both ways: a connection that can come back shows it is alive
// while nothing else passes. Each side sends it only to a peer that offered to come
// back (the host) or gave a token (the window), and only the host answers in kind once
// the window sent one; each side watches for silence only after the other sent one.
inline constexpr QByteArrayView stillhere = "CMD_stillhere";
} // namespace Cmd

// Player to host. Text arguments are converted with toWire().
namespace ToHost {
// "CMD_logininfo+" slot "+" version "+" name
QByteArray logininfo(int slot, const QString &version, const QString &name);
// "CMD_startgame+" starter "+" target "+" seconds "+" boardcode "+" minletters "+0+"
QByteArray startgame(const QString &starter, int target, int seconds, int boardCode, int minLetters);
// "CMD_playerdone+" slot, then "+" k "+" row "+" col for k = 1 .. n
QByteArray playerdone(int slot, std::span<const Tile> tiles);
// "CMD_chat+" slot "+" text "|" colour
QByteArray chat(int slot, const QString &text, const QString &colour);
// "CMD_action+" slot "+" text "|" colour
QByteArray action(int slot, const QString &text, const QString &colour);
// "CMD_playasound+" slot "+wave" number "+"
QByteArray playasound(int slot, int number);
// "CMD_justwatch+" slot "+" mode (1 = watch, 2 = play again)
QByteArray justwatch(int slot, WatchMode mode);
QByteArray justwatch(int slot, int mode);
// "CMD_kickhim+" requester "+" target "+"
QByteArray kickhim(int requester, int target);
// "CMD_canrejoin+" slot "+" version "+": sent with the login (before CMD_logininfo),
// this player can come back to a held seat.
QByteArray canrejoin(int slot);
// "CMD_rejoin+" token "+": the first words on a new connection of a returning player.
QByteArray rejoin(const RejoinToken &token);
// "CMD_leaving+" slot "+": the player leaves on purpose; the seat goes at once.
QByteArray leaving(int slot);
// "CMD_stillhere+" slot "+": this window is still there.
QByteArray stillhere(int slot);
} // namespace ToHost

// Host to players. Text arguments are wire bytes as the host keeps them.
namespace ToPlayer {
struct RosterEntry
{
    int slot = 0;
    QByteArray name;
    bool watching = false;
};

// "CMD_sendlogininfo+" slot
QByteArray sendlogininfo(int slot);
// "CMD_full+"
QByteArray full();
// "CMD_newplayerinfo+" slot "+" name "+0"
QByteArray newplayerinfo(int slot, QByteArrayView name);
// "CMD_existingplayers", then "+" slot "+" name "+" watching (1 or 0) per entry
QByteArray existingplayers(std::span<const RosterEntry> players);
// "CMD_havewrongversion+" name
QByteArray havewrongversion(QByteArrayView name);
// "CMD_wrongversion+"
QByteArray wrongversion();
// "CMD_loadboard", then "+" row "+" col "+" code for all 100 cells, rows outer
QByteArray loadboard(const BoardCells &board);
// "CMD_loadstats+" slot "+" target "+" seconds "+" boardcode "+" minletters "+" left
// "+" phase, then "+" s "+" score for s = 1 .. 10
QByteArray loadstats(int slot, int target, int seconds, int boardCode, int minLetters, int left, int phase,
    const std::array<int, slotCount> &scores);
// "CMD_playerdisconnected+" slot "+" name
QByteArray playerdisconnected(int slot, QByteArrayView name);
// "CMD_justwatching+" slot "+" mode
QByteArray justwatching(int slot, WatchMode mode);
QByteArray justwatching(int slot, int mode);
// "CMD_chat+" slot "+" name " chats: " rest
QByteArray chat(int slot, QByteArrayView name, QByteArrayView rest);
// "CMD_action+" slot "+" name " " rest
QByteArray action(int slot, QByteArrayView name, QByteArrayView rest);
// "CMD_playasound+" slot "+" rest
QByteArray playasound(int slot, QByteArrayView rest);
// "CMD_startgame+" f1 "+" ... "+" f6 "+"
QByteArray startgame(const std::array<QByteArray, 6> &fields);
// "CMD_nextplayer+" slot "+"
QByteArray nextplayer(int slot);
// "CMD_notvalid+" slot "+" reason "+" word "+"
QByteArray notvalid(int slot, RejectReason reason, QByteArrayView word);
QByteArray notvalid(int slot, int reason, QByteArrayView word);
// "CMD_addscore+" slot "+" points "+" total "+"
QByteArray addscore(int slot, int points, int total);
// "CMD_goodword+" slot "+" points "+" word "+" tiles "+" first "+"
QByteArray goodword(int slot, int points, QByteArrayView word, int tiles, Finder first);
QByteArray goodword(int slot, int points, QByteArrayView word, int tiles, int first);
// "CMD_timeup", then "+" s "+" round "+" total for s = 1 .. 10
QByteArray timeup(
    const std::array<int, slotCount> &roundScores, const std::array<int, slotCount> &gameScores);
// "CMD_mainlist+" slot, then "+" word per word, or "+No Words" when there is none
QByteArray mainlist(int slot, const QList<QByteArray> &words);
// "CMD_winner+" name "+"
QByteArray winner(QByteArrayView name);

// "CMD_rejointoken+" slot "+" token "+" grace "+": after the login of a player that can
// come back, its token and the seconds its seat is held after a drop.
QByteArray rejointoken(int slot, const RejoinToken &token, int graceSeconds);
// "CMD_welcomeback+" slot "+" token "+" grace "+": a returning player has its seat
// back, and a new token for the next time; it answers with CMD_logininfo for the slot.
QByteArray welcomeback(int slot, const RejoinToken &token, int graceSeconds);
// "CMD_rejoinrefused+": no seat for that token. The connection closes.
QByteArray rejoinrefused();
// "CMD_playeraway+" slot "+": the slot's connection dropped; its seat is held.
QByteArray playeraway(int slot);
// "CMD_playerback+" slot "+": the slot's player is back.
QByteArray playerback(int slot);
// "CMD_seats", then "+" slot "+" name "+" watching "+" away (1 or 0) for every seat
// taken: the roster as a returning player finds it.
struct Seat
{
    int slot = 0;
    QByteArray name;
    bool watching = false;
    bool away = false;
};
QByteArray seats(std::span<const Seat> taken);
// "CMD_foundwords+" slot, then "+" word "+" points "+" first (1 or 2) per word: the
// words a returning player had accepted in the running round. It ends a return.
QByteArray foundwords(int slot, std::span<const FoundWord> words);
// "CMD_hostclosing+": the host is ending; nobody should try to come back.
QByteArray hostclosing();
// "CMD_stillhere+" slot "+": the host is still there.
QByteArray stillhere(int slot);
} // namespace ToPlayer

// Host to players, decoded: one function per message, each given the rest of the
// message after its command word and "+". Fields are read as the player's handlers
// read them (FieldReader): a field that should be a number and is not abandons the
// message there. A decoder returns nothing when the message is abandoned before any of
// it can be used. Where a handler keeps what it did before the failing field, the
// decoder keeps it too: the fields after it are left empty (nullopt), and a list ends
// at the record that failed, with `complete` false. Text is converted with fromWire().
namespace FromHost {

// "CMD_sendlogininfo": the slot the host gave this connection, 1 or more.
std::optional<int> sendlogininfo(QByteArrayView rest);

// "CMD_newplayerinfo" and "CMD_existingplayers": slot, name and watch flag per player.
struct PlayerRecord
{
    int slot = 0;
    QString name;
    bool watching = false; // the flag is exactly "1"
};
struct PlayerRecords
{
    QList<PlayerRecord> players;
    bool complete = true;
};
PlayerRecords newplayerinfo(QByteArrayView rest);

// "CMD_playerdisconnected": slot and name.
struct PlayerLeft
{
    int slot = 0;
    QString name;
};
std::optional<PlayerLeft> playerdisconnected(QByteArrayView rest);

// "CMD_justwatching": slot and mode; anything but exactly "1" plays again.
struct JustWatching
{
    int slot = 0;
    WatchMode mode = WatchMode::PlayAgain;
};
std::optional<JustWatching> justwatching(QByteArrayView rest);

// "CMD_addscore": slot, the word's points and the new total.
struct AddScore
{
    int slot = 0;
    int points = 0;
    std::optional<int> total;
};
std::optional<AddScore> addscore(QByteArrayView rest);

// "CMD_loadstats": the game under way, for a player who joins it late.
struct GameUnderWay
{
    int target = 0;
    std::optional<int> roundSeconds; // nothing when not a number
    int boardCode = 0;
    int minLetters = 0;
    int secondsLeft = 0;
    HostPhase phase = HostPhase::RoundRunning; // any number, as the host sent it
    QList<std::pair<int, int>> scores; // slot and game score
    bool complete = true; // false: the scores stop at a pair that is no number
};
struct LoadStats
{
    int slot = 0;
    // Nothing when a number of fields 2 to 7 does not convert.
    std::optional<GameUnderWay> game;
};
std::optional<LoadStats> loadstats(QByteArrayView rest);

// "CMD_mainlist": the slot, then the round's words; "No Words" alone is no word.
struct MainList
{
    int slot = 0;
    QStringList words;
};
std::optional<MainList> mainlist(QByteArrayView rest);

// "CMD_startgame": the starter, the target (shown as the host wrote it), the round
// seconds, the board-size code and the minimum word length.
struct StartGame
{
    QString starter;
    QString target;
    std::optional<int> roundSeconds; // nothing when not a number
    std::optional<int> minLetters; // nothing when not a number: the start stops there
    std::optional<int> boardCode; // nothing when not a number, or without minLetters
};
StartGame startgame(QByteArrayView rest);

// "CMD_nextplayer": the slot that may enter words now.
std::optional<int> nextplayer(QByteArrayView rest);

// "CMD_timeup": slot, the round's points and the game score per player.
struct RoundScore
{
    int slot = 0;
    int points = 0;
    int total = 0;
};
struct TimeUp
{
    QList<RoundScore> scores;
    bool complete = true;
};
TimeUp timeup(QByteArrayView rest);

// "CMD_winner": the winner's name.
QString winner(QByteArrayView rest);

// "CMD_loadboard": cell groups, first index, second index and code.
struct BoardCell
{
    int row = 0;
    int col = 0;
    int code = 0;
};
QList<BoardCell> loadboard(QByteArrayView rest);

// "CMD_goodword": slot, points, the word, its tiles and whether it was found first.
struct GoodWord
{
    int slot = 0;
    int points = 0;
    QString word;
    int tiles = 0;
    Finder finder = Finder::Later; // First when the flag is 1
};
std::optional<GoodWord> goodword(QByteArrayView rest);

// "CMD_notvalid": slot, the reason and the word.
struct NotValid
{
    int slot = 0;
    RejectReason reason = RejectReason::NotAWord;
    QString word;
};
std::optional<NotValid> notvalid(QByteArrayView rest);

// "CMD_chat", "CMD_action", "CMD_havewrongversion" and "CMD_playasound" carry one text,
// the rest as it came.
QString text(QByteArrayView rest);

// "CMD_rejointoken" and "CMD_welcomeback": the seat, the token and the seconds the seat
// is held after a drop (1 to maxGraceSeconds). Nothing unless all three are sound.
inline constexpr int maxGraceSeconds = 24 * 3600;
struct RejoinTicket
{
    int slot = 0;
    RejoinToken token {};
    int graceSeconds = 0;
};
std::optional<RejoinTicket> rejointoken(QByteArrayView rest);

// "CMD_playeraway" and "CMD_playerback": the slot.
std::optional<int> slotOf(QByteArrayView rest);

// "CMD_seats": every seat taken.
struct SeatRecord
{
    int slot = 0;
    QString name;
    bool watching = false; // exactly "1"
    bool away = false; // exactly "1"
};
struct Seats
{
    QList<SeatRecord> seats;
    bool complete = true;
};
Seats seats(QByteArrayView rest);

// "CMD_foundwords": the slot and its words of the round.
struct Found
{
    QString word;
    int points = 0;
    bool first = false; // exactly 1
};
// The most words a CMD_foundwords list yields; the rest is dropped, as incomplete.
inline constexpr int maxFoundWords = 5000;
struct FoundWords
{
    int slot = 0;
    QList<Found> words;
    bool complete = true;
};
std::optional<FoundWords> foundwords(QByteArrayView rest);

} // namespace FromHost

} // namespace Wire
