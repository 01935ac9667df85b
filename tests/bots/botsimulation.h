#pragma once

// Rounds played by brains alone, without a host or a network: every brain plans the
// same board, the claims are merged in time order, and the first finder of a word
// scores its first-finder points, later finders the later points. For the strength
// tests and the benchmark.

#include "boardsolver.h"
#include "botbrain.h"
#include "randomboard.h"

#include <QRandomGenerator>

#include <random>
#include <set>
#include <vector>

namespace botsimulation {

struct Tally
{
    qint64 points = 0;
    qint64 claims = 0;
    qint64 firsts = 0;
};

// Plays one round of `roundMs` on `words` for every brain; adds to `tallies`
// (one per brain).
inline void playRound(std::vector<BotBrain> &brains, const QList<SolvedWord> &words, int minLetters,
    qint64 roundMs, QRandomGenerator &random, std::vector<Tally> &tallies)
{
    struct Timed
    {
        qint64 atMs;
        std::size_t brain;
        const SolvedWord *word;
    };
    std::vector<Timed> all;
    for (std::size_t b = 0; b < brains.size(); ++b) {
        brains[b].planRound(words, minLetters, roundMs, random);
        for (const BotBrain::Claim &c : brains[b].plan())
            all.push_back({c.atMs, b, &c.word});
    }
    std::stable_sort(all.begin(), all.end(), [](const Timed &a, const Timed &b) { return a.atMs < b.atMs; });
    std::set<QString> found;
    for (const Timed &t : all) {
        Tally &tally = tallies[t.brain];
        ++tally.claims;
        if (found.insert(t.word->word).second) {
            tally.points += t.word->firstPoints;
            ++tally.firsts;
        } else {
            tally.points += t.word->laterPoints;
        }
    }
}

// Plays `rounds` rounds on boards of `sizeCode` dealt from `seed`, one brain per
// level in `levels`, all against each other.
inline std::vector<Tally> playRounds(const WordTrie &trie, const std::vector<BotStrength::Level> &levels,
    int sizeCode, int minLetters, int roundSeconds, int rounds, quint32 seed)
{
    std::vector<BotBrain> brains;
    for (BotStrength::Level level : levels)
        brains.emplace_back(BotStrength::of(level));
    std::vector<Tally> tallies(levels.size());
    std::mt19937 boards(seed);
    QRandomGenerator random(seed);
    BoardSolver solver(trie);
    for (int r = 0; r < rounds; ++r) {
        const QList<SolvedWord> words = solver.solve(randomboard::deal(sizeCode, boards));
        playRound(brains, words, minLetters, qint64(roundSeconds) * 1000, random, tallies);
    }
    return tallies;
}

} // namespace botsimulation
