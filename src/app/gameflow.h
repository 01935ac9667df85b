#pragma once

#include "gameflowhandlers.h"

#include <QColor>
#include <QObject>
#include <QTimer>

class BoardModel;
class ClientDispatch;
class GameSounds;
class PlayArea;
class QAction;
class RosterModel;
class RosterView;
class TallyList;
class WordEntry;
class WordResults;
struct ClientState;

// The round and game flow in the player's window: what the host's game messages do
// to the board, the word entry, the round clock, the words and the winner banner,
// with the game sounds of those events and the tally's counts.
//
// The round clock `turntime` ticks once a "second"; tests shorten the second with
// setSecondLength(). It starts with each round and stops when it reaches zero (a
// zero clock only repeats what its first zero did).
class GameFlow : public QObject, public GameFlowHandlers
{
    Q_OBJECT

public:
    static constexpr int defaultSecondLength = 1000;
    static inline const QColor clockColour = QColor(224, 227, 157);
    static inline const QColor lastSecondsColour = QColor(255, 0, 0);
    // Below this many seconds left the clock's text turns red.
    static constexpr int redBelow = 20;
    // The status once the round clock has reached zero, until the host ends the round.
    static inline const QString timeIsUpText = QStringLiteral("Time is Up!");

    // The parts of the player's window a game's messages change.
    struct Parts
    {
        ClientState &state;
        RosterModel &roster;
        RosterView &rosterView;
        PlayArea &play;
        QAction &justWatch; // Options, "Just Watch"
        BoardModel &board;
        WordEntry &entry;
        WordResults &results;
        GameSounds &sounds;
        TallyList &tally;
        const ClientDispatch &dispatch; // the roster as the tally reads it
    };

    explicit GameFlow(const Parts &parts, QObject *parent = nullptr);

    void startthegame(const QByteArray &rest) override;
    void getnextplayer(const QByteArray &rest) override;
    void winner(const QByteArray &rest) override;
    void loadboard(const QByteArray &rest) override;
    void goodword(const QByteArray &rest) override;
    void notvalid(const QByteArray &rest) override;
    void timeup(const QByteArray &rest) override;
    void joinRunningRound() override;

    // One tick of the round clock.
    void turntimeTimer();
    // Scores, board and entry strip back to their blank state.
    void clearall();

    void setSecondLength(int milliseconds);
    int secondLength() const { return turntime_.interval(); }
    const QTimer &turntime() const { return turntime_; }

    // The clock's caption for `seconds` left: "Time: m:ss".
    static QString clockText(int seconds);

Q_SIGNALS:
    // A system line's text (shown after "0+", in the system colour).
    void systemLine(const QString &text);
    // The game's minimum word length, for the words list window.
    void minLettersChanged(int letters);
    // For the words list window: a game starts, a round starts (or this player joins
    // one under way), the game is won (once per game, however often the host says so).
    void gameStarting();
    void roundStarting();
    void gameWon();
    // The host ended the round ("CMD_timeup"); a win may follow.
    void roundEnded();

private:
    void hideWordButtons();
    void closeEntry();
    void showClock();
    void startClock();
    // The player's own roster name, empty for a watcher.
    QString ownName() const;

    Parts p_;
    QTimer turntime_;
};
