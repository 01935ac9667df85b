#include "botstrength.h"

#include <array>

namespace {

// Easy loses to anyone who finds a few short words a minute; hard keeps up a word
// every five seconds on a 4×4 board, long ones included, and beats most people.
constexpr std::array<BotStrength, 3> strengths {{
    {BotStrength::Easy, 2.5, 5, 0.22, 0.45, 14.0, 10.0, 6000, 600},
    {BotStrength::Medium, 6.0, 7, 0.45, 0.75, 9.0, 8.0, 4000, 450},
    {BotStrength::Hard, 13.0, 12, 0.80, 0.90, 5.0, 6.0, 2500, 300},
}};

constexpr std::array<const char *, 3> names {"easy", "medium", "hard"};
constexpr std::array<const char *, 3> captions {"Easy", "Medium", "Hard"};

} // namespace

const BotStrength &BotStrength::of(Level level)
{
    return strengths[std::size_t(level)];
}

std::optional<BotStrength::Level> BotStrength::levelFromName(const QString &name)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (name.compare(QLatin1StringView(names[i]), Qt::CaseInsensitive) == 0)
            return Level(i);
    }
    return std::nullopt;
}

QString BotStrength::nameOf(Level level)
{
    return QLatin1StringView(names[std::size_t(level)]);
}

QString BotStrength::captionOf(Level level)
{
    return QLatin1StringView(captions[std::size_t(level)]);
}
