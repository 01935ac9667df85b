#pragma once

// Boards as the host deals them: the played square of each size code, filled with
// letters drawn by the game's weights. For tests and benchmarks.

#include "boardsolver.h"

#include <random>
#include <utility>

namespace randomboard {

// Rows and columns lo..hi of the played square; code 8 (a size per round) is drawn
// by the caller.
inline std::pair<int, int> playedRange(int sizeCode)
{
    switch (sizeCode) {
    case 5:
        return {2, 7};
    case 6:
        return {1, 8};
    case 7:
        return {0, 9};
    case 9:
        return {2, 6};
    case 10:
        return {1, 7};
    case 11:
        return {0, 8};
    default:
        return {3, 6};
    }
}

// One letter code drawn by the weights (out of 98) of the host's table.
inline int drawLetter(std::mt19937 &rng)
{
    struct Range
    {
        int last, code;
    };
    static constexpr Range ranges[] = {{9, 1}, {21, 5}, {30, 9}, {38, 15}, {41, 21}, {46, 4}, {49, 7},
        {51, 8}, {55, 12}, {57, 13}, {63, 14}, {65, 16}, {71, 18}, {75, 19}, {81, 20}, {83, 25}, {85, 2},
        {87, 3}, {89, 6}, {90, 10}, {91, 11}, {93, 23}, {94, 17}, {96, 22}, {97, 24}, {98, 26}};
    const int v = std::uniform_int_distribution<int>(1, 98)(rng);
    for (const Range &r : ranges) {
        if (v <= r.last)
            return r.code;
    }
    return 26;
}

inline BoardSolver::Board emptyBoard()
{
    BoardSolver::Board b;
    for (auto &row : b)
        row.fill(29);
    return b;
}

inline BoardSolver::Board deal(int sizeCode, std::mt19937 &rng)
{
    if (sizeCode == 8)
        sizeCode = 4 + std::uniform_int_distribution<int>(0, 3)(rng);
    const auto [lo, hi] = playedRange(sizeCode);
    BoardSolver::Board b = emptyBoard();
    for (int r = lo; r <= hi; ++r) {
        for (int c = lo; c <= hi; ++c)
            b[size_t(r)][size_t(c)] = drawLetter(rng);
    }
    return b;
}

} // namespace randomboard
