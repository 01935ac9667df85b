#include "boardpaintbox.h"

#include "boardmodel.h"
#include "tilegroups.h"
#include "wordentry.h"

#include <QMouseEvent>
#include <QPainter>

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
