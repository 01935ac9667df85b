#include "boardpaintbox.h"

#include "boardaccessible.h"
#include "boardcursor.h"
#include "boardmodel.h"
#include "tilegroups.h"
#include "wordentry.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

BoardPaintBox::BoardPaintBox(BoardModel *board, WordEntry *entry, TileGroups *tiles, QWidget *parent)
    : QWidget(parent)
    , board_(board)
    , entry_(entry)
    , tiles_(tiles)
{
    setObjectName(QStringLiteral("paintbox_board"));
    setFixedSize(side, side);
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab alone: a click on a tile leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    BoardAccessible::installFactory();
    reportedTiles_ = board_->shownboard();
    reportedMarks_ = board_->marks();
    connect(board_, &BoardModel::changed, this, qOverload<>(&QWidget::update));
    connect(board_, &BoardModel::changed, this, &BoardPaintBox::reportChanges);
    connect(entry_->cursor(), &BoardCursor::moved, this, &BoardPaintBox::cursorMoved);
    connect(entry_->cursor(), &BoardCursor::shownChanged, this, qOverload<>(&QWidget::update));
    connect(tiles_, &TileGroups::picturesChanged, this, [this] {
        ink_ = QColor();
        update();
    });
}

void BoardPaintBox::paintEvent(QPaintEvent *)
{
    // The built-in tiles are drawn for the screen's pixel density (no-op when unchanged).
    tiles_->setDevicePixelRatio(devicePixelRatioF());
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const int cell = TileGroup::tileSize;
    for (int x = 0; x < BoardModel::size; ++x) {
        for (int y = 0; y < BoardModel::size; ++y) {
            const QRect square(x * cell, y * cell, cell, cell);
            p.drawImage(square, tiles_->picture(board_->shownboard()[x][y]));
            const int mark = board_->marks()[x][y];
            if (mark != BoardModel::noMark)
                p.drawImage(square, tiles_->picture(mark));
        }
    }
    paintPath(p);
    paintCursor(p);
}

void BoardPaintBox::paintCursor(QPainter &p)
{
    const int cell = TileGroup::tileSize;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    const Cell at = entry_->cursor()->cell();
    if (entry_->cursor()->shown() && at.isSet()) {
        // Dark outside, bright inside: it shows on light tiles and dark ones alike.
        const QRectF square(at.x * cell + 1.5, at.y * cell + 1.5, cell - 3, cell - 3);
        p.setPen(QPen(Qt::black, 5));
        p.drawRoundedRect(square, 6, 6);
        p.setPen(QPen(QColor(255, 230, 0), 2.5));
        p.drawRoundedRect(square, 6, 6);
    }
    if (hasFocus() && keyboardFocus_) {
        p.setPen(QPen(QColor(255, 230, 0), 2, Qt::DashLine));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    p.restore();
}

void BoardPaintBox::keyPressEvent(QKeyEvent *event)
{
    if (entry_->boardKey(event->key(), event->modifiers()))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void BoardPaintBox::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    // A window that opens or comes back to the front hands the focus on silently.
    keyboardFocus_
        = event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    update();
    // Qt tells the reader of the board itself once this event is handled; the cell
    // under the cursor is told after it, so the reader lands on the cell.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus())
                reportCursorCell();
        },
        Qt::QueuedConnection);
}

void BoardPaintBox::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        keyboardFocus_ = false;
    update();
}

void BoardPaintBox::cursorMoved()
{
    update();
    // The walking player hears each tile: the board takes the focus, so the tile under
    // the cursor is the focused cell.
    if (!entry_->cursor()->shown())
        return;
    if (!hasFocus()) {
        setFocus(Qt::OtherFocusReason);
        // Taking the focus tells the cell (focusInEvent).
        if (hasFocus())
            return;
    }
    reportCursorCell();
}

void BoardPaintBox::reportCursorCell()
{
    if (!entry_->cursor()->shown())
        return;
    auto *table = static_cast<BoardAccessible *>(QAccessible::queryAccessibleInterface(this));
    if (QAccessibleInterface *cell = table ? table->cellOf(entry_->cursor()->cell()) : nullptr) {
        QAccessibleEvent event(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void BoardPaintBox::reportChanges()
{
    auto *table = static_cast<BoardAccessible *>(QAccessible::queryAccessibleInterface(this));
    if (!table)
        return;
    if (board_->shownboard() != reportedTiles_) {
        reportedTiles_ = board_->shownboard();
        reportedMarks_ = board_->marks();
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&event);
        QAccessibleEvent described(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&described);
        // The reset dropped the reader's cell: it is told the cursor's again.
        if (hasFocus())
            reportCursorCell();
        return;
    }
    for (int x = 0; x < BoardModel::size; ++x) {
        for (int y = 0; y < BoardModel::size; ++y) {
            const bool was = reportedMarks_[x][y] != BoardModel::noMark;
            const bool is = board_->marks()[x][y] != BoardModel::noMark;
            if (was == is)
                continue;
            if (QAccessibleInterface *cell = table->cellOf({x, y})) {
                QAccessible::State selected;
                selected.selected = true;
                QAccessibleStateChangeEvent event(cell, selected);
                QAccessible::updateAccessibility(&event);
                QAccessibleEvent selection(
                    cell, is ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
                QAccessible::updateAccessibility(&selection);
            }
        }
    }
    reportedMarks_ = board_->marks();
}

void BoardPaintBox::showPath(const QList<Cell> &realPath)
{
    board_->setPathOverlay(realPath);
}

QColor BoardPaintBox::pathInk() const
{
    if (!ink_.isValid()) {
        // The bright colour farthest from the tiles' own: an orange on pale or grey
        // tiles, a sky blue on wooden or orange ones.
        qint64 sum[3] {};
        qint64 n = 0;
        for (int code = BoardModel::firstLetter; code <= BoardModel::lastLetter; ++code) {
            const QImage tile = tiles_->picture(code).convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < tile.height(); y += 3) {
                for (int x = 0; x < tile.width(); x += 3) {
                    const QRgb px = tile.pixel(x, y);
                    if (qAlpha(px) < 128)
                        continue;
                    sum[0] += qRed(px);
                    sum[1] += qGreen(px);
                    sum[2] += qBlue(px);
                    ++n;
                }
            }
        }
        const QColor mean
            = n > 0 ? QColor(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)) : QColor(Qt::white);
        auto distance = [&](const QColor &c) {
            const int dr = c.red() - mean.red();
            const int dg = c.green() - mean.green();
            const int db = c.blue() - mean.blue();
            return dr * dr + dg * dg + db * db;
        };
        ink_ = QColor(255, 128, 0);
        for (const QColor &c : {QColor(0, 190, 255), QColor(255, 64, 200)}) {
            if (distance(c) > distance(ink_) * 3 / 2)
                ink_ = c;
        }
    }
    return ink_;
}

// The path stands out however the tiles look: every other cell is dimmed, the path's
// tiles get a bright ring inside a dark one (the first tile's thickest), and short
// arrows cross the edges between them, clear of the letters. Sizes follow the cell.
void BoardPaintBox::paintPath(QPainter &p)
{
    const QList<Cell> &path = board_->pathOverlay();
    if (path.isEmpty())
        return;
    const qreal cell = TileGroup::tileSize;
    QList<QPointF> centres;
    QPainterPath lit;
    for (const Cell &real : path) {
        if (const auto shown = board_->displayed(real)) {
            centres.append(QPointF(shown->x * cell + cell / 2, shown->y * cell + cell / 2));
            lit.addRect(QRectF(shown->x * cell, shown->y * cell, cell, cell));
        }
    }
    if (centres.isEmpty())
        return;

    p.save();
    QPainterPath veil;
    veil.addRect(QRectF(0, 0, cell * BoardModel::size, cell * BoardModel::size));
    p.fillPath(veil.subtracted(lit), pathVeil);

    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = pathInk();
    const QColor outline(20, 12, 0, 220);
    const qreal inset = cell * 0.05;
    const qreal radius = cell * 0.15;
    for (qsizetype i = 0; i < centres.size(); ++i) {
        const QPointF corner(cell / 2 - inset, cell / 2 - inset);
        const QRectF tile(centres.at(i) - corner, centres.at(i) + corner);
        const qreal width = cell * (i == 0 ? 0.1 : 0.06);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(outline, width + cell * 0.08));
        p.drawRoundedRect(tile, radius, radius);
        p.setPen(QPen(ink, width));
        p.drawRoundedRect(tile, radius, radius);
    }

    // An arrow runs from a little inside one tile's edge to a little inside the next
    // one's, along the line between their centres.
    for (qsizetype i = 1; i < centres.size(); ++i) {
        const QPointF from = centres.at(i - 1);
        const QPointF to = centres.at(i);
        const QLineF line(from, to);
        if (line.length() < 1)
            continue;
        const QPointF unit = (to - from) / line.length();
        const qreal edge = cell / 2 / std::max(std::abs(unit.x()), std::abs(unit.y()));
        const qreal reach = edge - cell * 0.15;
        const QPointF tail = from + unit * reach;
        const QPointF head = to - unit * reach;
        const QPointF normal(-unit.y(), unit.x());
        const qreal headLength = cell * 0.17;
        QPolygonF arrow;
        arrow << head << head - unit * headLength + normal * cell * 0.12
              << head - unit * headLength - normal * cell * 0.12;
        for (const auto &[pen, width] : {std::pair {outline, cell * 0.15}, std::pair {ink, cell * 0.08}}) {
            p.setPen(QPen(pen, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(pen);
            p.drawLine(tail, head - unit * headLength * 0.7);
            p.drawPolygon(arrow);
        }
    }
    p.restore();
}

void BoardPaintBox::mousePressEvent(QMouseEvent *event)
{
    entry_->paintbox_boardMouseDown(event->button(), event->position().toPoint());
}

void BoardPaintBox::mouseMoveEvent(QMouseEvent *event)
{
    entry_->paintbox_boardMouseMove(event->position().toPoint());
}

void BoardPaintBox::mouseReleaseEvent(QMouseEvent *event)
{
    entry_->paintbox_boardMouseUp(event->position().toPoint());
}
