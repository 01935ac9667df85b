#include "boardpaintbox.h"

#include "boardmodel.h"
#include "tilegroups.h"
#include "wordentry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

BoardPaintBox::BoardPaintBox(BoardModel *board, WordEntry *entry, TileGroups *tiles, QWidget *parent)
    : QWidget(parent)
    , board_(board)
    , entry_(entry)
    , tiles_(tiles)
{
    setObjectName(QStringLiteral("paintbox_board"));
    setFixedSize(side, side);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    connect(board_, &BoardModel::changed, this, qOverload<>(&QWidget::update));
    connect(tiles_, &TileGroups::picturesChanged, this, qOverload<>(&QWidget::update));
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
}

void BoardPaintBox::showPath(const QList<Cell> &realPath)
{
    board_->setPathOverlay(realPath);
}

// The path lights its tiles and joins them with short arrows across their shared edges,
// so the letters stay readable and the direction reads at a glance; the first tile's
// frame is the thickest.
void BoardPaintBox::paintPath(QPainter &p)
{
    const QList<Cell> &path = board_->pathOverlay();
    if (path.isEmpty())
        return;
    const qreal cell = TileGroup::tileSize;
    QList<QPointF> centres;
    for (const Cell &real : path) {
        if (const auto shown = board_->displayed(real))
            centres.append(QPointF(shown->x * cell + cell / 2, shown->y * cell + cell / 2));
    }
    if (centres.isEmpty())
        return;

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(255, 128, 0);
    const QColor outline(70, 35, 0, 200);
    for (qsizetype i = 0; i < centres.size(); ++i) {
        const QRectF tile(centres.at(i) - QPointF(cell / 2 - 2, cell / 2 - 2), QSizeF(cell - 4, cell - 4));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(outline, i == 0 ? 7 : 5));
        p.drawRoundedRect(tile, 6, 6);
        p.setPen(QPen(ink, i == 0 ? 4 : 2.5));
        p.drawRoundedRect(tile, 6, 6);
    }

    // Each arrow spans the gap between two tiles' letters: from 14 pixels out of one
    // centre to 14 pixels short of the next.
    for (qsizetype i = 1; i < centres.size(); ++i) {
        const QPointF from = centres.at(i - 1);
        const QPointF to = centres.at(i);
        const QLineF line(from, to);
        if (line.length() < 1)
            continue;
        const QPointF unit = (to - from) / line.length();
        const QPointF tail = from + unit * 14;
        const QPointF head = to - unit * 14;
        const QPointF normal(-unit.y(), unit.x());
        QPolygonF arrow;
        arrow << head << head - unit * 7 + normal * 5 << head - unit * 7 - normal * 5;
        for (const auto &[pen, width] : {std::pair {outline, 6.0}, std::pair {ink, 3.5}}) {
            p.setPen(QPen(pen, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(pen);
            p.drawLine(tail, head - unit * 5);
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
