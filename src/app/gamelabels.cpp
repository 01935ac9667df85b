#include "gamelabels.h"

#include "gameoptions.h"

namespace GameLabels {

namespace {

constexpr int clockBarWidth = 224;
constexpr int defaultRoundLength = 60;

} // namespace

QString playToScore(const QString &target)
{
    return QStringLiteral("Play to Score: ") + target;
}

QString timePerTurn(int seconds)
{
    return QStringLiteral("Time: ") + QString::number(seconds) + QStringLiteral("secs");
}

std::optional<QString> boardSize(int code)
{
    const BoardSizeChoice *choice = GameOptions::boardSizeForCode(code);
    if (!choice)
        return std::nullopt;
    // The random size is drawn anew each round: the label cannot say which.
    return QStringLiteral("Board Size: ")
        + (choice->side == 0 ? QStringLiteral("?") : QString::fromLatin1(choice->caption));
}

bool isOddBoard(int code)
{
    return code >= 9 && code <= 11;
}

QString minLetters(int letters)
{
    return QString::number(letters) + QStringLiteral(" Letters Min");
}

QString letterMinimumLine(int letters)
{
    return QString::number(letters) + QStringLiteral(" LETTER MINIMUM!");
}

int roundLength(std::optional<int> seconds)
{
    return seconds && *seconds >= 1 ? *seconds : defaultRoundLength;
}

int pixelsPerSecond(int roundLength)
{
    return clockBarWidth / (roundLength < 1 ? 1 : roundLength);
}

} // namespace GameLabels
