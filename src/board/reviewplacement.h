#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the words list window stands while it shows the round review: beside the
// board, never over it, so the chosen word's path can be seen.
class ReviewPlacement
{
public:
    // Pixels between the board and the window.
    static constexpr int gap = 8;

    // The top-left corner for a window of `frame` size beside `board`, inside the
    // screen's `work` area: right of the board, else left of it, else below, else above
    // (beside it: level with its top; above or below: level with its left edge, each
    // moved as little as needed to stay inside the work area). When the window fits on
    // no side, it goes to the side with the most room, inside the work area.
    static QPoint besideBoard(const QRect &board, const QSize &frame, const QRect &work);
};
