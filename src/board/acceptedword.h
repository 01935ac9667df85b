#pragma once

#include <QString>

// A word the host accepted from this player in the current round ("CMD_goodword").
struct AcceptedWord
{
    QString word; // as the host spells it (upper case)
    int points = 0;
    bool first = false; // this player was the first in the round to find it
};
