#pragma once

#include "boardsolver.h"
#include "botstrength.h"

#include <QList>

#include <optional>

class QRandomGenerator;

// A computer player's mind for one round, free of sockets and clocks: from every
// word the board holds it picks the words it knows, decides when it spots each one,
// and lays out its claims at a human pace. Times are game milliseconds from the
// start of the round.
//
// Fair play, whatever the strength: a word is never claimed before its letters could
// have been traced (the reaction time plus the time per letter), two claims are
// never less than one second apart, and nothing is claimed at or after the round's
// end. The brain does not know what others found, so it often claims a word someone
// else claimed first.
class BotBrain
{
public:
    struct Claim
    {
        qint64 atMs = 0;
        SolvedWord word;
    };

    // Claims are planned to end this long before the round does, so that the last
    // one still arrives while the host's round runs.
    static constexpr qint64 endMarginMs = 500;

    explicit BotBrain(const BotStrength &strength);

    const BotStrength &strength() const { return strength_; }

    // Plans a round of `roundMs` on a board holding `words` (as BoardSolver gives
    // them) where words shorter than `minLetters` do not count. Replaces any earlier
    // plan.
    void planRound(const QList<SolvedWord> &words, int minLetters, qint64 roundMs, QRandomGenerator &random);
    // Forgets the plan: nothing more is claimed until the next round is planned.
    void clear();

    const QList<Claim> &plan() const { return plan_; }
    // When the next claim is due, or nothing when the round has no more claims.
    std::optional<qint64> nextClaimAt() const;
    // The next claim when its time has come by `elapsedMs`, taken off the plan.
    std::optional<SolvedWord> takeClaim(qint64 elapsedMs);

    // The earliest time in a round at which a word of `letters` tiles can be claimed.
    qint64 earliestFor(int letters) const;

private:
    qint64 drawGap(int letters, QRandomGenerator &random) const;

    BotStrength strength_;
    QList<Claim> plan_;
    qsizetype next_ = 0;
};
