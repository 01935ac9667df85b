#include "boardaccessible.h"

#include "boardcellaccessible.h"
#include "boardcursor.h"
#include "boardmodel.h"
#include "boardpaintbox.h"
#include "entrystrip.h"
#include "entrystripaccessible.h"
#include "tilegroup.h"
#include "wordentry.h"

namespace {

QAccessibleInterface *boardFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("BoardPaintBox"))
        return new BoardAccessible(static_cast<BoardPaintBox *>(object));
    if (className == QLatin1String("EntryStrip"))
        return new EntryStripAccessible(static_cast<EntryStrip *>(object));
    return nullptr;
}

} // namespace

BoardAccessible::BoardAccessible(BoardPaintBox *box)
    : QAccessibleWidget(box, QAccessible::Table)
{ }

BoardAccessible::~BoardAccessible()
{
    forgetCells();
}

void BoardAccessible::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(boardFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

BoardPaintBox *BoardAccessible::box() const
{
    return static_cast<BoardPaintBox *>(widget());
}

QRect BoardAccessible::square() const
{
    return box()->board()->shownSquare();
}

void BoardAccessible::forgetCells()
{
    for (const QAccessible::Id id : std::as_const(cells_))
        QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
}

void *BoardAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString BoardAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return QStringLiteral("Board");
    case QAccessible::Description: {
        const QRect s = square();
        if (s.isEmpty())
            return QStringLiteral("No tiles yet");
        static const char *const turns[]
            = {"", ", turned a quarter", ", turned half way", ", turned three quarters"};
        return QStringLiteral("%1 by %2 tiles").arg(s.width()).arg(s.height())
            + QLatin1String(turns[box()->board()->rotation() & 3])
            + QStringLiteral("; the arrow keys walk it, Space takes a tile");
    }
    default:
        return QAccessibleWidget::text(t);
    }
}

int BoardAccessible::rowCount() const
{
    return square().height();
}

int BoardAccessible::columnCount() const
{
    return square().width();
}

int BoardAccessible::childCount() const
{
    return rowCount() * columnCount();
}

QAccessibleInterface *BoardAccessible::cellAt(int row, int column) const
{
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return nullptr;
    const int key = row * Cell::gridSize + column;
    if (const auto found = cells_.constFind(key); found != cells_.cend())
        return QAccessible::accessibleInterface(*found);
    auto *cell = new BoardCellAccessible(box(), row, column);
    cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface *BoardAccessible::cellOf(Cell shown) const
{
    const QRect s = square();
    return cellAt(shown.y - s.top(), shown.x - s.left());
}

QAccessibleInterface *BoardAccessible::child(int index) const
{
    const int columns = columnCount();
    if (index < 0 || columns == 0)
        return nullptr;
    return cellAt(index / columns, index % columns);
}

int BoardAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child || child->role() != QAccessible::Cell)
        return -1;
    const auto *cell = const_cast<QAccessibleInterface *>(child)->tableCellInterface();
    if (!cell || cell->rowIndex() >= rowCount() || cell->columnIndex() >= columnCount())
        return -1;
    return cell->rowIndex() * columnCount() + cell->columnIndex();
}

QAccessibleInterface *BoardAccessible::childAt(int x, int y) const
{
    const QPoint local = box()->mapFromGlobal(QPoint(x, y));
    if (!box()->rect().contains(local))
        return nullptr;
    return cellOf({local.x() / TileGroup::tileSize, local.y() / TileGroup::tileSize});
}

QAccessibleInterface *BoardAccessible::focusChild() const
{
    if (!box()->hasFocus())
        return nullptr;
    return cellOf(box()->entry()->cursor()->cell());
}

int BoardAccessible::selectedCellCount() const
{
    return int(selectedCells().size());
}

QList<QAccessibleInterface *> BoardAccessible::selectedCells() const
{
    // In the order of the word, first letter first.
    QList<QAccessibleInterface *> cells;
    const WordEntry *entry = box()->entry();
    for (int k = 1; k <= entry->length(); ++k) {
        if (QAccessibleInterface *cell = cellOf(entry->wordpath(k)))
            cells.append(cell);
    }
    return cells;
}

QString BoardAccessible::columnDescription(int column) const
{
    return QStringLiteral("column %1").arg(column + 1);
}

QString BoardAccessible::rowDescription(int row) const
{
    return QStringLiteral("row %1").arg(row + 1);
}

void BoardAccessible::modelChange(QAccessibleTableModelChangeEvent *event)
{
    // Cells read the board afresh; only those now outside the square must go.
    Q_UNUSED(event);
    for (auto it = cells_.begin(); it != cells_.end();) {
        QAccessibleInterface *cell = QAccessible::accessibleInterface(*it);
        if (!cell || !cell->isValid()) {
            QAccessible::deleteAccessibleInterface(*it);
            it = cells_.erase(it);
        } else {
            ++it;
        }
    }
}
