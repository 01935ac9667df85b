#pragma once

#include <QWidget>

class BoardModel;
class TileGroups;
class WordEntry;

// `paintbox_board`: draws the 10 by 10 displayed cells, 42 pixels each (the cell's
// picture, then its mark over it), and hands mouse presses, moves and releases to the
// word entry in its own pixel coordinates.
class BoardPaintBox : public QWidget
{
    Q_OBJECT

public:
    static constexpr int side = 420;

    BoardPaintBox(BoardModel *board, WordEntry *entry, TileGroups *tiles, QWidget *parent = nullptr);

    QSize sizeHint() const override { return {side, side}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    BoardModel *board_;
    WordEntry *entry_;
    TileGroups *tiles_;
};
