#pragma once

#include "communitylobby.h"
#include "companionwire.h"
#include "discoveryconfig.h"
#include "gameports.h"
#include "icejoiner.h"
#include "lastgame.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

class CompanionListener;
class DiscoveryBrowser;
class GameLauncher;
class GameListModel;
class IceJoiner;
class JoinCheck;
class LobbySettings;

// The lobby without its window: the player's name and recent hosts, the games found
// on the network, and starting the game to play solo, host or join. While the game it
// started runs the lobby waits without asking the network, and it learns that the
// game has ended from the companion connection the game opens to it (which also
// says why: the host closed it, removed the player, was full, or the connection was
// lost), or from the launcher; it then tells the player why the game ended and how
// it went, as far as the tally file says.
class Lobby : public QObject
{
    Q_OBJECT

public:
    struct Setup
    {
        QString settingsPath; // orinlobby.ini in the game's writable folder
        QString tallyFolder; // the game's writable folder
        QString markerFolder; // where a running game keeps its marker: the instance guard's folder
        quint16 companionPort = GamePorts::companion; // 0: any free port (tests)
        quint16 gamePort = GamePorts::game; // the one port the game joins
        DiscoveryConfig discovery = DiscoveryConfig::fromEnvironment();
        GameLauncher *launcher = nullptr; // the game as a process when null
        // The internet side; its settings path and game port are the lobby's.
        CommunityLobby::Setup community;
        // Connecting to a host through routers (the agents are the community's), which
        // starts beside the look at the announced address once that had this long.
        IceJoiner::Timing ice;
        int iceHeadStartMs = 1500;
        // How often a "game already running" notice looks whether that game is over.
        int markerPollMs = 1000;
    };
    enum class State { Idle, Checking, Playing };

    explicit Lobby(const Setup &setup, QObject *parent = nullptr);
    ~Lobby() override;

    GameListModel *games() const { return games_; }
    DiscoveryBrowser *browser() const { return browser_; }
    CompanionListener *companion() const { return companion_; }
    CommunityLobby *community() const { return community_; }
    State state() const { return state_; }
    QString status() const { return status_; }
    bool statusIsProblem() const { return problem_; }
    // Whom the join under way offers the way through the routers (a key of the
    // community's games), or empty.
    QString icePeer() const { return icePeer_; }

    QString playerName() const;
    // Stores the name (cut to LobbySettings::maxNameLength).
    void setPlayerName(const QString &name);
    QStringList recentHosts() const;

    // Why a name or an address cannot go on the game's command line; empty when it can.
    static QString nameProblem(const QString &name);
    static QString addressProblem(const QString &address);

    void playSolo();
    void hostGame();
    // Joins the game at `address` (typed, or a listed game's with its port) once a look
    // there found a host. `internet`: a game on the internet, whose host may not be
    // reachable from outside its network. When the game is one announced in the community
    // room by a host that answers offers and the look finds nobody there (or has not
    // within iceHeadStartMs), the lobby also connects through the routers (IceJoiner);
    // whichever way reaches the host first takes the game. The
    // game then joins the local end the lobby keeps (while it runs, finding a way again
    // when the way breaks, and for rejoin() while the host keeps the seat); the status
    // says which way the game is connected, or why there is none.
    // `chosen`: the key of the listed game the player chose, whose host alone is offered
    // the way through the routers (hosts behind one carrier NAT share an address and
    // port). Without one, an internet game's host is the only one listed there; where
    // several are, the join is refused with a sentence.
    void join(const QString &address, quint16 port = 0, bool internet = false, const QString &chosen = {});
    // Joins the game a link "wendlewick://HOST[:PORT]" names, after the same look; a
    // link holding anything else is refused with a sentence. `inviter`: who sent the
    // link, whose game is preferred when several are listed at its address.
    void openLink(const QString &link, const QString &inviter = {});
    // Starts the game again to come back to the seat its host still keeps for the player,
    // after the connection was lost and the player gave up coming back. The game finds
    // the seat's token itself, where only this user can read it: the lobby never holds it.
    void rejoin();
    // Whether rejoin() can be offered: the last game was lost while it was joined, and
    // its host keeps the seat a while yet.
    bool canRejoin() const;

    // Stops a look before joining.
    void cancel();
    // Whether the lobby may close now: not while it carries connections through the
    // routers for the running game (its own, or its players' when it hosts). When it
    // may not, the status says why.
    bool mayClose();
    // Asks the network for games again.
    void refresh();

Q_SIGNALS:
    void stateChanged(Lobby::State state);
    void statusChanged(const QString &text, bool problem);
    void recentHostsChanged();
    // The game has started: the window steps aside.
    void gameStarted();
    // The game has ended: the window comes back, with the result in the status.
    void gameEnded();
    // canRejoin() changed.
    void rejoinChanged(bool possible);

private:
    void launch(const QStringList &arguments, const QStringList &environment = {});
    void checkFailed(const QString &reason);
    void startIce();
    void iceGreeting(const QByteArray &bytes);
    void iceFailed(const QString &reason);
    void joinGame(const QString &address, quint16 port, bool internet, const QString &key, bool onlyKey);
    // Stops every way of joining under way and says why.
    void stopJoining(const QString &text, bool problem = true);
    void showConnection();
    // The running game's way through the routers was lost, and is looked for again.
    void showLost();
    // The offer to rejoin goes, and with it the local end kept for it.
    void withdrawRejoin();
    void finishGame();
    // The launcher says the game's process has ended: its companion connection, when
    // it has one, is read to its end first.
    void processEnded();
    // A running game kept this one from starting; the notice goes once that game ends.
    void noteGameRunning(const QString &problem);
    bool gameIsRunning() const;
    void setState(State state);
    void setStatus(const QString &text, bool problem = false);

    Setup setup_;
    std::unique_ptr<LobbySettings> settings_;
    GameLauncher *launcher_;
    DiscoveryBrowser *browser_;
    GameListModel *games_;
    CompanionListener *companion_;
    JoinCheck *check_;
    CommunityLobby *community_;
    IceJoiner *joiner_ = nullptr;
    QTimer iceHeadStart_;
    QString iceFailure_; // why no way through the routers was found, while the look runs
    QString icePeer_; // who announced the game being joined, when it answers offers
    QString connection_; // how the running game is connected, for the status
    QString lost_; // why the running game's connection through routers was lost
    State state_ = State::Idle;
    QString status_;
    bool problem_ = false;
    QString joining_; // the address as typed, for the recent hosts
    std::optional<LastGame::Totals> before_;
    std::optional<CompanionWire::Ending> ending_;
    int rejoinSeconds_ = 0;
    // The command line of the game last started to join one.
    QStringList joinArguments_;
    QStringList launched_;
    QTimer rejoinExpiry_;
    // The game to rejoin was joined through the routers: the joiner keeps its local end.
    bool rejoinThroughJoiner_ = false;
    bool companionSeen_ = false;
    bool hosting_ = false;
    bool internetJoin_ = false;
    QTimer companionGrace_;
    QTimer markerPoll_;
};
