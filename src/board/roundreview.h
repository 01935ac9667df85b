#pragma once

#include "acceptedword.h"
#include "boardsolver.h"
#include "cell.h"
#include "verdictmark.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// Every word a round's board held, grouped by who found it: this player, other players
// only, or nobody. Each group runs longest first, then alphabetically.
//
// Built from the solver's words of the board, this player's accepted words and the
// round's list from the host. Words shorter than the game's minimum could not be
// claimed and are left out; a word the host accepted stays in even when the solver does
// not know it (it then has no path).
class RoundReview
{
public:
    enum Group { FoundByYou, FoundByOthers, FoundByNobody };
    static constexpr int groupCount = 3;

    struct Entry
    {
        QString word; // upper case
        // What this player scored for it; for the other groups, what its first finder
        // scores (or would have scored).
        int points = 0;
        QList<Cell> path; // tiles in the host's orientation (x the row, y the column)
        VerdictMark::Kind mark = VerdictMark::Kind::None;
    };

    RoundReview() = default;

    // `solved` says whether boardWords is the solver's full answer; when not, nobody's
    // words are unknown and only the words found are grouped.
    static RoundReview build(const QList<SolvedWord> &boardWords, const QList<AcceptedWord> &mine,
        const QStringList &roundWords, int minLetters, bool solved = true);

    const QList<Entry> &group(Group g) const { return groups_[size_t(g)]; }
    int total() const;
    int count(Group g) const { return int(group(g).size()); }
    bool solved() const { return solved_; }
    bool isEmpty() const { return total() == 0; }

    // "You found 12 of 85 words" (unsolved: "You found 3 of the 20 words found this
    // round").
    QString summary() const;
    // "Found by you (12)" and so on.
    QString groupHeading(Group g) const;
    static QString groupTitle(Group g);

private:
    std::array<QList<Entry>, groupCount> groups_;
    bool solved_ = false;
};
