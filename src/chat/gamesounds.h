#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class SoundPlayer;

// The sound switches of the Options menu and the rules for playing game sounds and
// chatter sounds. Sounds go to the SoundPlayer given; none is played while the
// player is null.
class GameSounds
{
public:
    enum TurnSound { Classic = 0, New = 1 };

    // The settings keys of the three switches.
    static constexpr const char *playSoundsKey = "Playsounds";
    static constexpr const char *chatterSoundsKey = "ChatterSounds";
    static constexpr const char *turnSoundKey = "Turnsound";

    // The twelve game sounds: "CLEAR", "CLICK" ... "TURNNEW".
    static QStringList gameSounds();
    // The names of all built-in clips: the game sounds, then "WAVE1".."WAVE20".
    static QStringList builtinSounds();

    explicit GameSounds(SoundPlayer *player = nullptr);

    void setPlayer(SoundPlayer *player) { player_ = player; }

    // "Play Sounds": on at start.
    bool playSounds() const { return playSounds_; }
    void setPlaySounds(bool on) { playSounds_ = on; }
    // "Play Chatter Sounds": off until the settings are read.
    bool playChatterSounds() const { return playChatterSounds_; }
    void setPlayChatterSounds(bool on) { playChatterSounds_ = on; }
    // "Turn Sound": "Classic" until the settings are read.
    TurnSound turnSound() const { return turnSound_; }
    void setTurnSound(TurnSound choice) { turnSound_ = choice; }

    // Settings values: a switch is on unless its value is "false"; "1" picks "New".
    static bool switchFromSetting(const QString &value);
    static QString settingFromSwitch(bool on);
    static TurnSound turnSoundFromSetting(const QString &value);
    static QString settingFromTurnSound(TurnSound choice);

    // Plays game sound `name` when "Play Sounds" is on.
    void playsounds(const QString &name);

    // The turn sound of the current choice ("turn" or "turnnew"), through playsounds.
    void playTurnSound();

    // A relayed "CMD_playasound" (slot "+" sound name "+"): plays the sound when
    // "Play Chatter Sounds" is on and the player can be heard; otherwise returns the system line
    // "0+<name>: <Chatter Sound> <caption>". `nameOfSlot` gives a roster name, or
    // nothing for a slot without a roster row; then, like for an unknown sound,
    // nothing is shown.
    std::optional<QString> playasound(
        const QString &data, const std::function<std::optional<QString>(int slot)> &nameOfSlot);

private:
    SoundPlayer *player_ = nullptr;
    bool playSounds_ = true;
    bool playChatterSounds_ = false;
    TurnSound turnSound_ = Classic;
};
