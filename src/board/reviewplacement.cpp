#include "reviewplacement.h"

#include <QtGlobal>

#include <algorithm>
#include <array>

namespace {

// `start` moved as little as needed for [start, start + length) to lie within
// [low, high); `low` when it cannot.
int keepWithin(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high - length));
}

} // namespace

QPoint ReviewPlacement::besideBoard(const QRect &board, const QSize &frame, const QRect &work)
{
    const int workRight = work.x() + work.width();
    const int workBottom = work.y() + work.height();
    const int boardRight = board.x() + board.width();
    const int boardBottom = board.y() + board.height();
    const int levelY = keepWithin(board.y(), frame.height(), work.y(), workBottom);
    const int levelX = keepWithin(board.x(), frame.width(), work.x(), workRight);

    struct Side
    {
        int room; // free pixels on that side, gap included
        int need;
        QPoint place;
    };
    const std::array<Side, 4> sides {{
        {workRight - boardRight, frame.width() + gap, {boardRight + gap, levelY}},
        {board.x() - work.x(), frame.width() + gap, {board.x() - gap - frame.width(), levelY}},
        {workBottom - boardBottom, frame.height() + gap, {levelX, boardBottom + gap}},
        {board.y() - work.y(), frame.height() + gap, {levelX, board.y() - gap - frame.height()}},
    }};
    for (const Side &side : sides) {
        if (side.room >= side.need)
            return side.place;
    }
    const Side &roomiest = *std::max_element(
        sides.begin(), sides.end(), [](const Side &a, const Side &b) { return a.room < b.room; });
    return {keepWithin(roomiest.place.x(), frame.width(), work.x(), workRight),
        keepWithin(roomiest.place.y(), frame.height(), work.y(), workBottom)};
}
