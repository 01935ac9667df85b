#include "boardpanel.h"

#include "boardpaintbox.h"

#include <QVBoxLayout>

BoardPanel::BoardPanel(BoardModel *board, WordEntry *entry, TileGroups *tiles, QWidget *parent)
    : QFrame(parent)
    , paintbox_(new BoardPaintBox(board, entry, tiles, this))
{
    setObjectName(QStringLiteral("panel_boardback"));
    setFrameShape(QFrame::NoFrame);
    // The board's own green shows through the transparent parts of a tile group.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(52, 76, 52));
    setPalette(pal);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(paintbox_);
    setFixedSize(BoardPaintBox::side, BoardPaintBox::side);
}
