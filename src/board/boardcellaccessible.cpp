#include "boardcellaccessible.h"

#include "boardcursor.h"
#include "boardmodel.h"
#include "boardpaintbox.h"
#include "tilegroup.h"
#include "wordentry.h"

#include <QWidget>
#include <QWindow>

BoardCellAccessible::BoardCellAccessible(BoardPaintBox *box, int row, int column)
    : box_(box)
    , row_(row)
    , column_(column)
{ }

QString BoardCellAccessible::placeText(int row, int column)
{
    return QStringLiteral("row %1, column %2").arg(row + 1).arg(column + 1);
}

bool BoardCellAccessible::isValid() const
{
    if (!box_)
        return false;
    const QRect square = box_->board()->shownSquare();
    return row_ >= 0 && column_ >= 0 && row_ < square.height() && column_ < square.width();
}

QWindow *BoardCellAccessible::window() const
{
    return box_ && box_->window() ? box_->window()->windowHandle() : nullptr;
}

QAccessibleInterface *BoardCellAccessible::parent() const
{
    return box_ ? QAccessible::queryAccessibleInterface(box_.data()) : nullptr;
}

int BoardCellAccessible::code() const
{
    const QRect square = box_->board()->shownSquare();
    return box_->board()->shown({square.left() + column_, square.top() + row_});
}

QString BoardCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    switch (t) {
    case QAccessible::Name: {
        const QString letter = BoardModel::convertoletter(code()).toUpper();
        return letter.isEmpty() ? QStringLiteral("no tile") : letter;
    }
    case QAccessible::Description:
        return placeText(row_, column_);
    default:
        return {};
    }
}

QRect BoardCellAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect square = box_->board()->shownSquare();
    const int side = TileGroup::tileSize;
    const QPoint corner((square.left() + column_) * side, (square.top() + row_) * side);
    return QRect(box_->mapToGlobal(corner), QSize(side, side));
}

bool BoardCellAccessible::isSelected() const
{
    if (!isValid())
        return false;
    const QRect square = box_->board()->shownSquare();
    return box_->board()->mark({square.left() + column_, square.top() + row_}) != BoardModel::noMark;
}

QAccessible::State BoardCellAccessible::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.invisible = !box_->isVisible();
    s.selectable = true;
    s.selected = isSelected();
    s.focusable = true;
    const Cell at = box_->entry()->cursor()->cell();
    const QRect square = box_->board()->shownSquare();
    s.focused = box_->hasFocus() && at == Cell {square.left() + column_, square.top() + row_};
    return s;
}

void *BoardCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface *>(this);
    return nullptr;
}
