#pragma once

#include "boarddealer.h"
#include "clientstate.h"
#include "gameports.h"
#include "gamesounds.h"
#include "reconnector.h"

class HostHeartbeat;
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
class ClientRoles;
class ConnectionKeeper;
class ComputerPlayers;
class DesktopShell;
class EntryStrip;
class GameSession;
class HostConnection;
class HostedGame;
class KeyHook;
class LazyWordTrie;
class MainMenus;
class MainSettings;
class NextRoundCountdown;
class PhraseBar;
class PlayArea;
class PlaySurface;
class ProcessMarker;
class QFrame;
class QMessageBox;
class ReconnectNotice;
class RosterModel;
class RosterView;
class SessionSounds;
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

// The player's main window. It builds the parts of the player's side of a game and
// wires them together: the game session (the client state, the roster and the round
// clock) between the client dispatch and the board panel's views, the dictionary
// `spell`, the settings, the chat, the connection to the game host and, for the host
// player, the hosted game itself. It creates the side windows and keeps them until it
// goes.
//
// When first shown it reads the command line and takes its role: solo (no
// arguments), host (name, address, "true") or joiner (name, address, anything else).
class Tchat : public QMainWindow
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
        quint16 gamePort = GamePorts::game;
        // Where the host listens: every address, so that others can join.
        QHostAddress listenAddress = QHostAddress::Any;
        quint16 companionPort = GamePorts::companion;
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
        // The waits between attempts to come back after a drop, in milliseconds (the
        // grace period counts in the host's seconds, secondLength above).
        int reconnectFirstWaitMs = 250;
        int reconnectLongestWaitMs = 2000;
        // How often both ends of a game connection that can come back say they are
        // there, and the silence during a game that counts as a lost connection.
        int heartbeatIntervalMs = 3000;
        int heartbeatSilenceMs = 10000;
        // The seat a game started to rejoin comes back to; the record in the marker
        // folder when unset (the lobby's "Rejoin" sets WENDLEWICK_REJOIN=1).
        bool rejoin = false;
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

    // The parts the window built.
    GameSession *session() const { return session_; }
    const ClientState &state() const;
    RosterModel *roster() const;
    const SettingsValues &settings() const;
    MainMenus *menus() const { return menus_; }
    PlayArea *playArea() const { return playArea_; }
    RosterView *rosterView() const { return rosterView_; }
    WordsPanel *wordsPanel() const { return wordsPanel_; }
    QFrame *boardPanel() const { return panel_board_; }
    const ProcessMarker &marker() const { return *marker_; }
    ChatPanel *chatPanel() const { return chat_; }
    PhraseBar *phraseBar() const { return phraseBar_; }
    GameSounds &sounds() { return sounds_; }
    // The game's news for screen readers, and spoken when the player asks for it.
    Announcer *announcer() const { return announcer_; }
    AnnouncementLine *announcementLine() const { return announcementLine_; }
    BoardModel *boardModel() const { return board_; }
    WordEntry *wordEntry() const { return entry_; }
    TileGroups *tileGroups() const { return tiles_; }
    BoardPanel *boardView() const { return boardView_; }
    WordResults *wordResults() const { return results_; }
    HostConnection *connection() const { return connection_; }
    ClientDispatch *dispatch() const { return dispatch_; }
    // Coming back to the seat after the connection dropped, and what covers the board
    // meanwhile.
    Reconnector *reconnector() const { return reconnector_; }
    HostHeartbeat *heartbeat() const { return heartbeat_; }
    ReconnectNotice *reconnectNotice() const { return reconnectNotice_; }
    // Between rounds, the seconds until the next one.
    NextRoundCountdown *nextRound() const { return nextRound_; }
    // The in-process game host; it listens only once this window hosts.
    TServer *server() const;
    // The computer players this window added to its own game.
    ComputerPlayers *computerPlayers() const;

    // The side windows.
    Tabout *about() const { return about_; }
    Tspylist *spylist() const { return spylist_; }
    Tgamestart *gamestart() const { return gamestart_; }
    Thelp *help() const { return help_; }
    Tphrases *phraseEditor() const { return phrases_; }
    Tdownload *download() const { return download_; }
    Ttallylist *tallylist() const { return tallylist_; }
    Twordslist *wordsList() const { return wordslist_; }

    // The settings (MainSettings): read at creation and again at admission, written
    // after every change.
    void loadinifile();
    void saveinifile();
    void setPhrases(const QStringList &phrases);
    void setWordsListWindow(QWidget *window);

    // Puts the real widget in the place of the placeholder control `name` (same
    // parent, place, size, visibility and object name) and deletes the placeholder. False when no control of
    // that name is in the board panel.
    bool replaceControl(const QString &name, QWidget *real);

    // Restores the window when minimised, else raises and activates it (another
    // copy of the program tried to start).
    void bringForward();

    // Roles and the command line (ClientRoles).
    void processparams(const QStringList &arguments);
    void hostpress();
    void joinpress();

    // Adds "0+" `text` to the chat in the system colour.
    void addSystemLine(const QString &text);
    // Plays the game sound `name` when "Play Sounds" is on.
    void playsounds(const QString &name);

    // Refills the tally window's players of the current game from the roster.
    void loadchecklist();

    void button_startClick();
    // "Add Computer Player" (HostedGame).
    void addComputerPlayer(int level);
    void Exit1Click();
    void ResetScreenLocation1Click();
    void ViewTally1Click();
    void image_logoClick();
    void FormResize();

    // The client area: the window without its menu bar.
    QSize clientSize() const;

    // What the in-process host reads from this window (HostedGame).
    bool isword(QByteArrayView word) const;
    int pauseBetweenRounds() const;
    bool autoStartNextGame() const;

Q_SIGNALS:
    // The window has closed (after the settings were saved): the program ends.
    void closed();
    // The window hosts a game for others to join (the host role, not solo play).
    void hostingForOthers();
    // First paint of the board panel after the window was shown.
    void firstShown();

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
    void connectSession();
    void connectWindows();
    void connectPlaySurface();
    void connectNextRound();
    void connectAnnouncements();
    void sockInfo();
    // The game is over for this window: it closes, once the player has read `sentence`
    // when there is one.
    void gameOver(const QString &sentence);
    // A join started by the lobby's "Rejoin": comes back to the seat kept in the record.
    bool returnToKeptSeat(const QString &host, quint16 port);
    void showGameFull();
    void showWindow(QWidget *window);
    void reportDictionaryMissing();

    Setup setup_;
    std::unique_ptr<ProcessMarker> marker_;
    QRandomGenerator random_;
    GameSounds sounds_;
    GameSession *session_ = nullptr;
    SessionSounds *sessionSounds_ = nullptr;
    SoundOptions *soundOptions_ = nullptr;
    Announcer *announcer_ = nullptr;
    AnnouncementLine *announcementLine_ = nullptr;
    MainMenus *menus_ = nullptr;
    QFrame *panel_board_ = nullptr;
    PlayArea *playArea_ = nullptr;
    RosterView *rosterView_ = nullptr;
    WordsPanel *wordsPanel_ = nullptr;
    BoardModel *board_ = nullptr;
    WordEntry *entry_ = nullptr;
    KeyHook *keyHook_ = nullptr;
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
    PlaySurface *playSurface_ = nullptr;
    NextRoundCountdown *nextRound_ = nullptr;
    MainSettings *settings_ = nullptr;
    HostedGame *hosted_ = nullptr;
    ClientRoles *roles_ = nullptr;
    Reconnector *reconnector_ = nullptr;
    HostHeartbeat *heartbeat_ = nullptr;
    ConnectionKeeper *keeper_ = nullptr;
    ReconnectNotice *reconnectNotice_ = nullptr;
    QPointer<QMessageBox> lostBox_;

    Tabout *about_ = nullptr;
    Tspylist *spylist_ = nullptr;
    Tgamestart *gamestart_ = nullptr;
    Thelp *help_ = nullptr;
    Tphrases *phrases_ = nullptr;
    Tdownload *download_ = nullptr;
    Ttallylist *tallylist_ = nullptr;
    Twordslist *wordslist_ = nullptr;
    Tsolo *solo_ = nullptr;

    std::unique_ptr<WordNet> wordnet_;
    QPointer<QMessageBox> gameFullBox_;
    bool shownOnce_ = false;
    bool formShown_ = false;
};
