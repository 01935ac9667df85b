#pragma once

#include "gamesounds.h"

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;

// The sound items of the "Options" menu, bound to GameSounds: "Play Sounds"
// (`PlaySounds1`), "Play Chatter Sounds" (`PlayChatterSounds1`) and "Turn Sound"
// (`TurnSound1`) with "Classic" (`Classic1`, tag 0) and "New" (`New1`, tag 1).
class SoundOptions : public QObject
{
    Q_OBJECT

public:
    explicit SoundOptions(GameSounds &sounds, QObject *parent = nullptr);
    ~SoundOptions() override;

    QAction *playSoundsAction() const { return playSounds_; }
    QAction *playChatterSoundsAction() const { return playChatterSounds_; }
    QMenu *turnSoundMenu() const { return turnSoundMenu_; }
    QAction *classicAction() const { return classic_; }
    QAction *newAction() const { return new_; }

    // Applies the stored values of "Playsounds", "ChatterSounds" and "Turnsound".
    void loadSettings(const QString &playsounds, const QString &chattersounds, const QString &turnsound);

    // Shows the switches of the GameSounds (after changing them directly).
    void refresh();

    // The menu handlers: each changes its switch, then reports settingsChanged.
    void PlaySounds1Click();
    void PlayChatterSounds1Click();
    void Classic1Click(int tag);

Q_SIGNALS:
    // A switch was changed from the menu: save the settings.
    void settingsChanged();

private:
    GameSounds &sounds_;
    QAction *playSounds_ = nullptr;
    QAction *playChatterSounds_ = nullptr;
    QMenu *turnSoundMenu_ = nullptr;
    QAction *classic_ = nullptr;
    QAction *new_ = nullptr;
};
