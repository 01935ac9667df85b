#pragma once

// One cell of the 10 by 10 board grid: x is the first index (drawn left to right),
// y the second (drawn top to bottom). The default cell is "unset" (-1, -1).
struct Cell
{
    static constexpr int gridSize = 10;

    int x = -1;
    int y = -1;

    constexpr bool isSet() const { return x >= 0 && y >= 0; }
    constexpr bool inGrid() const { return x >= 0 && x < gridSize && y >= 0 && y < gridSize; }
    // Scan order of the board: x outer, y inner.
    constexpr int index() const { return x * gridSize + y; }
    static constexpr Cell fromIndex(int index) { return {index / gridSize, index % gridSize}; }

    // One of the eight cells around this one (not the cell itself).
    constexpr bool isNeighbourOf(Cell other) const
    {
        const int dx = x - other.x;
        const int dy = y - other.y;
        return (dx != 0 || dy != 0) && dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
    }

    friend constexpr bool operator==(Cell, Cell) = default;
};
