#include "gamesummary.h"

bool GameSummary::isBetter(const RoundReview::Entry &e, RoundReview::Group g, const Round &than)
{
    if (than.best.word.isEmpty())
        return true;
    if (e.word.size() != than.best.word.size())
        return e.word.size() > than.best.word.size();
    if (g != than.bestGroup)
        return g < than.bestGroup;
    return e.word < than.best.word;
}

void GameSummary::clear()
{
    rounds_.clear();
    added_ = 0;
}

void GameSummary::addRound(const RoundReview &review)
{
    Round r;
    r.number = ++added_;
    r.yours = review.count(RoundReview::FoundByYou);
    r.others = review.count(RoundReview::FoundByOthers);
    r.nobody = review.solved() ? review.count(RoundReview::FoundByNobody) : -1;
    for (int g = 0; g < RoundReview::groupCount; ++g) {
        const auto group = RoundReview::Group(g);
        // Each group runs longest first, then alphabetically: its first word is its best.
        if (!review.group(group).isEmpty() && isBetter(review.group(group).constFirst(), group, r)) {
            r.best = review.group(group).constFirst();
            r.bestGroup = group;
        }
    }
    for (const RoundReview::Entry &e : review.group(RoundReview::FoundByYou))
        r.yourWords.append(e.word);
    if (rounds_.size() >= maxRounds)
        rounds_.removeFirst();
    rounds_.append(r);
}

GameSummary::Round GameSummary::total() const
{
    Round t;
    for (const Round &r : rounds_) {
        t.yours += r.yours;
        t.others += r.others;
        t.nobody = t.nobody < 0 || r.nobody < 0 ? -1 : t.nobody + r.nobody;
        if (!r.best.word.isEmpty() && isBetter(r.best, r.bestGroup, t)) {
            t.best = r.best;
            t.bestGroup = r.bestGroup;
        }
        t.yourWords.append(r.yourWords);
    }
    return t;
}
