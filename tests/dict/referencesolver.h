#pragma once

#include "boardsolver.h"

#include <map>
#include <string>
#include <unordered_set>

class TDictn;

// The plain search the solver is checked against: every chain of 1 to 12 cells of
// the whole 10x10 array, read cell by cell as the host reads a claim, kept when the
// dictionary's isword() accepts it and it has at least 3 tiles. Chains are cut
// short only when no record of the list begins with them.
class ReferenceSolver
{
public:
    explicit ReferenceSolver(const TDictn &dict);

    // Each word with the number of chains that spell it.
    std::map<std::string, int> solve(const BoardSolver::Board &board) const;

    // The host's reading of a cell code, upper-cased.
    static char hostLetter(qint32 code);

private:
    void extend(const BoardSolver::Board &board, int row, int col, std::string &word, bool (&used)[10][10],
        std::map<std::string, int> &found) const;

    const TDictn &dict_;
    std::unordered_set<std::string> prefixes_;
};
