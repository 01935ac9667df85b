#pragma once

#include "companionwire.h"

#include <QString>

#include <optional>

// What the lobby can tell of the games played between two moments, from the game's
// tally file, which the lobby only reads: the player's own games and wins.
namespace LastGame {

struct Totals
{
    qint64 games = 0;
    qint64 wins = 0;
};

// The own totals in the tally file in `folder`: zero when there is no file yet, none
// when it cannot be read.
std::optional<Totals> read(const QString &folder);

// What to tell the player once the game has ended, given the totals before and after.
QString result(const std::optional<Totals> &before, const std::optional<Totals> &after);

// The same when the game said why it ended: the reason, then for a game the host
// closed or lost the games played meanwhile. Without a reason, result().
QString result(std::optional<CompanionWire::Ending> reason, const std::optional<Totals> &before,
    const std::optional<Totals> &after);
// The same when the connection to the game was lost, and the lobby knows `why` (words
// that complete "The connection to the game was lost: ...").
QString lost(const QString &why, const std::optional<Totals> &before, const std::optional<Totals> &after);
// Whether that ending is one the player did not choose and should notice.
bool isProblem(std::optional<CompanionWire::Ending> reason);

} // namespace LastGame
