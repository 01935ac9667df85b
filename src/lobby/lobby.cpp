#include "lobby.h"

#include "companionlistener.h"
#include "discoverybrowser.h"
#include "gameaddress.h"
#include "gamecommandline.h"
#include "gamelink.h"
#include "gamelistmodel.h"
#include "instanceguard.h"
#include "joincheck.h"
#include "lobbysettings.h"
#include "processlauncher.h"
#include "processmarker.h"
#include "programfolders.h"

#include <QDir>
#include <QLockFile>

Lobby::Lobby(const Setup &setup, QObject *parent)
    : QObject(parent)
    , setup_(setup)
    , launcher_(setup.launcher ? setup.launcher : new ProcessLauncher(this))
    , browser_(new DiscoveryBrowser(setup.discovery, this))
    , games_(new GameListModel(false, this))
    , companion_(new CompanionListener(this))
    , check_(new JoinCheck(setup.gamePort, this))
    , community_(nullptr)
{
    if (setup_.settingsPath.isEmpty())
        setup_.settingsPath = ProgramFolders::settingsFilePath();
    if (setup_.tallyFolder.isEmpty())
        setup_.tallyFolder = ProgramFolders::writableFolder();
    if (setup_.markerFolder.isEmpty())
        setup_.markerFolder = InstanceGuard::defaultFolder();
    settings_ = std::make_unique<LobbySettings>(setup_.settingsPath);
    games_->follow(browser_);
    setup_.community.settingsPath = setup_.settingsPath;
    setup_.community.gamePort = setup_.gamePort;
    community_ = new CommunityLobby(setup_.community, this);
    community_->setPlayerName(playerName());
    if (community_->isConfigured() && community_->settings().signIn())
        community_->signIn();

    connect(launcher_, &GameLauncher::ended, this, &Lobby::processEnded);
    connect(companion_, &CompanionListener::gameConnected, this, [this] { companionSeen_ = true; });
    connect(companion_, &CompanionListener::endingHeard, this, [this](CompanionWire::Ending ending) {
        if (state_ == State::Playing)
            ending_ = ending;
    });
    connect(companion_, &CompanionListener::allClosed, this, [this] {
        if (companionSeen_)
            finishGame();
    });
    connect(check_, &JoinCheck::passed, this, [this](const QString &address) {
        settings_->addRecentHost(joining_);
        Q_EMIT recentHostsChanged();
        setState(State::Idle);
        launch(GameCommandLine::join(playerName(), address).arguments());
    });
    connect(check_, &JoinCheck::failed, this, [this](const QString &reason) {
        setState(State::Idle);
        const JoinCheck::Failure failure = check_->failure();
        const bool unreachable = failure == JoinCheck::Failure::Refused
            || failure == JoinCheck::Failure::Silent || failure == JoinCheck::Failure::Unreachable;
        // Until connections are made through routers, an internet host whose router does not
        // forward the game's port cannot be joined.
        setStatus(internetJoin_ && unreachable
                ? QStringLiteral("The host's network does not accept connections from the internet. %1")
                      .arg(reason)
                : reason,
            true);
    });

    // A process that ended has had its connection closed by the system: its last line
    // and its close are on their way, and this is only a bound for an odd peer.
    companionGrace_.setSingleShot(true);
    companionGrace_.setInterval(2000);
    connect(&companionGrace_, &QTimer::timeout, this, &Lobby::finishGame);
    markerPoll_.setInterval(setup_.markerPollMs);
    connect(&markerPoll_, &QTimer::timeout, this, [this] {
        if (gameIsRunning())
            return;
        markerPoll_.stop();
        setStatus(QString());
    });

    // Without the companion connection the launcher still tells when the game ends.
    if (!companion_->listen(setup_.companionPort))
        qWarning("The lobby cannot listen on 127.0.0.1:%u: %s", unsigned(setup_.companionPort),
            qPrintable(companion_->errorString()));
    if (!browser_->start() && setup_.discovery.enabled)
        setStatus(QStringLiteral("Games on the network cannot be listed: %1. You can still join a game by "
                                 "its address.")
                      .arg(browser_->errorString()),
            true);
}

Lobby::~Lobby() = default;

QString Lobby::playerName() const
{
    return settings_->name();
}

void Lobby::setPlayerName(const QString &name)
{
    if (name != playerName())
        settings_->setName(name);
    community_->setPlayerName(playerName());
}

QStringList Lobby::recentHosts() const
{
    return settings_->recentHosts();
}

QString Lobby::nameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Type your name first.");
    // The game would take it for an option of its own.
    if (name.startsWith(QLatin1Char('-')))
        return QStringLiteral("A name cannot start with \u201c-\u201d.");
    return {};
}

QString Lobby::addressProblem(const QString &address)
{
    const QString a = address.trimmed();
    if (a.isEmpty())
        return QStringLiteral("Type the address of the game's host, or choose a game from the list.");
    if (a.startsWith(QLatin1Char('-')) || a.contains(QLatin1Char(' ')) || a.size() > 253)
        return QStringLiteral("\u201c%1\u201d is not an address.").arg(a);
    return {};
}

void Lobby::playSolo()
{
    launch(GameCommandLine::solo().arguments());
}

void Lobby::hostGame()
{
    if (const QString problem = nameProblem(playerName()); !problem.isEmpty()) {
        setStatus(problem, true);
        return;
    }
    launch(GameCommandLine::host(playerName()).arguments());
    if (state_ == State::Playing) {
        hosting_ = true;
        community_->hostingStarted();
    }
}

void Lobby::openLink(const QString &link)
{
    QString problem;
    const std::optional<GameLink::Target> target = GameLink::parse(link.trimmed(), setup_.gamePort, &problem);
    if (!target) {
        setStatus(problem, true);
        return;
    }
    join(target->host, target->port, true);
}

void Lobby::join(const QString &address, quint16 port, bool internet)
{
    if (state_ != State::Idle)
        return;
    internetJoin_ = internet;
    QString problem = nameProblem(playerName());
    if (problem.isEmpty())
        problem = addressProblem(address);
    if (problem.isEmpty() && gameIsRunning()) {
        noteGameRunning(QStringLiteral("A game is already running: finish it before you join another."));
        return;
    }
    if (!problem.isEmpty()) {
        setStatus(problem, true);
        return;
    }
    // A listed game on another port is joined as "address:port".
    joining_ = port ? GameAddress::format(address.trimmed(), port, setup_.gamePort) : address.trimmed();
    setState(State::Checking);
    setStatus(QStringLiteral("Looking for the game at %1\u2026").arg(joining_));
    check_->start(joining_);
}

void Lobby::cancel()
{
    if (state_ != State::Checking)
        return;
    check_->cancel();
    setState(State::Idle);
    setStatus(QString());
}

void Lobby::refresh()
{
    browser_->refresh();
}

bool Lobby::gameIsRunning() const
{
    QLockFile marker(
        QDir(setup_.markerFolder).filePath(ProcessMarker::defaultName + QStringLiteral(".lock")));
    marker.setStaleLockTime(0);
    if (!marker.tryLock(0))
        return marker.error() == QLockFile::LockFailedError;
    marker.unlock();
    return false;
}

void Lobby::launch(const QStringList &arguments)
{
    if (state_ != State::Idle)
        return;
    if (gameIsRunning()) {
        noteGameRunning(QStringLiteral("A game is already running: finish it before you start another."));
        return;
    }
    before_ = LastGame::read(setup_.tallyFolder);
    ending_.reset();
    companionSeen_ = false;
    QString error;
    if (!launcher_->start(arguments, &error)) {
        setStatus(QStringLiteral("The game could not be started: %1.").arg(error), true);
        return;
    }
    setState(State::Playing);
    setStatus(QStringLiteral("The game is running."));
    // Nobody looks at the list while the game runs.
    browser_->stop();
    Q_EMIT gameStarted();
}

void Lobby::processEnded()
{
    if (state_ != State::Playing)
        return;
    if (companionSeen_ && companion_->connections() > 0)
        companionGrace_.start();
    else
        finishGame();
}

void Lobby::finishGame()
{
    if (state_ != State::Playing)
        return;
    if (std::exchange(hosting_, false))
        community_->hostingEnded();
    companionGrace_.stop();
    // Asking again before the window shows, so that it never says games are not listed.
    browser_->start();
    setState(State::Idle);
    setStatus(
        LastGame::result(ending_, before_, LastGame::read(setup_.tallyFolder)), LastGame::isProblem(ending_));
    Q_EMIT gameEnded();
}

void Lobby::noteGameRunning(const QString &problem)
{
    setStatus(problem, true);
    markerPoll_.start();
}

void Lobby::setState(State state)
{
    if (state_ == state)
        return;
    state_ = state;
    Q_EMIT stateChanged(state);
}

void Lobby::setStatus(const QString &text, bool problem)
{
    markerPoll_.stop();
    status_ = text;
    problem_ = problem;
    Q_EMIT statusChanged(text, problem);
}
