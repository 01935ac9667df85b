// Computer players: what planning a round costs a player (the plan alone, on boards
// already solved), and the points the three strengths score against each other over
// many simulated rounds of three minutes (the counters; no host, no network).
#include "botbrain.h"
#include "botsimulation.h"
#include "builtinwords.h"
#include "tdictn.h"
#include "wordtrie.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

// state.range(0): the size code; state.range(1): the strength. One iteration plans
// one round on the next of 64 solved boards.
void BM_planRound(benchmark::State &state)
{
    const int sizeCode = int(state.range(0));
    BotBrain brain(BotStrength::of(BotStrength::Level(state.range(1))));
    BoardSolver solver(fixture().trie);
    std::mt19937 boards(11);
    std::vector<QList<SolvedWord>> solved;
    for (int i = 0; i < 64; ++i)
        solved.push_back(solver.solve(randomboard::deal(sizeCode, boards)));
    QRandomGenerator random(11);
    std::size_t next = 0;
    for (auto _ : state) {
        brain.planRound(solved[next++ % solved.size()], 4, 180 * 1000, random);
        benchmark::DoNotOptimize(brain.plan().size());
    }
}
BENCHMARK(BM_planRound)->ArgsProduct({{4, 10, 7}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

// Easy, medium and hard against each other on 500 boards of a size, 4 letters minimum.
void BM_strengths(benchmark::State &state)
{
    constexpr int rounds = 500;
    std::vector<botsimulation::Tally> tallies;
    for (auto _ : state)
        tallies = botsimulation::playRounds(fixture().trie,
            {BotStrength::Easy, BotStrength::Medium, BotStrength::Hard}, int(state.range(0)), 4, 180, rounds,
            20261208);
    const char *names[] = {"easy", "medium", "hard"};
    for (std::size_t i = 0; i < tallies.size(); ++i) {
        state.counters[std::string(names[i]) + "_points"] = double(tallies[i].points) / rounds;
        state.counters[std::string(names[i]) + "_words"] = double(tallies[i].claims) / rounds;
    }
}
BENCHMARK(BM_strengths)->Arg(4)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
