#pragma once

#include <QString>

#include <optional>

// The captions of the game-settings labels and the values derived from a game's
// options, shared by a game's start and a late join.
namespace GameLabels {

// "Play to Score: " and the target as the host sent it.
QString playToScore(const QString &target);
// "Time: " seconds "secs".
QString timePerTurn(int seconds);
// "Board Size: 4X4" ... "Board Size: ?" for codes 4 to 11; nothing for other codes,
// which leave the label as it was.
std::optional<QString> boardSize(int code);
// Codes 9, 10 and 11 deal boards with an odd side (5, 7 and 9).
bool isOddBoard(int code);
// The length and " Letters Min".
QString minLetters(int letters);
// The line added when a game's minimum is shown: the length and " LETTER MINIMUM!".
QString letterMinimumLine(int letters);
// The round length a game's seconds field gives: the number, or 60 when it was no
// number or is below 1 (a round that could never tick down).
int roundLength(std::optional<int> seconds);
// The clock bar's width per second: 224 divided by the round length, rounded down;
// a round length below 1 counts as 1.
int pixelsPerSecond(int roundLength);

} // namespace GameLabels
