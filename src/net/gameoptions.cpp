#include "gameoptions.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<BoardSizeChoice, 8> sizes {{
    {"4X4", 4, 4},
    {"5X5", 9, 5},
    {"6X6", 5, 6},
    {"7X7", 10, 7},
    {"8X8", 6, 8},
    {"9X9", 11, 9},
    {"10X10", 7, 10},
    {"Random", GameOptions::randomSizeCode, 0},
}};

} // namespace

std::span<const BoardSizeChoice> GameOptions::boardSizes()
{
    return sizes;
}

const BoardSizeChoice *GameOptions::boardSizeForCode(int code)
{
    const auto found
        = std::find_if(sizes.begin(), sizes.end(), [code](const auto &c) { return c.code == code; });
    return found == sizes.end() ? nullptr : &*found;
}

int GameOptions::clampPlayToScore(int value)
{
    return std::clamp(value, scoreMinimum, scoreMaximum);
}

int GameOptions::clampRoundTime(int value)
{
    return std::clamp(value, roundTimeMinimum, roundTimeMaximum);
}

QStringList GameOptions::startGameFields(const QString &playername) const
{
    return {playername, QString::number(playToScore), QString::number(roundTime), QString::number(sizeCode),
        QString::number(minLetters), QStringLiteral("0")};
}
