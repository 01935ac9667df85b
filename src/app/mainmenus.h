#pragma once

#include <QObject>

#include <array>

class GameSession;
class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
struct SettingsValues;

// The main window's menu bar. Every item is a QAction named after its component
// ("StartGame1", "PlaySounds1", "Normal1", ...); items with a value carry it in
// the "tag" property. The sound switches and the chat's items belong to the sound
// options and the chat panel, which act on them and keep their marks; this class
// only places them. Its own items' marks follow the settings through
// showSettings(); the user's choices come out as signals, after the marks moved.
class MainMenus : public QObject
{
    Q_OBJECT

public:
    // The items other parts own, in the "Options" menu.
    struct SharedItems
    {
        QAction *playSounds = nullptr;
        QAction *playChatterSounds = nullptr;
        QMenu *turnSound = nullptr; // holds "Classic" and "New"
        QAction *textColor = nullptr;
        QMenu *textSize = nullptr; // holds "8", "10", "12" and "14"
        QAction *scrollChatOff = nullptr;
        QAction *clearMainChat = nullptr;
        QAction *speakAnnouncements = nullptr; // the announcement line's; none leaves it out
    };

    MainMenus(QMainWindow *window, const SharedItems &shared);

    // Puts the marks of this class's own items where `values` say, without
    // emitting any signal.
    void showSettings(const SettingsValues &values);
    // "Just Watch" shows what the host last said (never the click itself); "Start Game"
    // and "Add Computer Player" are offered while the session hosts.
    void follow(const GameSession *session);

    QMenu *fileMenu = nullptr;
    QMenu *optionsMenu = nullptr;
    QMenu *turnSoundMenu = nullptr;
    QMenu *timeBetweenRoundsMenu = nullptr;
    QMenu *textSizeMenu = nullptr;
    // Filled with one radio item per tile group found at start-up.
    QMenu *tilesMenu = nullptr;
    QMenu *viewMenu = nullptr;
    QMenu *helpMenu = nullptr;

    QAction *StartGame1 = nullptr;
    // "Add Computer Player": one item per strength (easy, medium, hard), each with the
    // strength as its "tag"; offered only while this window hosts.
    QMenu *AddComputerPlayer1 = nullptr;
    std::array<QAction *, 3> addComputerPlayerItems {};
    QAction *Exit1 = nullptr;
    QAction *PlaySounds1 = nullptr;
    QAction *PlayChatterSounds1 = nullptr;
    QAction *SpeakAnnouncements1 = nullptr;
    QAction *Classic1 = nullptr;
    QAction *New1 = nullptr;
    QAction *ExtraLong1 = nullptr;
    QAction *long_ = nullptr; // objectName "long"
    QAction *Normal1 = nullptr;
    QAction *quick = nullptr;
    QAction *autostart = nullptr;
    QAction *TextColor1 = nullptr;
    std::array<QAction *, 4> textSizes {}; // "8", "10", "12", "14"
    QAction *ScrollChatOff2 = nullptr;
    QAction *ClearMainChat1 = nullptr;
    QAction *ResetScreenLocation1 = nullptr;
    QAction *JustWatch1 = nullptr;
    QAction *DisableTyping1 = nullptr;
    QAction *ClickLetters1 = nullptr;
    QAction *ViewTally1 = nullptr;
    QAction *SpyList1 = nullptr;
    QAction *PrhaseList1 = nullptr;
    // Opens the last round's review again; enabled once a round has ended.
    QAction *LastRoundsWords1 = nullptr;
    QAction *Help2 = nullptr;
    QAction *About1 = nullptr;
    QAction *CheckoutWendlewickSolo1 = nullptr;
    QActionGroup *tilesGroup = nullptr;

Q_SIGNALS:
    void timeBetweenRoundsChosen(int seconds);
    void clickLettersChanged(int tag);
    void disableTypingChanged(int tag);

private:
    QAction *addItem(QMenu *menu, const char *name, const QString &text);
    QAction *addCheckItem(QMenu *menu, const char *name, const QString &text, bool checked);
    QMenu *addSubmenu(QMenu *menu, const char *name, const QString &title);
    static void addShared(QMenu *menu, QMenu *sub);
    void build(QMainWindow *window, const SharedItems &shared);
};
