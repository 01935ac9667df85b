#pragma once

#include "wire.h"

#include <functional>

// A uniform random integer in [0, bound), bound >= 1. The program passes one
// generator, seeded from the clock at start-up; tests pass scripted or seeded ones.
using UniformDraw = std::function<int(int bound)>;

// Dealing boards: the played square of each board-size code and the letters' weights.
namespace BoardDealer {

// Rows and columns lo..hi (the same range for both) of a board-size code: 4 4×4,
// 5 6×6, 6 8×8, 7 10×10, 9 5×5, 10 7×7, 11 9×9, 8 one of 4×4, 6×6, 8×8 and 10×10
// drawn with equal chance, anything else 4×4.
struct Square
{
    int lo;
    int hi;
};
Square playedSquare(int sizeCode, const UniformDraw &draw);

// The letter code (1 = a .. 26 = z) whose weight range holds v, 1 <= v <= 98; the
// weights are E 12, A and I 9, O 8, N, R and T 6, D 5, L and S 4, G and U 3,
// H, M, P, Y, B, C, F, W and V 2, J, K, Q, X and Z 1.
int letterForDraw(int v);
// The weight of a letter code out of 98 (0 for codes that are not letters).
int letterWeight(int code);

// A fresh board: the played square filled with independently drawn letters, every
// other cell Wire::noTile. Cells are drawn row by row, left to right.
Wire::BoardCells deal(int sizeCode, const UniformDraw &draw);

} // namespace BoardDealer

// The letter of a cell code: "a".."z" for 1..26, "*" for 27..29, "t" for anything else.
char convertoletter(int code);
