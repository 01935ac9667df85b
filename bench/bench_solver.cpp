// The board solver on random boards of every size, dealt with the game's letter
// weights, and the cost of building its trie from the word list.
//
// Each solve is timed in thread CPU time (the machine is shared). Every board is
// solved `repeats` times and its median taken; the counters give the median and
// the worst of those over all boards of a size.
#include "boardsolver.h"
#include "builtinwords.h"
#include "lazywordtrie.h"
#include "randomboard.h"
#include "tdictn.h"
#include "wordtrie.h"
#include "wordtriebuilder.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

namespace {

double cpuMicroseconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// state.range(0): the size code. Each benchmark iteration solves every board once.
void BM_solve(benchmark::State &state)
{
    constexpr int boards = 200;
    const int sizeCode = int(state.range(0));
    std::mt19937 rng(7772u + unsigned(sizeCode));
    std::vector<BoardSolver::Board> deck;
    for (int i = 0; i < boards; ++i)
        deck.push_back(randomboard::deal(sizeCode, rng));
    BoardSolver solver(fixture().trie);
    std::vector<std::vector<double>> times(boards);
    std::vector<double> wordCounts;
    for (auto _ : state) {
        for (int i = 0; i < boards; ++i) {
            const double start = cpuMicroseconds();
            const QList<SolvedWord> words = solver.solve(deck[size_t(i)]);
            times[size_t(i)].push_back(cpuMicroseconds() - start);
            benchmark::DoNotOptimize(words.size());
            if (wordCounts.size() < size_t(boards))
                wordCounts.push_back(double(words.size()));
        }
    }
    std::vector<double> perBoard;
    for (const auto &t : times)
        perBoard.push_back(median(t));
    state.counters["median_us"] = median(perBoard);
    state.counters["worst_us"] = *std::max_element(perBoard.begin(), perBoard.end());
    state.counters["words"] = median(wordCounts);
    state.counters["boards"] = boards;
}

// The solve as the program runs it, once per round with nothing of the trie in the
// caches: a 64 MiB buffer (twice the L3) is walked before each solve, untimed.
void BM_solveCold(benchmark::State &state)
{
    constexpr int boards = 40;
    const int sizeCode = int(state.range(0));
    std::mt19937 rng(7772u + unsigned(sizeCode));
    std::vector<BoardSolver::Board> deck;
    for (int i = 0; i < boards; ++i)
        deck.push_back(randomboard::deal(sizeCode, rng));
    BoardSolver solver(fixture().trie);
    std::vector<char> flush(size_t(64) << 20, 1);
    std::vector<double> times;
    quint64 sum = 0;
    for (auto _ : state) {
        for (int i = 0; i < boards; ++i) {
            for (size_t j = 0; j < flush.size(); j += 64)
                sum += quint64(flush[j]++);
            const double start = cpuMicroseconds();
            const QList<SolvedWord> words = solver.solve(deck[size_t(i)]);
            times.push_back(cpuMicroseconds() - start);
            benchmark::DoNotOptimize(words.size());
        }
    }
    benchmark::DoNotOptimize(sum);
    state.counters["median_us"] = median(times);
    state.counters["worst_us"] = *std::max_element(times.begin(), times.end());
}

// Building the whole trie in one go from the mapped, indexed word list.
void BM_buildTrie(benchmark::State &state)
{
    const TDictn &dict = *fixture().dict;
    qsizetype nodes = 0, words = 0, bytes = 0;
    for (auto _ : state) {
        const WordTrie trie = WordTrie::fromDictionary(dict);
        nodes = trie.nodeCount();
        words = trie.wordCount();
        bytes = trie.memoryBytes();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = double(nodes);
    state.counters["words"] = double(words);
    state.counters["trie_KiB"] = double(bytes) / 1024;
}

// The same build in the slices the program runs between events: how many, and
// the longest one.
void BM_buildTrieSlices(benchmark::State &state)
{
    const TDictn &dict = *fixture().dict;
    double slices = 0, longest = 0;
    for (auto _ : state) {
        WordTrieBuilder builder(dict);
        int n = 0;
        bool done = false;
        while (!done) {
            const double start = cpuMicroseconds();
            done = builder.step(LazyWordTrie::defaultSliceUnits);
            longest = std::max(longest, cpuMicroseconds() - start);
            ++n;
        }
        slices = n;
        benchmark::DoNotOptimize(builder.takeTrie().nodeCount());
    }
    state.counters["slices"] = slices;
    state.counters["longest_slice_us"] = longest;
}

} // namespace

BENCHMARK(BM_solve)
    ->ArgName("size_code")
    ->Arg(4)
    ->Arg(9)
    ->Arg(5)
    ->Arg(10)
    ->Arg(6)
    ->Arg(11)
    ->Arg(7)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_solveCold)->ArgName("size_code")->Arg(4)->Arg(7)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_buildTrie)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_buildTrieSlices)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
