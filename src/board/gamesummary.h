#pragma once

#include "roundreview.h"

#include <QList>
#include <QString>

// The rounds of one game as this player saw them, for the summary at the game's end:
// for each round, how many of the board's words this player found, how many only other
// players found and how many nobody found, and the round's best word (its longest; of
// equals, one this player found, then one others found, then the first alphabetically).
class GameSummary
{
public:
    // A host that never ends its game: older rounds give way beyond this many.
    static constexpr int maxRounds = 500;

    struct Round
    {
        int number = 0; // 1 for the first round this player saw; 0 for the game's total
        int yours = 0;
        int others = 0;
        int nobody = 0; // -1 when unknown (the board could not be solved)
        RoundReview::Entry best; // an empty word for a round without words
        RoundReview::Group bestGroup = RoundReview::FoundByNobody;
        QStringList yourWords; // longest first
    };

    void clear();
    void addRound(const RoundReview &review);

    const QList<Round> &rounds() const { return rounds_; }
    bool isEmpty() const { return rounds_.isEmpty(); }
    // Every round added up: the counts summed (nobody's -1 when any round's is
    // unknown), the best word of them all, every word this player found.
    Round total() const;

private:
    static bool isBetter(const RoundReview::Entry &e, RoundReview::Group g, const Round &than);

    QList<Round> rounds_;
    int added_ = 0;
};
