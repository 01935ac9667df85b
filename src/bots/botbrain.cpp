#include "botbrain.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {

// Chance of a longer pause between two claims (looking around the board), and its
// length in milliseconds.
constexpr double pauseChance = 0.1;
constexpr int shortestPauseMs = 2000;
constexpr int longestPauseMs = 6000;

double uniform(QRandomGenerator &random)
{
    return random.generateDouble();
}

// An exponentially distributed time with the given mean.
double exponential(double mean, QRandomGenerator &random)
{
    return -mean * std::log1p(-uniform(random));
}

} // namespace

BotBrain::BotBrain(const BotStrength &strength)
    : strength_(strength)
{ }

qint64 BotBrain::earliestFor(int letters) const
{
    return qint64(strength_.reactionMs) + qint64(letters) * strength_.msPerLetter;
}

qint64 BotBrain::drawGap(int letters, QRandomGenerator &random) const
{
    const double mean = 60000.0 / strength_.wordsPerMinute;
    double gap = mean * (0.55 + 0.9 * uniform(random));
    if (uniform(random) < pauseChance)
        gap += shortestPauseMs + (longestPauseMs - shortestPauseMs) * uniform(random);
    const qint64 tracing = qint64(letters) * strength_.msPerLetter;
    return std::max({qint64(gap), tracing, qint64(BotStrength::minClaimGapMs)});
}

void BotBrain::planRound(
    const QList<SolvedWord> &words, int minLetters, qint64 roundMs, QRandomGenerator &random)
{
    clear();
    const int shortest = std::max(minLetters, int(WordTrie::minLetters));
    const int longest = std::min(strength_.longestWord, int(WordTrie::maxLetters));
    const qint64 lastMs = roundMs - endMarginMs;

    struct Spotted
    {
        qint64 atMs;
        qsizetype index;
    };
    std::vector<Spotted> spotted;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const SolvedWord &w = words[i];
        const int letters = int(w.path.size());
        if (letters < shortest || letters > longest || w.word.size() != letters)
            continue;
        const int extra = letters - shortest;
        const double known = strength_.knownShare * std::pow(strength_.longWordKeep, extra);
        if (uniform(random) >= known)
            continue;
        const double meanLook = 1000.0 * (strength_.lookSeconds + strength_.lookLetterSeconds * extra);
        spotted.push_back({earliestFor(letters) + qint64(exponential(meanLook, random)), i});
    }
    std::sort(spotted.begin(), spotted.end(), [](const Spotted &a, const Spotted &b) {
        return a.atMs < b.atMs || (a.atMs == b.atMs && a.index < b.index);
    });

    // Claims go out in the order the words were spotted, each one a drawn gap after
    // the one before.
    std::optional<qint64> previous;
    for (const Spotted &s : spotted) {
        const SolvedWord &w = words[s.index];
        qint64 at = s.atMs;
        if (previous)
            at = std::max(at, *previous + drawGap(int(w.path.size()), random));
        if (at >= lastMs)
            break;
        plan_.append({at, w});
        previous = at;
    }
}

void BotBrain::clear()
{
    plan_.clear();
    next_ = 0;
}

std::optional<qint64> BotBrain::nextClaimAt() const
{
    if (next_ >= plan_.size())
        return std::nullopt;
    return plan_[next_].atMs;
}

std::optional<SolvedWord> BotBrain::takeClaim(qint64 elapsedMs)
{
    if (next_ >= plan_.size() || plan_[next_].atMs > elapsedMs)
        return std::nullopt;
    return plan_[next_++].word;
}
