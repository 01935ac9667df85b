#include "gamelabels.h"

#include "fieldreader.h"

#include <array>

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
    static const std::array<const char *, 8> sizes {"4X4", "6X6", "8X8", "10X10", "?", "5X5", "7X7", "9X9"};
    if (code < 4 || code > 11)
        return std::nullopt;
    return QStringLiteral("Board Size: ") + QLatin1StringView(sizes[std::size_t(code - 4)]);
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

int roundLength(QByteArrayView field)
{
    const auto seconds = FieldReader::toInt(field);
    return seconds && *seconds >= 1 ? *seconds : defaultRoundLength;
}

int pixelsPerSecond(int roundLength)
{
    return clockBarWidth / (roundLength < 1 ? 1 : roundLength);
}

} // namespace GameLabels
