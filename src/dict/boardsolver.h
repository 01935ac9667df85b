#pragma once

#include "wordtrie.h"

#include <QList>
#include <QString>

#include <array>
#include <vector>

// A tile's place on the board: the first index (row) and the second (column), 0 to 9.
struct BoardCell
{
    int row = 0;
    int col = 0;
    friend bool operator==(const BoardCell &, const BoardCell &) = default;
};

// A word the board holds, with one chain of tiles that spells it.
struct SolvedWord
{
    QString word; // upper case; one letter per tile
    QList<BoardCell> path;
    int firstPoints = 0; // what its first finder in a round scores
    int laterPoints = 0; // what everyone who claims it later scores
};

// Finds every word a board holds: each chain of 3 to 12 tiles, each tile one of
// the eight neighbours of the one before, no tile used twice, that spells a word
// of the trie. The cells are read as the host reads a claim: codes 1 to 26 are
// A to Z, 27 to 29 are cells without a tile, and any other code reads as T.
//
// The trie must outlive the solver and stay unchanged while it is in use. Not for
// concurrent use (it keeps scratch state).
class BoardSolver
{
public:
    static constexpr int side = 10;
    using Board = std::array<std::array<qint32, side>, side>; // [row][col] cell codes

    explicit BoardSolver(const WordTrie &trie);

    // Each word once, with the first chain found for it; longest first, then in
    // alphabetical order.
    QList<SolvedWord> solve(const Board &board);

    // The letter a cell code stands for (0 for A .. 25 for Z), or -1 for no tile.
    static int cellLetter(qint32 code);
    // Points for an accepted word of `tiles` tiles (1 to 12) for a later finder;
    // its first finder scores one more.
    static int basePoints(int tiles);

private:
    static constexpr int cells = side * side;

    void search(int cell, quint32 node, int depth, quint64 key);
    bool markSeen(quint64 key);

    const WordTrie *trie_;
    // Per solve: the letter bit of each cell (0 without a tile), the tiles on the
    // current chain, and the words found so far.
    std::array<quint32, cells> letterBit_ {};
    std::array<quint64, 2> used_ {};
    std::array<quint8, WordTrie::maxLetters> chain_ {};
    // The words found, each as its letters packed 5 bits apiece (letter + 1), in an
    // open-addressing table where 0 is a free slot.
    std::vector<quint64> seen_;
    qsizetype seenCount_ = 0;
    struct Hit
    {
        int length;
        std::array<quint8, WordTrie::maxLetters> chain;
        std::array<char, WordTrie::maxLetters> word;
    };
    std::vector<Hit> hits_;
};
