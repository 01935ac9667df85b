#include "boarddealer.h"

namespace {

struct LetterRange
{
    int last; // the highest v of the range
    int code;
};

// Ranges of v in 1..98, in the order of the draw table.
constexpr LetterRange ranges[] = {
    {9, 1}, // A
    {21, 5}, // E
    {30, 9}, // I
    {38, 15}, // O
    {41, 21}, // U
    {46, 4}, // D
    {49, 7}, // G
    {51, 8}, // H
    {55, 12}, // L
    {57, 13}, // M
    {63, 14}, // N
    {65, 16}, // P
    {71, 18}, // R
    {75, 19}, // S
    {81, 20}, // T
    {83, 25}, // Y
    {85, 2}, // B
    {87, 3}, // C
    {89, 6}, // F
    {90, 10}, // J
    {91, 11}, // K
    {93, 23}, // W
    {94, 17}, // Q
    {96, 22}, // V
    {97, 24}, // X
    {98, 26}, // Z
};

constexpr int drawRange = 98;

} // namespace

namespace BoardDealer {

Square playedSquare(int sizeCode, const UniformDraw &draw)
{
    if (sizeCode == 8)
        sizeCode = 4 + draw(4);
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

int letterForDraw(int v)
{
    for (const LetterRange &r : ranges)
        if (v <= r.last)
            return r.code;
    return ranges[std::size(ranges) - 1].code;
}

int letterWeight(int code)
{
    int previous = 0;
    for (const LetterRange &r : ranges) {
        if (r.code == code)
            return r.last - previous;
        previous = r.last;
    }
    return 0;
}

Wire::BoardCells deal(int sizeCode, const UniformDraw &draw)
{
    Wire::BoardCells board;
    for (auto &row : board)
        row.fill(Wire::noTile);
    const Square sq = playedSquare(sizeCode, draw);
    for (int row = sq.lo; row <= sq.hi; ++row)
        for (int col = sq.lo; col <= sq.hi; ++col)
            board[size_t(row)][size_t(col)] = letterForDraw(1 + draw(drawRange));
    return board;
}

} // namespace BoardDealer

char convertoletter(int code)
{
    if (code >= 1 && code <= 26)
        return char('a' + code - 1);
    if (code >= 27 && code <= 29)
        return '*';
    return 't';
}
