#pragma once

#include "cell.h"

#include <QObject>

class BoardModel;

// The keyboard's place on the board: the arrow keys walk it from tile to tile over
// the played square as the player sees it, and the word entry takes the tile under
// it. It stays on the same tile while the board turns, and goes back to the square's
// top-left tile when a new board leaves it outside the square. It is shown from the
// first step the player takes with it until the mouse is used on the board.
class BoardCursor : public QObject
{
    Q_OBJECT

public:
    explicit BoardCursor(BoardModel *board, QObject *parent = nullptr);

    // The displayed cell under the cursor; unset while the board has no tiles.
    Cell cell() const;
    bool shown() const { return shown_; }
    void setShown(bool shown);

    // One step of an arrow key (Left, Right, Up, Down): true when `key` is one. At
    // the square's edge the cursor stays, and says so by moved() all the same.
    bool walk(int key);
    void step(int dx, int dy);
    // Puts the cursor on a displayed cell of the square (a click, a test).
    void moveTo(Cell shown);

Q_SIGNALS:
    // The cursor moved, or a step ran into the edge; also when it appears.
    void moved(Cell shown);
    void shownChanged(bool shown);

private:
    void followBoard();

    BoardModel *board_;
    Cell real_; // the host's cell under the cursor
    bool shown_ = false;
};
