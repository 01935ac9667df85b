// Arbitrary bytes as a board (as a hostile host could deal it) and a typed word: the
// route search must answer a valid chain, and the same one as the plain depth-first
// search whenever that one finishes within its budget.
#include "boardmodel.h"
#include "routesearch.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// 1 found, 0 none, -1 over budget.
int plainSearch(const BoardModel::Grid &board, const std::vector<int> &letters, std::vector<Cell> &route,
    std::size_t k, long &budget)
{
    if (k == letters.size())
        return 1;
    if (--budget < 0)
        return -1;
    for (int d = 1; d <= 8; ++d) {
        const Cell n = RouteSearch::getthepoints(route[k - 1], d);
        if (!n.inGrid() || board[n.x][n.y] != letters[k])
            continue;
        bool taken = false;
        for (std::size_t i = 0; i < k; ++i)
            taken = taken || route[i] == n;
        if (taken)
            continue;
        route[k] = n;
        const int r = plainSearch(board, letters, route, k + 1, budget);
        if (r != 0)
            return r;
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 101)
        return 0;
    // A small alphabet makes many equal letters, the hard case. Byte 0 picks it.
    const int alphabet = 1 + data[0] % 6;
    BoardModel::Grid board;
    for (int i = 0; i < 100; ++i) {
        const uint8_t b = data[1 + i];
        board[i / 10][i % 10] = b % 8 == 0 ? BoardModel::blankTile : 1 + b % alphabet;
    }
    std::vector<int> letters;
    for (size_t i = 101; i < size && letters.size() < 13; ++i)
        letters.push_back(data[i] == 0xFF ? 27 : 1 + data[i] % alphabet);

    const auto found = RouteSearch::findroute(board, letters);
    if (found) {
        if (found->size() != letters.size())
            std::abort();
        for (std::size_t k = 0; k < found->size(); ++k) {
            const Cell c = (*found)[k];
            if (!c.inGrid() || board[c.x][c.y] != letters[k])
                std::abort();
            if (k > 0 && !c.isNeighbourOf((*found)[k - 1]))
                std::abort();
            for (std::size_t j = 0; j < k; ++j) {
                if ((*found)[j] == c)
                    std::abort();
            }
        }
    }

    if (letters.empty() || letters.size() > 12)
        return 0;
    for (int letter : letters) {
        if (!BoardModel::isLetter(letter))
            return 0;
    }
    long budget = 20000;
    std::vector<Cell> route(letters.size());
    for (int i = 0; i < 100; ++i) {
        const Cell s = Cell::fromIndex(i);
        if (board[s.x][s.y] != letters[0])
            continue;
        route[0] = s;
        const int r = plainSearch(board, letters, route, 1, budget);
        if (r < 0)
            return 0;
        if (r > 0) {
            if (!found || *found != route)
                std::abort();
            return 0;
        }
    }
    if (found)
        std::abort();
    return 0;
}
