// The typing search on boards that make a plain depth-first search run away: one
// letter everywhere, one letter everywhere but a far corner, and random boards drawn
// with the game's letter weights, for every word length from 1 to 12. Each run also
// reports the tiles placed ("nodes") and the failed branches remembered.
//
// Run from a Release build: build/release/bench/bench_findroute
#include "boardmodel.h"
#include "routesearch.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using Grid = BoardModel::Grid;

Grid uniform(int letter)
{
    Grid grid {};
    for (auto &column : grid)
        column.fill(letter);
    return grid;
}

constexpr int E = 5;
constexpr int Z = 26;

// The host's letter weights, out of 98, in the order a to z.
constexpr int weights[26] = {9, 2, 2, 5, 12, 2, 3, 2, 9, 1, 1, 4, 2, 6, 8, 2, 1, 6, 4, 6, 3, 2, 2, 1, 2, 1};

int drawLetter(std::mt19937 &rng)
{
    int v = int(rng() % 98);
    for (int letter = 0; letter < 26; ++letter) {
        if (v < weights[letter])
            return letter + 1;
        v -= weights[letter];
    }
    return 26;
}

struct Case
{
    Grid board;
    std::vector<int> letters;
};

void report(benchmark::State &state, const std::vector<Case> &cases)
{
    RouteSearch::Stats stats;
    int found = 0;
    for (const Case &c : cases)
        found += RouteSearch::findroute(c.board, c.letters, &stats).has_value();
    state.counters["nodes"] = double(stats.nodes) / double(cases.size());
    state.counters["remembered"] = double(stats.remembered) / double(cases.size());
    state.counters["found"] = double(found) / double(cases.size());
}

void run(benchmark::State &state, const std::vector<Case> &cases)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const Case &c = cases[i++ % cases.size()];
        benchmark::DoNotOptimize(RouteSearch::findroute(c.board, c.letters));
    }
    report(state, cases);
}

// All E, the word all E: the first chain is found at once.
void BM_allE(benchmark::State &state)
{
    run(state, {{uniform(E), std::vector<int>(state.range(0), E)}});
}

// All E, the word E... ending in a Z that is nowhere.
void BM_allEMissingZ(benchmark::State &state)
{
    std::vector<int> word(state.range(0) - 1, E);
    word.push_back(Z);
    run(state, {{uniform(E), word}});
}

// All E but a Z in the corner farthest from the first start cell; the word E... Z.
void BM_farCornerZ(benchmark::State &state)
{
    Grid board = uniform(E);
    board[9][9] = Z;
    std::vector<int> word(state.range(0) - 1, E);
    word.push_back(Z);
    run(state, {{board, word}});
}

// All E but a Z in the far corner, and a word with one Z more than the board has,
// in the middle: no placement, and the reuse of tiles alone would not tell.
void BM_farCornerTwoZ(benchmark::State &state)
{
    Grid board = uniform(E);
    board[9][9] = Z;
    const int length = int(state.range(0));
    std::vector<int> word(length, E);
    if (length >= 3) {
        word[length / 2] = Z;
        word[length - 1] = Z;
    } else {
        word.back() = Z;
    }
    run(state, {{board, word}});
}

// All E but a Z in the far corner; the Z in the middle of the word: only chains through
// the corner spell it.
void BM_farCornerZInside(benchmark::State &state)
{
    Grid board = uniform(E);
    board[9][9] = Z;
    const int length = int(state.range(0));
    std::vector<int> word(length, E);
    word[length / 2] = Z;
    run(state, {{board, word}});
}

// Random boards of the game's letter weights and random words of those weights: most
// words have no placement, as when a player mistypes.
void BM_randomWords(benchmark::State &state)
{
    std::mt19937 rng(7772);
    std::vector<Case> cases(256);
    for (Case &c : cases) {
        for (auto &column : c.board)
            for (int &code : column)
                code = drawLetter(rng);
        c.letters.resize(state.range(0));
        for (int &letter : c.letters)
            letter = drawLetter(rng);
    }
    run(state, cases);
}

// Random boards of the game's letter weights and words read off a random chain of the
// board, as when a player types a word that is there.
void BM_randomChains(benchmark::State &state)
{
    std::mt19937 rng(7772);
    std::vector<Case> cases;
    while (cases.size() < 256) {
        Case c;
        for (auto &column : c.board)
            for (int &code : column)
                code = drawLetter(rng);
        std::vector<Cell> chain {Cell::fromIndex(int(rng() % 100))};
        while (int(chain.size()) < state.range(0)) {
            std::vector<Cell> free;
            for (int d = 1; d <= 8; ++d) {
                const Cell n = RouteSearch::getthepoints(chain.back(), d);
                if (n.inGrid() && std::find(chain.begin(), chain.end(), n) == chain.end())
                    free.push_back(n);
            }
            if (free.empty())
                break;
            chain.push_back(free[rng() % free.size()]);
        }
        if (int(chain.size()) < state.range(0))
            continue;
        for (Cell cell : chain)
            c.letters.push_back(c.board[cell.x][cell.y]);
        cases.push_back(c);
    }
    run(state, cases);
}

// Boards found by a search for slow cases (simulated annealing on the number of tiles
// placed): many equal letters in pockets, long words of them without a placement.
Grid fromRows(const char *const rows[10])
{
    Grid grid {};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            grid[x][y] = rows[y][x] == '.' ? BoardModel::blankTile : rows[y][x] - 'a' + 1;
    return grid;
}

std::vector<int> word(const char *text)
{
    std::vector<int> letters;
    for (const char *p = text; *p; ++p)
        letters.push_back(*p - 'a' + 1);
    return letters;
}

void BM_annealed(benchmark::State &state)
{
    static const char *const pockets[10] = {"aaaaabbbb.", "aab...ba.a", "abbaa..aaa", "a.aaaa.aaa",
        "abaaaabaab", "b....b..b.", "baa.babbaa", "aaa.aaabba", "aaabaaaa.a", ".aab.a.a.a"};
    static const char *const threeLetters[10] = {"ccccabccbc", "acbbbbca.b", ".cbbbaccbb", "acccbacabb",
        "ccccc.cbbb", "bbccccbbbb", "bbbcccbbbb", "bbbccacbbb", "baa.ccbbbb", "ccbb.cabbb"};
    static const char *const twoLetters[10] = {"bbbaaaabbb", "a...a.bbbb", "aabbb.bb.b", "abbbb....a",
        "abbbaaaaaa", "a..a.aab.a", "..aa.abbb.", "bbbaaabbbb", "bbbb.a.bb.", ".bbbaaa..b"};
    const std::vector<Case> cases[3] = {
        {{fromRows(pockets), word("aaaaaaaaaaab")}},
        {{fromRows(threeLetters), word("bbbbbbbbcbcb")}},
        {{fromRows(twoLetters), word("bbbbbbbbbbab")}},
    };
    run(state, cases[state.range(0)]);
}

void lengths(benchmark::internal::Benchmark *b)
{
    b->DenseRange(1, 12)->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_allE)->Apply(lengths);
BENCHMARK(BM_allEMissingZ)->Apply(lengths);
BENCHMARK(BM_farCornerZ)->Apply(lengths);
BENCHMARK(BM_farCornerZInside)->Apply(lengths);
BENCHMARK(BM_farCornerTwoZ)->Apply(lengths);
BENCHMARK(BM_randomWords)->Apply(lengths);
BENCHMARK(BM_randomChains)->Apply(lengths);
BENCHMARK(BM_annealed)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
