#pragma once

#include "wire.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <span>

class GameSession;
struct GameOptions;

// The client side of the protocol: each message from the host is matched against the
// client's command table, in the table's order, decoded once (Wire::FromHost) and
// handed to the game session. The player's requests to the host (login, starting a
// game, claiming a word, removing a player, watching, chat) are built here too, as the
// session's state allows, and leave through send().
//
// The login offers the host that this player can come back ("CMD_canrejoin"); the
// token the host answers with is handed on (ticketReceived). While a returning
// connection waits for the host's answer to its token, every other message is dropped,
// and while the player is offline no request is sent.
class ClientDispatch : public QObject
{
    Q_OBJECT

public:
    explicit ClientDispatch(GameSession &session, QObject *parent = nullptr);

    // Handles one message from the host (a tick of the dispatch timer).
    void processsocktimer(const QByteArray &message);

    // The roster's handlers of the table, each given the rest of its message.
    void sendloginfo(const QByteArray &rest);
    void newplayerinfo(const QByteArray &rest);
    void playerdisconnected(const QByteArray &rest);
    void justwatching(const QByteArray &rest);
    void addscore(const QByteArray &rest);
    void loadstats(const QByteArray &rest);
    void mainlist(const QByteArray &rest);

    // --- Requests to the host ---
    // Asks the host to remove the player in `slot`; only the host player's window asks.
    void kicking(int slot);
    // "Set to Just Watch" and "Unset Just Watch" of the roster menu, for `slot`.
    void SettoJustWatch1Click(int slot);
    void UnsetJustWatch1Click(int slot);
    // "Just Watch" of the Options menu: watch, or play again while watching.
    void JustWatch1Click();
    // The options dialog's Start: a new game with `options`, started by this player.
    void startgame(const GameOptions &options);
    // A finished word, as the tiles of the host's board; only while connected.
    void playerdone(std::span<const Wire::Tile> tiles);
    // A chat line, an action or a quick phrase: `command` and its fields.
    void sendMessage(const QString &command, const QStringList &fields);
    // The player leaves the game on purpose: the host gives the seat up at once.
    void leave();

    // --- Coming back ---
    // Requests go out only while online (the connection is up and the seat is ours).
    void setOnline(bool online) { online_ = online; }
    bool isOnline() const { return online_; }
    // A returning connection has shown its token: only the host's answer to it counts
    // until that answer comes.
    void awaitReturn(bool awaiting = true) { awaitingReturn_ = awaiting; }
    bool isAwaitingReturn() const { return awaitingReturn_; }

Q_SIGNALS:
    // A complete message for the host, terminator included.
    void send(const QByteArray &message);
    // The host gave this player the token that takes its seat back after a drop.
    void ticketReceived(const Wire::FromHost::RejoinTicket &ticket);
    // The host took a returning player back, with the next token; the login went out.
    void returnAccepted(const Wire::FromHost::RejoinTicket &ticket);
    // The host knows no seat for the token shown.
    void returnRefused();

private:
    void startthegame(const QByteArray &rest);
    void getnextplayer(const QByteArray &rest);
    void winner(const QByteArray &rest);
    void loadboard(const QByteArray &rest);
    void goodword(const QByteArray &rest);
    void notvalid(const QByteArray &rest);
    void timeup(const QByteArray &rest);
    void chat(const QByteArray &rest);
    void havewrongversion(const QByteArray &rest);
    void wrongversion(const QByteArray &rest);
    void full(const QByteArray &rest);
    void playasound(const QByteArray &rest);
    void rejointoken(const QByteArray &rest);
    void welcomeback(const QByteArray &rest);
    void rejoinrefused(const QByteArray &rest);
    void playeraway(const QByteArray &rest);
    void playerback(const QByteArray &rest);
    void seats(const QByteArray &rest);
    void foundwords(const QByteArray &rest);
    void hostclosing(const QByteArray &rest);

    void sendJustWatch(int slot, Wire::WatchMode mode);
    void request(const QByteArray &message);

    GameSession &session_;
    bool online_ = true;
    bool awaitingReturn_ = false;
};
