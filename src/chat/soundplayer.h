#pragma once

#include <QString>

// Plays the program's named sounds. The program uses the Qt Multimedia player; tests
// use a recording fake, so that no test needs an audio device.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;

    // Plays the built-in clip `name` (matched without regard to case) asynchronously,
    // replacing any clip still playing; a name without a clip plays the alert sound.
    virtual void play(const QString &name) = 0;

    // Whether a sound played now would be heard: false where there is no audio output.
    virtual bool canPlay() const { return true; }
};
