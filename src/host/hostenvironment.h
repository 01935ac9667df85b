#pragma once

#include "wire.h"

#include <QByteArrayView>
#include <QString>

// What the host reads from the host player's window at the moment it needs it:
// the dictionary, the pause between rounds and the automatic restart. The main
// window implements it from its dictionary `spell` and its menu; the windowless
// host from its command line.
class HostEnvironment
{
public:
    virtual ~HostEnvironment() = default;

    // Whether the word (upper-case Latin-1 letters) is in the word list.
    virtual bool isword(QByteArrayView word) const = 0;
    // Seconds between the end of a round and the next board ("Time Between Rounds").
    virtual int pauseBetweenRounds() const = 0;
    // "Automatically Start Next Game": a won game restarts itself after 60 seconds.
    virtual bool autoStartNextGame() const = 0;
    // The version a login is compared with, exactly.
    virtual QString versionText() const { return QString::fromLatin1(wendlewickVersion); }
};
