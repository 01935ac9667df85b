#pragma once

#include <QFrame>

class BoardModel;
class BoardPaintBox;
class TileGroups;
class WordEntry;

// `panel_boardback`: the panel the board sits in, holding the paint box
// `paintbox_board` (420 by 420). The main window places it at its board position.
class BoardPanel : public QFrame
{
    Q_OBJECT

public:
    BoardPanel(BoardModel *board, WordEntry *entry, TileGroups *tiles, QWidget *parent = nullptr);

    BoardPaintBox *paintbox() const { return paintbox_; }

private:
    BoardPaintBox *paintbox_;
};
