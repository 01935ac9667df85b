#include "referencesolver.h"

#include "tdictn.h"

#include <vector>

ReferenceSolver::ReferenceSolver(const TDictn &dict)
    : dict_(dict)
{
    std::vector<char> record(TDictn::recordSize);
    for (qint64 i = 0; i < dict.recordCount(); ++i) {
        if (!dict.readRecords(i, 1, record.data()))
            break;
        const QByteArray key = TDictn::wordkey(QByteArrayView(record.data() + 1, TDictn::recordSize - 1));
        const std::string word = key.trimmed().toStdString();
        for (size_t n = 1; n <= word.size() && n <= 12; ++n)
            prefixes_.insert(word.substr(0, n));
    }
}

char ReferenceSolver::hostLetter(qint32 code)
{
    if (code >= 1 && code <= 26)
        return char('A' + code - 1);
    if (code >= 27 && code <= 29)
        return '*';
    return 'T';
}

std::map<std::string, int> ReferenceSolver::solve(const BoardSolver::Board &board) const
{
    std::map<std::string, int> found;
    bool used[10][10] = {};
    std::string word;
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c)
            extend(board, r, c, word, used, found);
    }
    return found;
}

void ReferenceSolver::extend(const BoardSolver::Board &board, int row, int col, std::string &word,
    bool (&used)[10][10], std::map<std::string, int> &found) const
{
    word.push_back(hostLetter(board[size_t(row)][size_t(col)]));
    used[row][col] = true;
    if (word.size() >= 3 && dict_.isword(QByteArrayView(word.data(), qsizetype(word.size()))))
        ++found[word];
    if (word.size() < 12 && prefixes_.count(word)) {
        for (int r = row - 1; r <= row + 1; ++r) {
            for (int c = col - 1; c <= col + 1; ++c) {
                if (r >= 0 && r < 10 && c >= 0 && c < 10 && !used[r][c])
                    extend(board, r, c, word, used, found);
            }
        }
    }
    used[row][col] = false;
    word.pop_back();
}
