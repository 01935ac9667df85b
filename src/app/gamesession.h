#pragma once

#include "clientstate.h"
#include "tallyroster.h"
#include "wire.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

class RosterModel;

// The player's side of a game, between the protocol and the widgets: the client state,
// the roster and the spy list, the round clock `turntime`, and what the host's
// messages (decoded by the client dispatch) do to them. It shows and plays nothing:
// every change is a signal, which the views, the sounds, the play surface and the tally
// follow. Everything it knows can be asked again through its getters.
//
// The round clock ticks once a "second"; tests shorten the second with
// setSecondLength(). It starts with each round and stops at zero.
class GameSession : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultSecondLength = 1000;
    // Watchers the spy list keeps at most; a host cannot grow it without bound.
    static constexpr int maxSpies = 100;
    // What "CMD_addscore" sets a bonus's tag to: the round clock blanks it on its
    // fourth tick after the score.
    static constexpr int bonusTicks = 3;
    // A late joiner's round clock starts only with more than this many seconds left.
    static constexpr int lateJoinMinimumSeconds = 4;
    static inline const QString welcome = QStringLiteral("Welcome to Wendlewick");
    // The status once the round clock has reached zero, until the host ends the round.
    static inline const QString timeIsUpText = QStringLiteral("Time is Up!");

    // What stands in the place of the round clock: nothing, the host's Start, or the clock.
    enum class ClockPlace { Empty, Start, Clock };
    Q_ENUM(ClockPlace)

    explicit GameSession(QObject *parent = nullptr);

    // --- What the session knows ---
    const ClientState &state() const { return state_; }
    RosterModel *roster() const { return roster_; }
    // The spy list's entries: slot, ": " and name.
    const QStringList &spies() const { return spies_; }
    // The roster as the tally reads it.
    TallyRoster tallyRoster() const;
    // `label_status`.
    const QString &status() const { return status_; }
    // The winner banner's text; empty while the banner is hidden.
    const QString &winnerText() const { return winnerText_; }
    ClockPlace clockPlace() const { return clockPlace_; }
    // This player may enter words now.
    bool isMyTurn() const { return state_.activeslot != 0 && state_.activeslot == state_.myslot; }
    // The player's own roster name, empty for a watcher.
    QString ownName() const;

    // --- The role the command line gave ---
    // Before a role: the name and address, no login name.
    void setPlayer(const QString &playername, const QString &hostaddress);
    // A role is taken: the login name becomes the player's name; a host is offered Start.
    void takeRole(bool host);
    // "Automatically Start Next Game", which the in-process host reads.
    void setAutoStartNextGame(bool on) { state_.autoStartNextGame = on; }

    // --- The host's messages, decoded ---
    void sendloginfo(int slot);
    void newplayerinfo(const Wire::FromHost::PlayerRecords &records);
    void playerdisconnected(const Wire::FromHost::PlayerLeft &left);
    void justwatching(const Wire::FromHost::JustWatching &watching);
    void addscore(const Wire::FromHost::AddScore &score);
    void loadstats(const Wire::FromHost::LoadStats &stats);
    void mainlist(const Wire::FromHost::MainList &list);
    void startthegame(const Wire::FromHost::StartGame &start);
    // A slot that was no number still starts the round's reset, but nobody's turn.
    void getnextplayer(std::optional<int> slot);
    void timeup(const Wire::FromHost::TimeUp &scores);
    void winner(const QString &name);
    void loadboard(const QList<Wire::FromHost::BoardCell> &cells);
    void goodword(const Wire::FromHost::GoodWord &word);
    void notvalid(const Wire::FromHost::NotValid &refusal);
    void chat(const QString &data);
    void havewrongversion(const QString &name);
    void wrongversion();
    void full();
    void playasound(const QString &data);
    // Coming back: another player's connection dropped and its seat is held, or it came
    // back; the seats as a returning player finds them; its words of the round (the
    // last message of a return); the host is ending.
    void playeraway(int slot);
    void playerback(int slot);
    void seats(const Wire::FromHost::Seats &taken);
    void foundwords(const Wire::FromHost::FoundWords &found);
    void hostclosing();

    // --- This player's own connection ---
    // The connection dropped: nothing can be entered until the player is back.
    void connectionLost();
    // The host took this player back into `slot`; the messages that refill the session
    // follow, up to its words of the round.
    void beginReturn(int slot);
    // Between beginReturn() and the words of the round.
    bool isReturning() const { return returning_; }

    // --- The round clock ---
    // One tick of `turntime`.
    void turntimeTimer();
    void setSecondLength(int milliseconds);
    int secondLength() const { return turntime_.interval(); }
    const QTimer &turntime() const { return turntime_; }
    // The clock's caption for `seconds` left: "Time: m:ss".
    static QString clockText(int seconds);

    // Scores, board and entry strip back to their blank state.
    void clearall();

    // --- Reports from the parts around the session ---
    // Adds a system line (shown after "0+", in the system colour).
    void addSystemLine(const QString &text);
    void setStatus(const QString &text);

Q_SIGNALS:
    // --- What the window shows ---
    void statusChanged(const QString &text);
    // The clock shows `secondsLeft` (its bar: state().pixelspersecond a second).
    void clockChanged(int secondsLeft);
    void clockPlaceChanged(GameSession::ClockPlace place);
    // Who may enter words; `mine` while it is this player.
    void turnChanged(int activeslot, bool mine);
    // The running game's settings in the client state changed.
    void gameSettingsChanged();
    void minLettersChanged(int letters);
    // The winner banner shows `text`; an empty text hides it. Every "CMD_winner" says so.
    void winnerChanged(const QString &text);
    // What the host last said about this player watching.
    void watchingChanged(bool watching);
    // This window hosts the game (it may start games and remove players).
    void hostingChanged(bool hosting);
    // The host asked for the login: `myslot` and `isconnected` are set.
    void loggedIn();
    void systemLine(const QString &text);
    // The fields of a relayed "CMD_chat" or "CMD_action".
    void chatLine(const QString &data);

    // --- The course of a game ---
    // A game starts, before its settings are read.
    void gameStarting();
    // Scores, board and entry strip go blank.
    void cleared();
    // A round starts (or this player joins one under way), before whose turn it is.
    void roundStarting();
    // The round's turn is known; `mine` when this player enters words.
    void roundStarted(int activeslot, bool mine);
    // One second off the round clock, `secondsLeft` still to go (1 or more).
    void clockTicked(int secondsLeft);
    // The host ended the round ("CMD_timeup"); a win may follow.
    void roundEnded();
    // The round's scores arrived whole.
    void roundScored();
    // Once per game, however often the host declares its winner.
    void gameWon(const QString &winnerName);
    void boardArrived(const QList<Wire::FromHost::BoardCell> &cells);
    // The host's verdicts on this player's own words.
    void wordAccepted(const QString &word, int points, bool first);
    void wordRefused(Wire::RejectReason reason, const QString &word);
    // The round's words for this player, alphabetical; empty when nobody found one.
    void roundWords(const QStringList &words);

    // --- Players and the connection ---
    // This player's own roster record arrived: the settings are read now.
    void admitted();
    // A run of roster records arrived whole.
    void playersEntered();
    void spyAdded(int slot, const QString &name);
    void spyRemoved(int slot, const QString &name);
    // "CMD_full": the host refused this player and closes the connection.
    void gameFull();
    // "CMD_playerdisconnected" for this player's own slot: the host removed this
    // player and closes the connection.
    void removed();
    // "CMD_hostclosing": the host is ending the game; its close is no drop.
    void hostClosing();
    // This player's words of the round, as the host kept them, for a returning player.
    void wordsRestored(const QList<Wire::FromHost::Found> &words);
    // A return is complete: the session shows the game as the host has it.
    void returned();
    // A relayed "CMD_playasound": slot "+" sound name "+".
    void chatterSound(const QString &data);

private:
    void setActiveslot(int slot);
    void setJustWatching(bool watching);
    void setClockPlace(ClockPlace place);
    void setWinnerText(const QString &text);
    void showClock();
    // The clock stops at zero and nobody may enter words.
    void stopRound();

    ClientState state_;
    bool returning_ = false;
    // A return heard of a game under way ("CMD_loadstats").
    bool returnSawGame_ = false;
    RosterModel *roster_;
    QStringList spies_;
    QString status_ = welcome;
    QString winnerText_;
    ClockPlace clockPlace_ = ClockPlace::Empty;
    QTimer turntime_;
};
