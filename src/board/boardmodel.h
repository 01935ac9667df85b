#pragma once

#include "cell.h"
#include "wire.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

#include <array>
#include <optional>
#include <span>

// The player's copy of the round's board: the cells as the host sent them
// (`realboard`), as displayed after the player's quarter turns (`shownboard`), and the
// marks of the word in progress on the displayed grid. Every change emits changed(),
// so that the views can follow.
//
// Tile codes: 1 to 26 the letters a to z, 27 the mark of the word's last tile, 28 the
// mark of its earlier tiles, 29 a cell without a tile, 30 an empty entry-strip slot.
// Cells only ever hold 1 to 26 or 29.
class BoardModel : public QObject
{
    Q_OBJECT

public:
    static constexpr int size = Cell::gridSize;
    static constexpr int firstLetter = 1;
    static constexpr int lastLetter = 26;
    static constexpr int lastTileMark = 27;
    static constexpr int earlierTileMark = 28;
    static constexpr int blankTile = 29;
    static constexpr int emptySlot = 30;
    static constexpr int noMark = -1;

    using Grid = std::array<std::array<int, size>, size>; // [x][y]

    // One cell group of "CMD_loadboard": the first index, the second, the code.
    struct Triple
    {
        int x = 0;
        int y = 0;
        int code = blankTile;
    };

    explicit BoardModel(QObject *parent = nullptr);

    // Takes the cell groups of a "CMD_loadboard" message as the dispatcher parsed them
    // (all of them, or those before a field that did not convert). Groups outside the
    // grid are skipped; a code that is not a letter is stored as the blank tile. The
    // whole board is then shown unrotated with no marks.
    void loadboard(std::span<const Triple> triples);
    void loadboard(const Grid &codes);
    // The cell groups as the protocol decodes them (first index, second, code).
    void loadboard(std::span<const Wire::FromHost::BoardCell> cells);

    // Every cell blank, no marks: the state before the first board.
    void clearall();

    // One quarter turn clockwise of the display. Only the turn itself: rotateboard
    // (WordEntry) also checks the turn, clears the word and asks for the sound.
    void rotate();
    int rotation() const { return rotation_; }

    // True for the 5 by 5, 7 by 7 and 9 by 9 boards, which sit one cell nearer the top
    // left corner; set by the main window from the game's board-size code.
    void setOddboard(bool odd);
    bool oddboard() const { return oddboard_; }
    // The mirror line k <-> M - k the played square is centred on.
    int mirror() const { return oddboard_ ? 8 : 9; }

    // The displayed cell of a host cell, and back. nullopt for a cell that leaves the
    // grid (only with M = 8, for cells of index 9, which are blank on an odd board).
    std::optional<Cell> displayed(Cell real) const { return toDisplayed(real, rotation_, mirror()); }
    std::optional<Cell> getreal(Cell shown) const { return toReal(shown, rotation_, mirror()); }
    static std::optional<Cell> toDisplayed(Cell real, int rotation, int m);
    static std::optional<Cell> toReal(Cell shown, int rotation, int m);

    const Grid &realboard() const { return realboard_; }
    const Grid &shownboard() const { return shownboard_; }
    const Grid &marks() const { return marks_; }
    // The displayed code of a cell; the blank tile outside the grid.
    int shown(Cell c) const { return c.inGrid() ? shownboard_[c.x][c.y] : blankTile; }
    // The mark of a displayed cell (27, 28 or noMark); noMark outside the grid.
    int mark(Cell c) const { return c.inGrid() ? marks_[c.x][c.y] : noMark; }
    void setMark(Cell c, int mark);
    void clearMarks();
    // The displayed cells that hold tiles, as the smallest rectangle around them (x
    // left to right, y top to bottom): the played square, which stays in place as the
    // board turns. Empty before the first board.
    QRect shownSquare() const;

    // A word's chain of tiles drawn over the board while it is idle between rounds (the
    // round review), as host cells, first tile first. Cells off the grid are dropped.
    // The next board, clearall() and the next round's start (WordEntry) take it away.
    void setPathOverlay(const QList<Cell> &realPath);
    void clearPathOverlay();
    const QList<Cell> &pathOverlay() const { return overlay_; }

    static bool isLetter(int code) { return code >= firstLetter && code <= lastLetter; }
    // "a" to "z" for the codes 1 to 26, an empty string for any other code.
    static QString convertoletter(int code);

Q_SIGNALS:
    void changed();

private:
    void showRotated();

    Grid realboard_ {};
    Grid shownboard_ {};
    Grid marks_ {};
    QList<Cell> overlay_;
    int rotation_ = 0;
    bool oddboard_ = false;
};
