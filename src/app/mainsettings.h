#pragma once

#include "settingsfile.h"
#include "settingsvalues.h"
#include "windowplaces.h"

#include <QObject>
#include <QStringList>

class QAction;
class ChatPanel;
class GameSounds;
class MainMenus;
class PhraseBar;
class QMainWindow;
class SoundOptions;
class TileGroups;
class Tgamestart;
class WordEntry;

// The main window's settings (the section "Wendlewick" of orinlobby.ini): collected
// from the parts that show them, written after every change the player makes, read at
// creation and again when the host admits the player, and applied back to every part.
// It also keeps the main window's and the words list window's places, moving a stored
// place back onto the screen.
class MainSettings : public QObject
{
    Q_OBJECT

public:
    // The parts whose state the settings hold.
    struct Parts
    {
        QMainWindow &window;
        MainMenus &menus;
        ChatPanel &chat;
        PhraseBar &phrases;
        GameSounds &sounds;
        SoundOptions &soundOptions;
        Tgamestart &gamestart;
        WordEntry &entry;
        TileGroups &tiles;
        QAction &speakAnnouncements; // the game's news spoken aloud
    };

    MainSettings(const QString &path, const Parts &parts, QObject *parent = nullptr);

    const SettingsValues &values() const { return settings_; }

    // Reads the settings file and applies every key to its part. A second reading
    // (at admission) keeps a move the player made in the meantime.
    void loadinifile();
    // Writes every key but the phrases (not before the file has been read).
    void saveinifile();
    // The phrase editor's "Done": the phrases go on buttons 1 to 9 and into the
    // nine phrase keys, and nowhere else.
    void setPhrases(const QStringList &phrases);
    // The words list window, placed from the settings and saved with them. Until
    // it is set its place is kept in the settings alone.
    void setWordsListWindow(QWidget *window);

    // "Reset Screen Location": both windows back to their default places and the main
    // window to its default size.
    void ResetScreenLocation1Click();
    // The main window closes: a place it moved to is corrected to fit the screen's
    // work area, then everything is saved.
    void FormClose();

private:
    void collectSettings();
    void applySettings();
    // Moves the words list window to its stored place, or to the default place when
    // the stored one lies on no screen.
    void placeWordsList();

    Parts p_;
    SettingsFile file_;
    SettingsValues settings_;
    WindowPlaces places_;
    QRect rememberedBounds_; // as read from the settings, or as corrected at the last close
    bool boundsApplied_ = false;
};
