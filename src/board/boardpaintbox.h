#pragma once

#include "boardmodel.h"
#include "cell.h"

#include <QColor>
#include <QList>
#include <QWidget>

class QPainter;
class TileGroups;
class WordEntry;

// `paintbox_board`: draws the 10 by 10 displayed cells, 42 pixels each (the cell's
// picture, then its mark over it), and hands mouse presses, moves and releases to the
// word entry in its own pixel coordinates. Between rounds it can also draw a word's
// path over the tiles (the round review), in a colour that stands out from the tile
// group in use, which the next round takes away.
class BoardPaintBox : public QWidget
{
    Q_OBJECT

public:
    static constexpr int side = 420;
    // What dims the cells off a word's path.
    static inline const QColor pathVeil {0, 0, 0, 128};

    BoardPaintBox(BoardModel *board, WordEntry *entry, TileGroups *tiles, QWidget *parent = nullptr);

    QSize sizeHint() const override { return {side, side}; }

    BoardModel *board() const { return board_; }
    WordEntry *entry() const { return entry_; }

    // Draws the chain of host cells `realPath` over the board, first tile first, until
    // the next board or round (an empty path takes it away at once).
    void showPath(const QList<Cell> &realPath);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void paintPath(QPainter &p);
    // The keyboard's cursor, and the focus frame while the board has the focus.
    void paintCursor(QPainter &p);
    // Tells assistive technology what changed since the last report: the tiles (a
    // new board, a turn) or which of them belong to the word.
    void reportChanges();
    void cursorMoved();
    // A Focus event for the cell under the keyboard's cursor, while it shows.
    void reportCursorCell();
    // The colour of a path on the tile group in use.
    QColor pathInk() const;

    BoardModel *board_;
    WordEntry *entry_;
    TileGroups *tiles_;
    mutable QColor ink_; // invalid until worked out for the tile group in use
    BoardModel::Grid reportedTiles_ {};
    BoardModel::Grid reportedMarks_ {};
    bool keyboardFocus_ = false; // the focus came by the keyboard: show its frame
};
