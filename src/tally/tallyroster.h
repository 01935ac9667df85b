#pragma once

#include <QString>
#include <QStringList>

// What the main window's roster tells the tally: the name label of each roster slot and
// this player's own slot. Watchers (slots above 10) have no roster row.
struct TallyRoster
{
    static constexpr int maxplayers = 10;
    static inline const QString waiting = QStringLiteral("<Waiting>");

    // names[0] is slot 1; a free slot reads "<Waiting>". Entries beyond maxplayers are ignored.
    QStringList names;
    int myslot = 0;

    bool isPlaying() const { return myslot >= 1 && myslot <= maxplayers; }
    QString ownName() const
    {
        return isPlaying() && myslot <= names.size() ? names.at(myslot - 1) : QString();
    }
};
