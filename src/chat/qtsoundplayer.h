#pragma once

#include "soundplayer.h"

#include <QHash>
#include <QObject>

#include <functional>

class QMediaDevices;
class QSoundEffect;

// Plays the built-in clips (resources ":/sounds/<NAME>.wav") through Qt Multimedia.
// The game sounds are loaded once the event loop runs, the chatter sounds on first
// use; loaded clips are kept. A new clip stops the one playing.
// Without an audio output nothing is loaded or played, and nothing is printed; the
// player starts using an output as soon as one appears.
class QtSoundPlayer : public QObject, public SoundPlayer
{
    Q_OBJECT

public:
    using Alert = std::function<void()>;

    // `alert` sounds for names without a clip; the platform's beep by default.
    explicit QtSoundPlayer(QObject *parent = nullptr, Alert alert = {});
    ~QtSoundPlayer() override;

    void play(const QString &name) override;
    bool canPlay() const override { return hasAudioOutput(); }

    // The resource of clip `name` (any case), or an empty string when there is none.
    static QString clipResource(const QString &name);

    // Whether an audio output is there to play on.
    static bool hasAudioOutput();

    // Loads the clips `names` (any case) ahead of their first use.
    void preload(const QStringList &names);

    // The clip started last, upper case; empty before any (tests, diagnostics).
    QString current() const { return currentName_; }

private:
    QSoundEffect *effectFor(const QString &key);
    void dropEffects();

    Alert alert_;
    QMediaDevices *devices_ = nullptr;
    QHash<QString, QSoundEffect *> effects_;
    QSoundEffect *current_ = nullptr;
    QString currentName_;
};
