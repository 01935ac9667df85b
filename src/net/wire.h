#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>
#include <span>

// The version text both sides exchange at login ("CMD_logininfo"); the about window
// shows it.
inline constexpr char wendlewickVersion[] = "1.0.7";

// The game's wire protocol: the text conversion, the board and tile types, the
// command words, and one builder per message.
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

// Text to the wire's 8-bit Latin-1: a character Latin-1 cannot carry, and "ÿ"
// (whose code is the terminator), become "?".
QByteArray toWire(const QString &text);
// Wire bytes to text, as Latin-1.
QString fromWire(QByteArrayView bytes);
// The bytes with every 0xFF replaced by "?".
QByteArray sanitized(QByteArrayView bytes);
// A peer's text as a log or a list shows it: control characters (C0, DEL and C1,
// which a terminal may take as the start of an escape sequence) become "?".
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
QByteArray justwatch(int slot, int mode);
// "CMD_kickhim+" requester "+" target "+"
QByteArray kickhim(int requester, int target);
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
QByteArray notvalid(int slot, int reason, QByteArrayView word);
// "CMD_addscore+" slot "+" points "+" total "+"
QByteArray addscore(int slot, int points, int total);
// "CMD_goodword+" slot "+" points "+" word "+" tiles "+" first "+"
QByteArray goodword(int slot, int points, QByteArrayView word, int tiles, int first);
// "CMD_timeup", then "+" s "+" round "+" total for s = 1 .. 10
QByteArray timeup(
    const std::array<int, slotCount> &roundScores, const std::array<int, slotCount> &gameScores);
// "CMD_mainlist+" slot, then "+" word per word, or "+No Words" when there is none
QByteArray mainlist(int slot, const QList<QByteArray> &words);
// "CMD_winner+" name "+"
QByteArray winner(QByteArrayView name);
} // namespace ToPlayer

} // namespace Wire
