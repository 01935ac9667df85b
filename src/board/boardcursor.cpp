#include "boardcursor.h"

#include "boardmodel.h"

BoardCursor::BoardCursor(BoardModel *board, QObject *parent)
    : QObject(parent)
    , board_(board)
{
    connect(board_, &BoardModel::changed, this, &BoardCursor::followBoard);
    followBoard();
}

Cell BoardCursor::cell() const
{
    if (!real_.isSet())
        return {};
    return board_->displayed(real_).value_or(Cell {});
}

void BoardCursor::setShown(bool shown)
{
    if (shown == shown_)
        return;
    shown_ = shown;
    Q_EMIT shownChanged(shown_);
}

void BoardCursor::followBoard()
{
    const QRect square = board_->shownSquare();
    const Cell at = cell();
    if (square.isEmpty()) {
        real_ = {};
        return;
    }
    if (!at.isSet() || !square.contains(at.x, at.y))
        real_ = board_->getreal({square.left(), square.top()}).value_or(Cell {});
}

bool BoardCursor::walk(int key)
{
    switch (key) {
    case Qt::Key_Left:
        step(-1, 0);
        return true;
    case Qt::Key_Right:
        step(1, 0);
        return true;
    case Qt::Key_Up:
        step(0, -1);
        return true;
    case Qt::Key_Down:
        step(0, 1);
        return true;
    default:
        return false;
    }
}

void BoardCursor::step(int dx, int dy)
{
    const Cell at = cell();
    if (!at.isSet())
        return;
    const QRect square = board_->shownSquare();
    // The first step shows the cursor where it is.
    if (!shown_) {
        setShown(true);
        Q_EMIT moved(at);
        return;
    }
    moveTo(
        {qBound(square.left(), at.x + dx, square.right()), qBound(square.top(), at.y + dy, square.bottom())});
}

void BoardCursor::moveTo(Cell shown)
{
    if (!board_->shownSquare().contains(shown.x, shown.y))
        return;
    real_ = board_->getreal(shown).value_or(real_);
    setShown(true);
    Q_EMIT moved(cell());
}
