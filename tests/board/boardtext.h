#pragma once

// Boards written as text in tests: ten lines, one per y from the top, each of ten
// characters, one per x from the left; a letter is its tile, '.' a blank cell.

#include "boardmodel.h"
#include "cell.h"

#include <QByteArray>
#include <QString>
#include <QtTest>

#include <initializer_list>
#include <vector>

inline BoardModel::Grid gridFromText(std::initializer_list<const char *> lines)
{
    BoardModel::Grid grid {};
    for (auto &column : grid)
        column.fill(BoardModel::blankTile);
    int y = 0;
    for (const char *line : lines) {
        for (int x = 0; x < BoardModel::size && line[x]; ++x) {
            const char c = line[x];
            if (c >= 'a' && c <= 'z')
                grid[x][y] = c - 'a' + 1;
            else if (c >= 'A' && c <= 'Z')
                grid[x][y] = c - 'A' + 1;
        }
        ++y;
    }
    return grid;
}

// A board of one letter everywhere.
inline BoardModel::Grid uniformGrid(char letter)
{
    BoardModel::Grid grid {};
    for (auto &column : grid)
        column.fill(letter - 'a' + 1);
    return grid;
}

inline std::vector<int> lettersOf(const char *word)
{
    std::vector<int> codes;
    for (const char *p = word; *p; ++p)
        codes.push_back((*p | 0x20) - 'a' + 1);
    return codes;
}

// Lets QCOMPARE print cells.
inline char *toString(const Cell &c)
{
    return qstrdup(
        QByteArray("(" + QByteArray::number(c.x) + ", " + QByteArray::number(c.y) + ")").constData());
}
