#include "lastgame.h"

#include "tallyfile.h"
#include "tallylist.h"
#include "tallytable.h"

#include <QFile>

namespace LastGame {

std::optional<Totals> read(const QString &folder)
{
    const TallyFile file(folder);
    if (!QFile::exists(file.filePath()))
        return Totals(); // no game counted yet
    TallyTable table;
    if (!file.peek(table))
        return std::nullopt;
    bool gamesOk = false;
    bool winsOk = false;
    const Totals totals {table.cell(TallyList::totalGames, 0).toLongLong(&gamesOk),
        table.cell(TallyList::yourWins, 0).toLongLong(&winsOk)};
    if (!gamesOk || !winsOk)
        return std::nullopt;
    return totals;
}

QString result(const std::optional<Totals> &before, const std::optional<Totals> &after)
{
    const QString ended = QStringLiteral("The game has ended.");
    if (!before || !after)
        return ended;
    const qint64 games = after->games - before->games;
    const qint64 wins = after->wins - before->wins;
    if (games <= 0 || wins < 0 || wins > games)
        return ended;
    if (games == 1)
        return wins ? QStringLiteral("The game has ended: you won!")
                    : QStringLiteral("The game has ended: you played one game and someone else won it.");
    return QStringLiteral("The game has ended: you played %1 games and won %2.").arg(games).arg(wins);
}

namespace {

// The games counted between the two totals, in a sentence; empty when none was.
QString played(const std::optional<Totals> &before, const std::optional<Totals> &after)
{
    if (!before || !after)
        return {};
    const qint64 games = after->games - before->games;
    const qint64 wins = after->wins - before->wins;
    if (games <= 0 || wins < 0 || wins > games)
        return {};
    if (games == 1)
        return wins ? QStringLiteral("You played one game and won it.")
                    : QStringLiteral("You played one game; someone else won it.");
    return QStringLiteral("You played %1 games and won %2.").arg(games).arg(wins);
}

QString withPlayed(
    const QString &reason, const std::optional<Totals> &before, const std::optional<Totals> &after)
{
    const QString games = played(before, after);
    return games.isEmpty() ? reason : reason + QLatin1Char(' ') + games;
}

} // namespace

QString result(std::optional<CompanionWire::Ending> reason, const std::optional<Totals> &before,
    const std::optional<Totals> &after)
{
    if (!reason)
        return result(before, after);
    switch (*reason) {
    case CompanionWire::Ending::HostClosed:
        return withPlayed(QStringLiteral("The host closed the game."), before, after);
    case CompanionWire::Ending::Lost:
        return withPlayed(QStringLiteral("The connection to the game was lost."), before, after);
    case CompanionWire::Ending::Removed:
        return QStringLiteral("The host removed you from the game.");
    case CompanionWire::Ending::Full:
        return QStringLiteral("The game was full: every place in it was taken.");
    }
    return result(before, after);
}

QString lost(const QString &why, const std::optional<Totals> &before, const std::optional<Totals> &after)
{
    return withPlayed(QStringLiteral("The connection to the game was lost: %1.").arg(why), before, after);
}

bool isProblem(std::optional<CompanionWire::Ending> reason)
{
    return reason && *reason != CompanionWire::Ending::HostClosed;
}

} // namespace LastGame
