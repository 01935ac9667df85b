#pragma once

#include "soundplayer.h"

#include <QStringList>

// A SoundPlayer for tests: records the names asked for, plays nothing.
class RecordingSoundPlayer : public SoundPlayer
{
public:
    void play(const QString &name) override { played.append(name); }
    bool canPlay() const override { return hasOutput; }

    QStringList played;
    bool hasOutput = true; // false: a machine without an audio output
};
