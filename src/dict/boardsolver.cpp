#include "boardsolver.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int side = BoardSolver::side;

// The cells around each cell of the 10x10 array, inside the array.
struct Neighbours
{
    std::array<std::array<quint8, 8>, side * side> cell {};
    std::array<quint8, side * side> count {};

    constexpr Neighbours()
    {
        for (int r = 0; r < side; ++r) {
            for (int c = 0; c < side; ++c) {
                const int here = r * side + c;
                for (int dr = -1; dr <= 1; ++dr) {
                    for (int dc = -1; dc <= 1; ++dc) {
                        const int nr = r + dr, nc = c + dc;
                        if ((dr || dc) && nr >= 0 && nr < side && nc >= 0 && nc < side)
                            cell[size_t(here)][count[size_t(here)]++] = quint8(nr * side + nc);
                    }
                }
            }
        }
    }
};

constexpr Neighbours neighbours;

} // namespace

BoardSolver::BoardSolver(const WordTrie &trie)
    : trie_(&trie)
    , seen_(512, 0)
{ }

int BoardSolver::cellLetter(qint32 code)
{
    if (code >= 1 && code <= 26)
        return code - 1;
    if (code >= 27 && code <= 29)
        return -1;
    return 'T' - 'A';
}

int BoardSolver::basePoints(int tiles)
{
    if (tiles <= 3)
        return 0;
    if (tiles <= 10)
        return tiles - 3;
    return tiles; // 11 and 12 tiles
}

QList<SolvedWord> BoardSolver::solve(const Board &board)
{
    for (int r = 0; r < side; ++r) {
        for (int c = 0; c < side; ++c) {
            const int letter = cellLetter(board[size_t(r)][size_t(c)]);
            letterBit_[size_t(r * side + c)] = letter < 0 ? 0 : 1u << letter;
        }
    }
    hits_.clear();
    used_ = {};
    std::fill(seen_.begin(), seen_.end(), 0);
    seenCount_ = 0;
    const WordTrie::Node &root = trie_->nodes()[0];
    for (int cell = 0; cell < cells; ++cell) {
        const quint32 bit = letterBit_[size_t(cell)];
        if (root.links & bit)
            search(cell, WordTrie::childFor(root, bit), 0, 0);
    }

    std::sort(hits_.begin(), hits_.end(), [](const Hit &a, const Hit &b) {
        return a.length != b.length ? a.length > b.length
                                    : std::memcmp(a.word.data(), b.word.data(), size_t(a.length)) < 0;
    });
    QList<SolvedWord> words;
    words.reserve(qsizetype(hits_.size()));
    for (const Hit &hit : hits_) {
        SolvedWord w;
        w.word = QString::fromLatin1(hit.word.data(), hit.length);
        w.path.reserve(hit.length);
        for (int i = 0; i < hit.length; ++i)
            w.path.append({hit.chain[size_t(i)] / side, hit.chain[size_t(i)] % side});
        w.laterPoints = basePoints(hit.length);
        w.firstPoints = w.laterPoints + 1;
        words.append(std::move(w));
    }
    return words;
}

bool BoardSolver::markSeen(quint64 key)
{
    if (seenCount_ * 2 >= qsizetype(seen_.size())) {
        std::vector<quint64> old(seen_.size() * 2, 0);
        old.swap(seen_);
        seenCount_ = 0;
        for (const quint64 k : old) {
            if (k)
                markSeen(k);
        }
    }
    const size_t mask = seen_.size() - 1;
    size_t slot = size_t((key * 0x9e3779b97f4a7c15u) >> 32) & mask;
    while (seen_[slot] != 0) {
        if (seen_[slot] == key)
            return false;
        slot = (slot + 1) & mask;
    }
    seen_[slot] = key;
    ++seenCount_;
    return true;
}

void BoardSolver::search(int cell, quint32 node, int depth, quint64 key)
{
    // `node` holds the endings of the chain so far, whose last tile is `cell`, the
    // (depth + 1)th; `key` packs the letters before it.
    const WordTrie::Node here = trie_->nodes()[node];
    const int letter = qCountTrailingZeroBits(letterBit_[size_t(cell)]);
    key = (key << 5) | quint64(letter + 1);
    chain_[size_t(depth)] = quint8(cell);
    if ((here.links & WordTrie::wordEnd) && markSeen(key)) {
        Hit &hit = hits_.emplace_back(Hit {depth + 1, chain_, {}});
        for (int i = 0; i <= depth; ++i)
            hit.word[size_t(i)] = char('A' + qCountTrailingZeroBits(letterBit_[chain_[size_t(i)]]));
    }
    if (!(here.links & WordTrie::letterMask))
        return;
    used_[size_t(cell / 64)] |= quint64(1) << (cell % 64);
    const auto &around = neighbours.cell[size_t(cell)];
    for (int i = 0, n = neighbours.count[size_t(cell)]; i < n; ++i) {
        const int next = around[size_t(i)];
        const quint32 bit = letterBit_[size_t(next)];
        if ((here.links & bit) && !(used_[size_t(next / 64)] & (quint64(1) << (next % 64))))
            search(next, WordTrie::childFor(here, bit), depth + 1, key);
    }
    used_[size_t(cell / 64)] &= ~(quint64(1) << (cell % 64));
}
