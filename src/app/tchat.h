#pragma once

#include "clientstate.h"
#include "settingsfile.h"
#include "settingsvalues.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class ChatArea;
class MainMenus;
class PlayArea;
class ProcessMarker;
class QFrame;
class RosterModel;
class RosterView;
class TDictn;

// The player's main window. It owns the client state, the dictionary `spell`, the
// settings, the roster and the board panel `panel_board`, which the play area, the
// roster view and the chat area fill with their controls.
class Tchat : public QMainWindow
{
    Q_OBJECT

public:
    // Where the window finds and keeps its files; empty fields take the program's
    // defaults (the current folder and built-in word list, orinlobby.ini in the
    // writable folder, the instance guard's folder for the running-game marker).
    struct Setup
    {
        QString dictionaryFolder;
        QString dictionaryResource;
        QString settingsPath;
        QString markerFolder;
    };

    static constexpr int boardPanelWidth = 780;
    static constexpr int boardPanelHeight = 525;
    static constexpr int clientWidth = 783;
    static constexpr int clientHeight = 529;
    // The client area never gets smaller than the board panel plus this margin.
    static constexpr int panelMargin = 4;

    explicit Tchat(const Setup &setup, QWidget *parent = nullptr);
    explicit Tchat(const QString &dictionaryFolder = QString(), const QString &dictionaryResource = QString(),
        QWidget *parent = nullptr);
    ~Tchat() override;

    TDictn *spell = nullptr;

    ClientState &state() { return state_; }
    const SettingsValues &settings() const { return settings_; }
    SettingsFile &settingsFile() { return settingsFile_; }
    RosterModel *roster() const { return roster_; }
    MainMenus *menus() const { return menus_; }
    PlayArea *playArea() const { return playArea_; }
    RosterView *rosterView() const { return rosterView_; }
    ChatArea *chatArea() const { return chatArea_; }
    QFrame *boardPanel() const { return panel_board_; }
    const ProcessMarker &marker() const { return *marker_; }

    // Reads the settings file and applies every key. Also runs once at creation,
    // so that the window opens where the player left it and no save can replace
    // settings that were never read.
    void loadinifile();
    // Writes every key but the phrases (not before the file has been read).
    void saveinifile();
    // Takes new preferences from a part that changed them (the options dialog, a
    // tile group, the phrase editor's phrases), shows them and saves.
    void setSettings(const SettingsValues &values);
    // The phrase editor's "Done": the phrases go on buttons 1 to 9 and into the
    // nine phrase keys, and nowhere else.
    void setPhrases(const std::array<QString, SettingsValues::phraseCount> &phrases);

    // Puts the real widget in the place of the placeholder control `name` (same
    // parent, place, size, visibility, object name and pop-up menu) and deletes the
    // placeholder. False when no control of that name is in the board panel.
    bool replaceControl(const QString &name, QWidget *real);

    // The words list window, placed from the settings and saved with them. Until
    // it is set its place is kept in the settings alone.
    void setWordsListWindow(QWidget *window);

    // Restores the window when minimised, else raises and activates it (another
    // copy of the program tried to start).
    void bringForward();

    void Exit1Click();
    void ResetScreenLocation1Click();
    void FormResize();

    // The client area: the window without its menu bar.
    QSize clientSize() const;

Q_SIGNALS:
    // The window has closed (after the settings were saved): the program ends.
    void closed();
    // First paint of the board panel after the window was shown.
    void firstShown();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void buildPanel();
    void connectMenus();
    void applySettings();
    void applyWindowBounds(const QRect &bounds);
    QRect windowBounds() const;
    QSize wordsListSize() const;
    void applyTextSize(int size);
    void applyTextColor(const QColor &color);
    void TextColor1Click();
    void FormClose();
    void reportDictionaryMissing();

    ClientState state_;
    SettingsValues settings_;
    SettingsFile settingsFile_;
    std::unique_ptr<ProcessMarker> marker_;
    RosterModel *roster_ = nullptr;
    MainMenus *menus_ = nullptr;
    QFrame *panel_board_ = nullptr;
    PlayArea *playArea_ = nullptr;
    RosterView *rosterView_ = nullptr;
    ChatArea *chatArea_ = nullptr;
    QPointer<QWidget> wordsList_;
    QRect rememberedBounds_; // as read from the settings, or as corrected at the last close
    bool boundsApplied_ = false;
    bool shownOnce_ = false;
    bool closing_ = false;
};
