#pragma once

// Boards as the host deals them, from a seeded generator, for tests and benchmarks.

#include "boarddealer.h"
#include "boardsolver.h"

#include <random>
#include <utility>

namespace randomboard {

inline UniformDraw drawFrom(std::mt19937 &rng)
{
    return [&rng](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(rng); };
}

// Rows and columns lo..hi of the played square of a fixed size code (not 8).
inline std::pair<int, int> playedRange(int sizeCode)
{
    const BoardDealer::Square square = BoardDealer::playedSquare(sizeCode, [](int) { return 0; });
    return {square.lo, square.hi};
}

inline BoardSolver::Board emptyBoard()
{
    BoardSolver::Board b;
    for (auto &row : b)
        row.fill(Wire::noTile);
    return b;
}

inline BoardSolver::Board deal(int sizeCode, std::mt19937 &rng)
{
    const Wire::BoardCells cells = BoardDealer::deal(sizeCode, drawFrom(rng));
    BoardSolver::Board b;
    for (size_t r = 0; r < b.size(); ++r) {
        for (size_t c = 0; c < b[r].size(); ++c)
            b[r][c] = cells[r][c];
    }
    return b;
}

} // namespace randomboard
