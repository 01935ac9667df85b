#pragma once

#include "tallyfile.h"
#include "tallyroster.h"
#include "tallytable.h"

#include <QList>
#include <QObject>
#include <QString>

// The tally's behaviour without its window: the table, the players of the current game
// with their check marks, counting games, and keeping the file up to date. Every change
// is saved at once (a long word during a round waits for the next save, at the latest the
// end of the game), so a crash loses nothing that was counted; changed() tells the window
// to show the new state.
class TallyList : public QObject
{
    Q_OBJECT

public:
    // Columns of row 0, the player's own totals.
    static constexpr int totalGames = 1;
    static constexpr int yourWins = 2;
    static constexpr int mostWordsInRound = 3;
    static constexpr int longWords = 4;

    // A name in "Players In Current Game".
    struct Player
    {
        QString name;
        bool ticked = false;
    };

    // Nothing is read until load().
    explicit TallyList(const QString &folder, QObject *parent = nullptr);
    // Saves a change that could not be saved before.
    ~TallyList() override;

    // Once at start: reads the tally file (a damaged one is set aside and the tally
    // starts fresh), then starts this run's counts (columns 5 to 8) at 0. Returns a
    // message for the player when the file could not be used, else an empty string.
    QString load();

    TallyTable *table() { return &scores_; }
    const TallyTable *table() const { return &scores_; }
    QString filePath() const { return file_.filePath(); }

    // "Players In Current Game".
    const QList<Player> &currentPlayers() const { return players_; }
    // "Players Being Tallied": row k of the table is entry k - 1.
    QStringList talliedNames() const { return scores_.opponents(); }
    bool isTallied(const QString &name) const { return scores_.rowOf(name) >= 1; }
    // A row 0 total as shown, or an opponent's count.
    QString ownTotal(int column) const { return scores_.cell(column, 0); }

    // Refills "Players In Current Game" from the roster: every slot but this player's
    // own and the free ones, each name once, ticked when it is being tallied.
    void loadchecklist(const TallyRoster &roster);

    // Counts one finished game won by `winner` (the name the host announced). The
    // player won when it is the player's own roster name. A player without a roster
    // slot (a watcher) records nothing. Only tallied opponents still in the game count.
    void addgame(const QString &winner, const TallyRoster &roster);
    // Adds 1 to one of the own totals (columns 1 to 4). Saved with the next change.
    void addtomineincrease(int column);
    // Sets one of the own totals (columns 1 to 4) to `value` (0 or more).
    void addtomineset(int column, qint64 value);
    // At the end of a round: stores `wordsFound` as "Most Words in a Round" when it beats
    // the total shown. A total that is not a number is left alone.
    void recordRoundWords(int wordsFound);

    // A tick or untick of `name` in "Players In Current Game". Ticking starts tallying
    // the name unless it is already tallied; unticking changes nothing in the tally.
    // Names holding a line break cannot be tallied (the file keeps one name a line).
    void checklistClickCheck(const QString &name, bool ticked);
    static bool canTally(const QString &name);
    // Removes one opponent row (1 or more).
    void moverow(int row);
    // Stops tallying `name` (after the player confirmed): its row goes, and its check
    // mark in "Players In Current Game" with it. Returns false when it was not tallied.
    bool removeOpponent(const QString &name);
    // "Reset Tally" (after the player confirmed): own totals to 0 and no opponents.
    void reset();

    // Writes the tally file now; a failure is also reported through fileError().
    bool save();

Q_SIGNALS:
    void changed();
    // A save failed; `message` is for the player. Repeats of one message are not sent again.
    void fileError(const QString &message);

private:
    void commit();
    void loadtally();

    TallyTable scores_;
    TallyFile file_;
    QList<Player> players_;
    bool unsaved_ = false;
    QString reportedError_;
};
