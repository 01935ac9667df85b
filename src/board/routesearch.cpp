#include "routesearch.h"

#include <algorithm>
#include <array>

namespace {

constexpr int cellCount = Cell::gridSize * Cell::gridSize;
constexpr int dxs[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int dys[8] = {-1, 0, 1, -1, 1, -1, 0, 1};

// The neighbours of every cell by scan index, in direction order; -1 off the grid.
using NeighbourTable = std::array<std::array<int, 8>, cellCount>;

constexpr NeighbourTable makeNeighbours()
{
    NeighbourTable table {};
    for (int i = 0; i < cellCount; ++i) {
        const Cell c = Cell::fromIndex(i);
        for (int d = 0; d < 8; ++d) {
            const Cell n {c.x + dxs[d], c.y + dys[d]};
            table[i][d] = n.inGrid() ? n.index() : -1;
        }
    }
    return table;
}

constexpr NeighbourTable neighbours = makeNeighbours();

// A set of cells, bit i for scan index i (i = 10 x + y).
using Bits = unsigned __int128;

constexpr Bits bit(int i)
{
    return Bits(1) << i;
}

constexpr Bits cellsWhere(bool (*keep)(Cell))
{
    Bits set = 0;
    for (int i = 0; i < cellCount; ++i) {
        if (keep(Cell::fromIndex(i)))
            set |= bit(i);
    }
    return set;
}

constexpr Bits allCells = cellsWhere([](Cell) { return true; });
constexpr Bits notTop = cellsWhere([](Cell c) { return c.y != 0; });
constexpr Bits notBottom = cellsWhere([](Cell c) { return c.y != Cell::gridSize - 1; });

// The cells one king step from a cell of the set.
constexpr Bits around(Bits set)
{
    const Bits vertical = ((set & notTop) >> 1) | ((set & notBottom) << 1);
    const Bits column = set | vertical;
    return (vertical | (column << Cell::gridSize) | (column >> Cell::gridSize)) & allCells;
}

// The set and every cell one king step from it.
constexpr Bits grow(Bits set)
{
    return set | around(set);
}

// Without a hardware instruction to rely on (the baseline x86-64 has none), a
// branch-free count beats the library call std::popcount makes.
constexpr int count64(std::uint64_t x)
{
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int((x * 0x0101010101010101ull) >> 56);
}

constexpr int count(Bits set)
{
    return count64(std::uint64_t(set)) + count64(std::uint64_t(set >> 64));
}

// boxes()[i][r]: the cells within r king steps of cell i, the only ones a chain of r
// more tiles from i can touch.
using BoxTable = std::array<std::array<Bits, RouteSearch::maxLetters>, cellCount>;

const BoxTable &boxes()
{
    static const BoxTable table = [] {
        BoxTable t {};
        for (int i = 0; i < cellCount; ++i) {
            t[i][0] = bit(i);
            for (int r = 1; r < RouteSearch::maxLetters; ++r)
                t[i][r] = grow(t[i][r - 1]);
        }
        return t;
    }();
    return table;
}

// A failed branch: its last tile, the position of that tile's letter, and those of its
// used tiles that the rest of the search could have reached. Those decide alone how
// the search goes on from there, so an equal branch fails again.
struct Branch
{
    Bits used = 0;
    int end = 0;
    int position = 0;

    friend bool operator==(const Branch &, const Branch &) = default;
};

// Failed branches, in an open-addressed table that grows to a cap and then stops
// taking new entries: forgetting a branch only costs time, never the answer. One
// table serves every search of the thread: a search starts a new generation, which
// empties it without touching its memory.
class BranchTable
{
public:
    void reset()
    {
        size_ = 0;
        if (++generation_ == 0) {
            for (Slot &slot : slots_)
                slot.generation = 0;
            generation_ = 1;
        }
    }

    bool contains(const Branch &b) const
    {
        if (slots_.empty())
            return false;
        for (std::size_t i = hash(b) & mask_;; i = (i + 1) & mask_) {
            if (slots_[i].generation != generation_)
                return false;
            if (slots_[i].branch == b)
                return true;
        }
    }

    // False when the table is full.
    bool insert(const Branch &b)
    {
        if ((size_ + 1) * 2 > slots_.size() && !grow())
            return false;
        for (std::size_t i = hash(b) & mask_;; i = (i + 1) & mask_) {
            if (slots_[i].generation != generation_) {
                slots_[i] = {b, generation_};
                ++size_;
                return true;
            }
            if (slots_[i].branch == b)
                return true;
        }
    }

private:
    struct Slot
    {
        Branch branch;
        std::uint32_t generation = 0;
    };

    static constexpr std::size_t firstSize = 1024;
    static constexpr std::size_t maxSize = std::size_t(1) << 18;

    static std::size_t hash(const Branch &b)
    {
        std::uint64_t h = std::uint64_t(b.used) * 0x9E3779B97F4A7C15ull;
        h ^= std::uint64_t(b.used >> 64) * 0xC2B2AE3D27D4EB4Full;
        h ^= std::uint64_t(b.end * 16 + b.position) * 0x165667B19E3779F9ull;
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        return std::size_t(h ^ (h >> 32));
    }

    bool grow()
    {
        const std::size_t newSize = slots_.empty() ? firstSize : slots_.size() * 2;
        if (newSize > maxSize)
            return false;
        std::vector<Slot> old(newSize);
        old.swap(slots_);
        const std::uint32_t live = generation_;
        reset();
        mask_ = newSize - 1;
        for (const Slot &slot : old) {
            if (slot.generation == live)
                insert(slot.branch);
        }
        return true;
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
    std::uint32_t generation_ = 1;
};

class Search
{
public:
    Search(const BoardModel::Grid &board, std::span<const int> letters, RouteSearch::Stats *stats)
        : board_(board)
        , letters_(letters)
        , m_(int(letters.size()))
        , stats_(stats)
    {
        for (auto &row : feasible_)
            row.fill(Unknown);
        failed_.reset();
    }

    std::optional<std::vector<Cell>> run()
    {
        if (!lettersAvailable() || !markReachable())
            return std::nullopt;
        for (int s = 0; s < cellCount; ++s) {
            if (!feasible(0, s))
                continue;
            std::vector<Cell> cells;
            for (int k = 0; k < m_; ++k)
                cells.push_back(Cell::fromIndex(route_[k]));
            return cells;
        }
        return std::nullopt;
    }

private:
    enum : signed char { Unknown = -1, No = 0, Yes = 1 };
    using Route = std::array<int, RouteSearch::maxLetters>;

    struct LetterNeed
    {
        int letter = 0;
        int count = 0;
        Bits tiles = 0; // the tiles that could take it
    };

    int code(int i) const { return board_[i / Cell::gridSize][i % Cell::gridSize]; }

    // Every letter must be on the board as often as the word needs it.
    bool lettersAvailable() const
    {
        std::array<int, BoardModel::lastLetter + 1> needed {};
        for (int letter : letters_) {
            if (!BoardModel::isLetter(letter))
                return false;
            ++needed[letter];
        }
        for (int i = 0; i < cellCount; ++i) {
            if (BoardModel::isLetter(code(i)))
                --needed[code(i)];
        }
        return std::all_of(needed.begin(), needed.end(), [](int n) { return n <= 0; });
    }

    // reachable_[k]: the tiles that show letter k and from which letters k+1.. can be
    // walked, tiles reused allowed. laterTiles_[k]: those of all positions after k.
    // False when no start tile qualifies.
    bool markReachable()
    {
        Bits later = 0;
        for (int k = m_ - 1; k >= 0; --k) {
            laterTiles_[k] = later;
            Bits letter = 0;
            for (int i = 0; i < cellCount; ++i) {
                if (code(i) == letters_[k])
                    letter |= bit(i);
            }
            reachable_[k] = k + 1 < m_ ? letter & around(reachable_[k + 1]) : letter;
            later |= reachable_[k];
        }
        // needs_[j]: the letters after position j, each with its tiles and how often.
        for (int j = 0; j < m_; ++j) {
            for (int k = j + 1; k < m_; ++k) {
                auto &needs = needs_[j];
                auto same = std::find_if(
                    needs.begin(), needs.end(), [&](const LetterNeed &n) { return n.letter == letters_[k]; });
                if (same != needs.end()) {
                    ++same->count;
                    same->tiles |= reachable_[k];
                } else {
                    needs.push_back({letters_[k], 1, reachable_[k]});
                }
            }
        }
        return reachable_[0] != 0;
    }

    // Whether letters k.. can be placed from tile i on a board where every tile is
    // free. Worked out once per (k, i) by a search of its own; for k = 0 the search
    // leaves its placement in route_.
    bool feasible(int k, int i)
    {
        if (!(reachable_[k] & bit(i)))
            return false;
        if (k + 1 == m_) {
            route_[k] = i;
            return true;
        }
        if (feasible_[k][i] != Unknown)
            return feasible_[k][i] == Yes;
        Route route {};
        route[k] = i;
        tally();
        if (stats_)
            ++stats_->searches;
        const bool found = extend(k, bit(i), route);
        feasible_[k][i] = found ? Yes : No;
        if (found && k == 0)
            route_ = route;
        return found;
    }

    // Letters up to j are placed on route, on the tiles of `used`; places j+1 onwards.
    bool extend(int j, Bits used, Route &route)
    {
        const int rest = m_ - 1 - j;
        if (rest == 0)
            return true;
        const int tile = route[j];
        // Leaves are cheaper to search again than to remember or to measure.
        if (rest >= 2) {
            Bits relevant = 0;
            for (int k = j + 1; k < m_; ++k)
                relevant |= reachable_[k] & boxes()[tile][k - j];
            const Branch branch {used & relevant, tile, j};
            if (failed_.contains(branch))
                return false;
            if (!roomFor(tile, used, j, rest) || !tryNeighbours(j, used, route)) {
                if (failed_.insert(branch) && stats_)
                    ++stats_->remembered;
                return false;
            }
            return true;
        }
        return tryNeighbours(j, used, route);
    }

    bool tryNeighbours(int j, Bits used, Route &route)
    {
        for (int n : neighbours[route[j]]) {
            if (n < 0 || (used & bit(n)) || !feasible(j + 1, n))
                continue;
            route[j + 1] = n;
            tally();
            if (extend(j + 1, used | bit(n), route))
                return true;
        }
        return false;
    }

    // Two necessary conditions on the free tiles for placing the rest from `tile`.
    // Each further letter needs a free tile of its own next to one that can take the
    // letter before: the layers of such tiles must never run dry. And the `rest`
    // tiles are distinct free tiles joined to `tile` through free tiles of letters
    // still to come, no letter on more of them than the rest of the word holds.
    bool roomFor(int tile, Bits used, int j, int rest) const
    {
        Bits layer = bit(tile);
        for (int k = j + 1; k < m_; ++k) {
            layer = around(layer) & reachable_[k] & ~used;
            if (!layer)
                return false;
        }
        const Bits open = laterTiles_[j] & ~used;
        Bits reached = grow(bit(tile)) & open;
        for (int step = 1; step < rest; ++step) {
            const Bits next = grow(reached) & open;
            if (next == reached)
                break;
            reached = next;
        }
        int room = 0;
        for (const LetterNeed &need : needs_[j]) {
            room += std::min(count(reached & need.tiles), need.count);
            if (room >= rest)
                return true;
        }
        return false;
    }

    void tally()
    {
        if (stats_)
            ++stats_->nodes;
    }

    const BoardModel::Grid &board_;
    std::span<const int> letters_;
    int m_;
    RouteSearch::Stats *stats_;
    std::array<Bits, RouteSearch::maxLetters> reachable_ {};
    std::array<Bits, RouteSearch::maxLetters> laterTiles_ {};
    std::array<std::vector<LetterNeed>, RouteSearch::maxLetters> needs_ {};
    std::array<std::array<signed char, cellCount>, RouteSearch::maxLetters> feasible_ {};
    Route route_ {};
    static thread_local BranchTable failed_;
};

thread_local BranchTable Search::failed_;

} // namespace

std::optional<std::vector<Cell>> RouteSearch::findroute(
    const BoardModel::Grid &board, std::span<const int> letters, Stats *stats)
{
    if (letters.empty() || letters.size() > std::size_t(maxLetters))
        return std::nullopt;
    return Search(board, letters, stats).run();
}

Cell RouteSearch::getthepoints(Cell c, int direction)
{
    if (direction < 1 || direction > 8)
        return Cell {};
    return {c.x + dxs[direction - 1], c.y + dys[direction - 1]};
}
