#pragma once

#include "boarddealer.h"
#include "clientstate.h"
#include "gameending.h"
#include "gamesounds.h"
#include "hostenvironment.h"
#include "settingsfile.h"
#include "settingsvalues.h"

#include <QDate>
#include <QHostAddress>
#include <QMainWindow>
#include <QPointer>
#include <QRandomGenerator>
#include <QStringList>

#include <memory>
#include <optional>

class AnnouncementLine;
class Announcer;
class BoardModel;
class BoardPanel;
class ChatPanel;
class ClientDispatch;
class ComputerPlayers;
class DesktopShell;
class GameFlow;
class EntryStrip;
class HostConnection;
class LazyWordTrie;
class MainMenus;
class NextRoundCountdown;
class PhraseBar;
class PlayArea;
class ProcessMarker;
class QFrame;
class QMessageBox;
class RosterModel;
class RosterView;
class SoundOptions;
class SoundPlayer;
class Speaker;
class Tabout;
class TDictn;
class Tdownload;
class Tgamestart;
class Thelp;
class Tphrases;
class TileGroups;
class TilesMenu;
class TServer;
class Tsolo;
class Tspylist;
class Ttallylist;
class Twordslist;
class WordEntry;
class WordNet;
class WordResults;
class WordsPanel;
struct Verdict;

// The player's main window. It owns the client state, the dictionary `spell`, the
// settings, the roster, the chat, the connection to the game host and, for the host
// player, the game host itself (the host reads its dictionary, the pause between
// rounds and the automatic restart from this window). It creates the side windows
// and keeps them until it goes.
//
// When first shown it reads the command line and takes its role: solo (no
// arguments), host (name, address, "true") or joiner (name, address, anything else).
class Tchat : public QMainWindow, public HostEnvironment
{
    Q_OBJECT

public:
    // Where the window finds and keeps its files and what it talks to; empty fields
    // take the program's defaults.
    struct Setup
    {
        QString dictionaryFolder; // ProgramFolders::wordListFolder()
        QString dictionaryResource; // the built-in word list
        QString settingsPath; // orinlobby.ini in the writable folder
        QString markerFolder; // the instance guard's folder
        QString tallyFolder; // the writable folder
        // The command line after the program's name; the process's own when unset.
        std::optional<QStringList> arguments;
        // The game's port: hosted on and joined at. 0 hosts on a free port (tests).
        quint16 gamePort = 7772;
        // Where the host listens: every address, so that others can join.
        QHostAddress listenAddress = QHostAddress::Any;
        quint16 companionPort = 9001;
        // The host's board draws; a generator seeded from the clock when unset.
        UniformDraw draw;
        SoundPlayer *soundPlayer = nullptr; // the Qt Multimedia player
        Speaker *speaker = nullptr; // the Qt Text to Speech voice of the announcements
        DesktopShell *shell = nullptr; // the system's web browser
        QDate today; // the day the program started
        // The length of one second of the round clock and of the host's countdown, in
        // milliseconds; tests play whole games with short seconds.
        int secondLength = 1000;
        // The tile-group folder; the program's own folders when empty.
        QString tilesFolder;
        // The WordNet database of the review's meanings; found in the system's data
        // folders when empty.
        QString wordnetFolder;
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
    WordsPanel *wordsPanel() const { return wordsPanel_; }
    QFrame *boardPanel() const { return panel_board_; }
    const ProcessMarker &marker() const { return *marker_; }

    // The chat, its phrase buttons and the sounds.
    ChatPanel *chatPanel() const { return chat_; }
    PhraseBar *phraseBar() const { return phraseBar_; }
    GameSounds &sounds() { return sounds_; }
    SoundOptions *soundOptions() const { return soundOptions_; }
    // The game's news for screen readers, and spoken when the player asks for it.
    Announcer *announcer() const { return announcer_; }
    AnnouncementLine *announcementLine() const { return announcementLine_; }

    // The play surface: the board as the host dealt it and as shown, the word in
    // progress, the tile pictures, the board's and the strip's widgets, the host's
    // verdicts on this player's words and the solver's word list for the review.
    BoardModel *boardModel() const { return board_; }
    WordEntry *wordEntry() const { return entry_; }
    TileGroups *tileGroups() const { return tiles_; }
    BoardPanel *boardView() const { return boardView_; }
    EntryStrip *entryStrip() const { return strip_; }
    WordResults *wordResults() const { return results_; }
    LazyWordTrie *wordTrie() const { return trie_; }

    // The connection to the host, the client side of the protocol and the game flow.
    HostConnection *connection() const { return connection_; }
    ClientDispatch *dispatch() const { return dispatch_; }
    GameFlow *gameFlow() const { return flow_; }
    // Between rounds, the seconds until the next one.
    NextRoundCountdown *nextRound() const { return nextRound_; }
    // The in-process game host; it listens only once this window hosts.
    TServer *server() const { return server_; }
    // The computer players this window added to its own game.
    ComputerPlayers *computerPlayers() const { return computerPlayers_; }

    // The side windows.
    Tabout *about() const { return about_; }
    Tspylist *spylist() const { return spylist_; }
    Tgamestart *gamestart() const { return gamestart_; }
    Thelp *help() const { return help_; }
    Tphrases *phraseEditor() const { return phrases_; }
    Tdownload *download() const { return download_; }
    Ttallylist *tallylist() const { return tallylist_; }
    Twordslist *wordsList() const { return wordslist_; }
    Tsolo *solo() const { return solo_; }

    // Reads the settings file and applies every key to its control. Also runs once
    // at creation, so that the window opens where the player left it and no save can
    // replace settings that were never read.
    void loadinifile();
    // Writes every key but the phrases (not before the file has been read).
    void saveinifile();
    // Takes new preferences from a part that changed them (a tile group, the word
    // entry's options), shows them and saves.
    void setSettings(const SettingsValues &values);
    // The phrase editor's "Done": the phrases go on buttons 1 to 9 and into the
    // nine phrase keys, and nowhere else.
    void setPhrases(const QStringList &phrases);

    // Puts the real widget in the place of the placeholder control `name` (same
    // parent, place, size, visibility and object name) and deletes the placeholder. False when no control of
    // that name is in the board panel.
    bool replaceControl(const QString &name, QWidget *real);

    // The words list window, placed from the settings and saved with them. Until
    // it is set its place is kept in the settings alone.
    void setWordsListWindow(QWidget *window);

    // Restores the window when minimised, else raises and activates it (another
    // copy of the program tried to start).
    void bringForward();

    // Roles and the command line.
    void processparams(const QStringList &arguments);
    void hostpress();
    void joinpress();

    // Sends one complete message (terminator included) to the host.
    void sendToHost(const QByteArray &message);
    // Adds "0+" `text` to the chat in the system colour.
    void addSystemLine(const QString &text);
    // Plays the game sound `name` when "Play Sounds" is on.
    void playsounds(const QString &name);

    // Refills the tally window's players of the current game from the roster.
    void loadchecklist();

    void button_startClick();
    // "Add Computer Player": a computer player of the strength (0 easy, 1 medium,
    // 2 hard) joins the game this window hosts.
    void addComputerPlayer(int level);
    void Exit1Click();
    void ResetScreenLocation1Click();
    void ViewTally1Click();
    void image_logoClick();
    void FormResize();

    // The client area: the window without its menu bar.
    QSize clientSize() const;

    // HostEnvironment: what the in-process host reads from this window.
    bool isword(QByteArrayView word) const override;
    int pauseBetweenRounds() const override;
    bool autoStartNextGame() const override;

Q_SIGNALS:
    // The window has closed (after the settings were saved): the program ends.
    void closed();
    // The window hosts a game for others to join (the host role, not solo play).
    void hostingForOthers();
    // First paint of the board panel after the window was shown.
    void firstShown();
    // The round's words for this player (none when nobody found one), for the words
    // list window.
    void roundWordsArrived(const QStringList &words);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void buildPanel();
    void createWindows();
    void connectMenus();
    void connectClient();
    void connectWindows();
    void connectPlaySurface();
    void connectNextRound();
    void connectAnnouncements();
    // Carries out the player's own judgement of a finished word: status, words-panel
    // line, sound and the claim to the host.
    void carryOut(const Verdict &verdict);
    // The window-level key hook: a key press for this window goes to the word entry
    // before the focused control.
    bool keyHook(QObject *watched, QEvent *event);
    void collectSettings();
    void applySettings();
    void applyWindowBounds(const QRect &bounds);
    // Moves the words list window to its stored place, or to the default place when
    // the stored one lies on no screen.
    void placeWordsList();
    // The words list window's own place (not where its review stands beside the board).
    QPoint wordsListPlace() const;
    void moveWordsList(QPoint leftTop);
    QRect windowBounds() const;
    QSize wordsListSize() const;
    void sockInfo();
    void showGameFull();
    void showWindow(QWidget *window);
    void FormClose();
    void reportDictionaryMissing();
    void createComputerPlayers();

    Setup setup_;
    ClientState state_;
    SettingsValues settings_;
    SettingsFile settingsFile_;
    std::unique_ptr<ProcessMarker> marker_;
    QRandomGenerator random_;
    GameSounds sounds_;
    SoundOptions *soundOptions_ = nullptr;
    Announcer *announcer_ = nullptr;
    AnnouncementLine *announcementLine_ = nullptr;
    RosterModel *roster_ = nullptr;
    MainMenus *menus_ = nullptr;
    QFrame *panel_board_ = nullptr;
    PlayArea *playArea_ = nullptr;
    RosterView *rosterView_ = nullptr;
    WordsPanel *wordsPanel_ = nullptr;
    BoardModel *board_ = nullptr;
    WordEntry *entry_ = nullptr;
    TileGroups *tiles_ = nullptr;
    TilesMenu *tilesMenu_ = nullptr;
    BoardPanel *boardView_ = nullptr;
    EntryStrip *strip_ = nullptr;
    WordResults *results_ = nullptr;
    LazyWordTrie *trie_ = nullptr;
    ChatPanel *chat_ = nullptr;
    PhraseBar *phraseBar_ = nullptr;
    HostConnection *connection_ = nullptr;
    ClientDispatch *dispatch_ = nullptr;
    GameFlow *flow_ = nullptr;
    NextRoundCountdown *nextRound_ = nullptr;

    Tabout *about_ = nullptr;
    Tspylist *spylist_ = nullptr;
    Tgamestart *gamestart_ = nullptr;
    Thelp *help_ = nullptr;
    Tphrases *phrases_ = nullptr;
    Tdownload *download_ = nullptr;
    Ttallylist *tallylist_ = nullptr;
    TServer *server_ = nullptr;
    Twordslist *wordslist_ = nullptr;
    Tsolo *solo_ = nullptr;
    ComputerPlayers *computerPlayers_ = nullptr;

    std::unique_ptr<WordNet> wordnet_;
    QPointer<QWidget> wordsList_;
    QPointer<QMessageBox> gameFullBox_;
    GameEnding ending_;
    QRect rememberedBounds_; // as read from the settings, or as corrected at the last close
    bool boundsApplied_ = false;
    bool shownOnce_ = false;
    bool formShown_ = false;
    bool hostClosed_ = false;
    bool closing_ = false;
    bool soloGame_ = false;
};
