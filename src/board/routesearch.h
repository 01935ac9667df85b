#pragma once

#include "boardmodel.h"
#include "cell.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The typing search: places a whole word anew on the displayed board.
//
// The answer is the first placement in this order: start cells in scan order (x outer,
// y inner), then at every position the eight directions of the previous tile in the
// order (-1,-1) (-1,0) (-1,+1) (0,-1) (0,+1) (+1,-1) (+1,0) (+1,+1) as (dx, dy). A
// placement is a chain of distinct cells, each one of the eight neighbours of the one
// before, whose codes equal the letters.
//
// That is the answer of a plain depth-first search; this one never enters a branch
// that cannot succeed, so its time stays bounded on boards of many equal letters:
//  - every letter must appear on the board as often as the word needs it;
//  - a tile is only placed where the rest of the word could still be walked from it
//    if tiles could be reused (a relaxation that never rejects a real placement);
//  - a branch that failed is remembered by its end tile and its set of used tiles,
//    which decide alone how the search goes on, and is not searched again.
class RouteSearch
{
public:
    static constexpr int maxLetters = 12;

    struct Stats
    {
        std::int64_t nodes = 0; // tiles placed, start tiles included
        std::int64_t remembered = 0; // failed branches remembered
        std::int64_t searches = 0; // (letter, tile) pairs whose own search ran
    };

    // Letters are tile codes; a word of 1 to 12 letters. nullopt when there is no
    // placement, for an empty or longer word, and for a code that is not a letter.
    static std::optional<std::vector<Cell>> findroute(
        const BoardModel::Grid &board, std::span<const int> letters, Stats *stats = nullptr);

    // `getthepoints`: the neighbour of `c` in direction 1 to 8 (may leave the grid);
    // unset for any other direction.
    static Cell getthepoints(Cell c, int direction);
};
