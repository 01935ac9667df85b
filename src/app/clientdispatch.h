#pragma once

#include "tallyroster.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

struct ClientState;
class GameFlowHandlers;
class GameSounds;
class RosterModel;

// The client side of the protocol without any widget: each message from the host is
// matched against the client's command table, in the table's order, and handled
// here (login, roster, watching, scores, late join, version and game-full notices,
// chat and chatter sounds) or handed to the game flow. Requests to the host (login,
// removing a player, watching) are built here too and leave through send().
//
// Fields are read strictly: a field that should be a number and is not ends the
// handling of that message, keeping what was done before it. Slots outside the
// roster change no roster row; the roster itself is the RosterModel.
class ClientDispatch : public QObject
{
    Q_OBJECT

public:
    // Watchers the spy list keeps at most; a host cannot grow it without bound.
    static constexpr int maxSpies = 100;

    ClientDispatch(ClientState &state, RosterModel &roster, GameSounds &sounds, QObject *parent = nullptr);

    // Where "CMD_startgame", "CMD_nextplayer" ... go; nowhere while none is set.
    void setGameFlow(GameFlowHandlers *flow) { flow_ = flow; }

    // Handles one message from the host (a tick of the dispatch timer).
    void processsocktimer(const QByteArray &message);

    // The handlers of this side of the table, each given the rest of its message.
    void sendloginfo(const QByteArray &rest);
    void newplayerinfo(const QByteArray &rest);
    void playerdisconnected(const QByteArray &rest);
    void justwatching(const QByteArray &rest);
    void addscore(const QByteArray &rest);
    void loadstats(const QByteArray &rest);
    void mainlist(const QByteArray &rest);

    // Requests to the host.
    // Asks the host to remove the player in `slot`; only the host player's window asks.
    void kicking(int slot);
    // "Set to Just Watch" and "Unset Just Watch" of the roster menu, for `slot`.
    void SettoJustWatch1Click(int slot);
    void UnsetJustWatch1Click(int slot);
    // "Just Watch" of the Options menu: watch, or play again while watching.
    void JustWatch1Click();

    // The spy list's entries: slot, ": " and name.
    const QStringList &spies() const { return spies_; }
    // The roster as the tally window reads it.
    TallyRoster tallyRoster() const;

Q_SIGNALS:
    // A complete message for the host, terminator included.
    void send(const QByteArray &message);
    // A system line's text (shown after "0+", in the system colour).
    void systemLine(const QString &text);
    // The fields of a relayed "CMD_chat" or "CMD_action".
    void chatReceived(const QString &data);
    // The host asked for the login: `myslot` and `isconnected` are set.
    void loggedIn();
    // This player's own roster record arrived: the settings are read now.
    void admitted();
    void spyAdded(int slot, const QString &name);
    void spyRemoved(int slot, const QString &name);
    // "CMD_full": the host refused this player and closes the connection.
    void gameFull();
    // "CMD_playerdisconnected" for this player's own slot: the host removed this
    // player and closes the connection.
    void removed();
    // The host says this player watches (or plays again).
    void justWatchingChanged(bool watching);
    // The game-settings fields of the client state changed.
    void gameSettingsChanged();
    // The round's words for this player, alphabetical; empty when nobody found one.
    void roundWords(const QStringList &words);

private:
    void chat(const QByteArray &rest);
    void havewrongversion(const QByteArray &rest);
    void wrongversion(const QByteArray &rest);
    void full(const QByteArray &rest);
    void playasound(const QByteArray &rest);

    void sendJustWatch(int slot, int mode);
    QString nameInSlot(int slot) const;

    ClientState &state_;
    RosterModel &roster_;
    GameSounds &sounds_;
    GameFlowHandlers *flow_ = nullptr;
    QStringList spies_;
};
