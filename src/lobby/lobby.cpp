#include "lobby.h"

#include "companionlistener.h"
#include "discoverybrowser.h"
#include "gameaddress.h"
#include "gamecommandline.h"
#include "gamelink.h"
#include "gamelistmodel.h"
#include "icegateway.h"
#include "icejoiner.h"
#include "iceserversource.h"
#include "instanceguard.h"
#include "joincheck.h"
#include "lobbysettings.h"
#include "processlauncher.h"
#include "processmarker.h"
#include "programfolders.h"
#include "roomsignalchannel.h"

#include <QDir>
#include <QLockFile>

#include <limits>

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
    connect(companion_, &CompanionListener::endingHeard, this, [this](const CompanionWire::Message &message) {
        if (state_ != State::Playing)
            return;
        ending_ = message.ending;
        rejoinSeconds_ = message.rejoinSeconds;
    });
    rejoinExpiry_.setSingleShot(true);
    connect(&rejoinExpiry_, &QTimer::timeout, this, [this] {
        withdrawRejoin();
        Q_EMIT rejoinChanged(false);
    });
    connect(companion_, &CompanionListener::allClosed, this, [this] {
        if (companionSeen_)
            finishGame();
    });
    connect(check_, &JoinCheck::passed, this, [this](const QString &address) {
        settings_->addRecentHost(joining_);
        Q_EMIT recentHostsChanged();
        iceHeadStart_.stop();
        joiner_->cancel();
        setState(State::Idle);
        connection_ = internetJoin_ ? IcePath::words(IcePath::Way::Direct) : QString();
        launch(GameCommandLine::join(playerName(), address).arguments());
    });
    connect(check_, &JoinCheck::failed, this, &Lobby::checkFailed);

    joiner_ = new IceJoiner(community_->signalChannel(), community_->iceServers(),
        setup_.community.ice.value_or(IceAgent::forProgram(setup_.gamePort)), this);
    joiner_->setTiming(setup_.ice);
    iceHeadStart_.setSingleShot(true);
    connect(&iceHeadStart_, &QTimer::timeout, this, &Lobby::startIce);
    connect(joiner_, &IceJoiner::connected, this, [this] {
        setStatus(QStringLiteral("A way through the routers was found: waiting for the host\u2026"));
    });
    connect(joiner_, &IceJoiner::greetingArrived, this, &Lobby::iceGreeting);
    connect(joiner_, &IceJoiner::failed, this, &Lobby::iceFailed);
    connect(joiner_, &IceJoiner::pathChanged, this, [this](IcePath::Way path) {
        connection_ = IcePath::words(path);
        if (state_ == State::Playing)
            showConnection();
    });
    // The game comes back by itself to the local end, which finds the host again.
    connect(joiner_, &IceJoiner::ended, this, [this](const QString &reason) {
        lost_ = reason;
        if (!reason.isEmpty())
            showLost();
    });
    connect(joiner_, &IceJoiner::returning, this, &Lobby::showLost);
    connect(joiner_, &IceJoiner::returned, this, [this](IcePath::Way path) {
        lost_.clear();
        connection_ = IcePath::words(path);
        if (state_ == State::Playing)
            setStatus(QStringLiteral("The game is connected again, %1.").arg(connection_));
    });
    connect(joiner_, &IceJoiner::returnFailed, this, [this](const QString &reason) {
        if (state_ == State::Playing)
            setStatus(QStringLiteral("No way back to the host was found: %1. The game tries again while the "
                                     "host keeps its seat.")
                          .arg(reason),
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

void Lobby::openLink(const QString &link, const QString &inviter)
{
    QString problem;
    const std::optional<GameLink::Target> target = GameLink::parse(link.trimmed(), setup_.gamePort, &problem);
    if (!target) {
        setStatus(problem, true);
        return;
    }
    joinGame(target->host, target->port, true, inviter, false);
}

void Lobby::join(const QString &address, quint16 port, bool internet, const QString &chosen)
{
    joinGame(address, port, internet, chosen, !chosen.isEmpty());
}

// `key`: the game wanted among those listed at the address, the only one considered
// when `onlyKey`, else preferred to the only other one there.
void Lobby::joinGame(const QString &address, quint16 port, bool internet, const QString &key, bool onlyKey)
{
    if (state_ == State::Playing) {
        setStatus(QStringLiteral("A game is already running: finish it before you join another."), true);
        return;
    }
    if (state_ != State::Idle) {
        setStatus(QStringLiteral("Still looking for the game at %1: wait for it before you join another.")
                      .arg(joining_),
            true);
        return;
    }
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
    const QString joining
        = port ? GameAddress::format(address.trimmed(), port, setup_.gamePort) : address.trimmed();
    int row = -1;
    if (internet) {
        // Hosts behind one carrier NAT share its address, and any occupant can announce
        // another's: the offer goes to the host chosen, never to a guess among several.
        const GameAddress::Target target = GameAddress::parse(joining, setup_.gamePort);
        const GameListModel *room = community_->games();
        const QList<int> there = room->rowsOf(target.host, target.port);
        const auto wanted = std::find_if(
            there.begin(), there.end(), [&](int r) { return !key.isEmpty() && room->key(r) == key; });
        if (wanted != there.end()) {
            row = *wanted;
        } else if (there.size() == 1 && !onlyKey) {
            row = there.first();
        } else if (there.size() > 1) {
            setStatus(QStringLiteral("Several games on the internet are at %1: choose the one to join in the "
                                     "list of games on the internet.")
                          .arg(joining),
                true);
            return;
        }
        if (row >= 0 && !room->game(row).acceptsIce)
            row = -1;
    }
    // The local end kept for a rejoin is not the new game's.
    if (rejoinThroughJoiner_)
        withdrawRejoin();
    joining_ = joining;
    icePeer_.clear();
    if (row >= 0) {
        icePeer_ = community_->games()->key(row);
        // The servers are asked while the look runs, in case they are needed.
        community_->iceServers().prefetch();
    }
    iceFailure_.clear();
    setState(State::Checking);
    setStatus(QStringLiteral("Looking for the game at %1\u2026").arg(joining_));
    check_->start(joining_);
    // A router that drops what it was not asked for leaves the look waiting: the way
    // through the routers is looked for beside it after a head start.
    if (!icePeer_.isEmpty() && state_ == State::Checking)
        iceHeadStart_.start(setup_.iceHeadStartMs);
}

void Lobby::startIce()
{
    if (state_ != State::Checking || joiner_->isRunning() || !community_->isInRoom())
        return;
    setStatus(check_->isRunning()
            ? QStringLiteral("Looking for the game at %1, and for a way through the routers\u2026")
                  .arg(joining_)
            : QStringLiteral("The host's network does not accept connections from the internet: connecting "
                             "through the routers\u2026"));
    joiner_->start(icePeer_);
}

bool Lobby::canRejoin() const
{
    return state_ == State::Idle && rejoinExpiry_.isActive() && !joinArguments_.isEmpty();
}

void Lobby::rejoin()
{
    if (!canRejoin())
        return;
    rejoinExpiry_.stop();
    rejoinThroughJoiner_ = false;
    Q_EMIT rejoinChanged(false);
    launch(joinArguments_, {QLatin1StringView(GameCommandLine::rejoinVariable) + QStringLiteral("=1")});
}

void Lobby::cancel()
{
    stopJoining({}, false);
}

bool Lobby::mayClose()
{
    if (state_ != State::Playing || (!joiner_->isRunning() && community_->gateway().bridges() == 0))
        return true;
    setStatus(joiner_->isRunning()
            ? QStringLiteral(
                "Your game is connected to the host through the lobby: the lobby closes when the game "
                "has ended.")
            : QStringLiteral(
                "Players of your game are connected through the lobby: the lobby closes when the game "
                "has ended."),
        true);
    return false;
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

void Lobby::launch(const QStringList &arguments, const QStringList &environment)
{
    if (state_ != State::Idle)
        return;
    if (gameIsRunning()) {
        noteGameRunning(QStringLiteral("A game is already running: finish it before you start another."));
        return;
    }
    before_ = LastGame::read(setup_.tallyFolder);
    ending_.reset();
    rejoinSeconds_ = 0;
    companionSeen_ = false;
    withdrawRejoin();
    QString error;
    if (!launcher_->start(arguments, environment, &error)) {
        setStatus(QStringLiteral("The game could not be started: %1.").arg(error), true);
        return;
    }
    launched_ = arguments;
    setState(State::Playing);
    lost_.clear();
    showConnection();
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
    connection_.clear();
    // Asking again before the window shows, so that it never says games are not listed.
    browser_->start();
    setState(State::Idle);
    // A way through the routers that was lost says more than the game can: to the game
    // its connection simply closed.
    if (const QString lost = std::exchange(lost_, {}); !lost.isEmpty())
        setStatus(LastGame::lost(lost, before_, LastGame::read(setup_.tallyFolder)), true);
    else
        setStatus(LastGame::result(ending_, before_, LastGame::read(setup_.tallyFolder)),
            LastGame::isProblem(ending_));
    // A joined game whose host keeps the seat a while yet can be rejoined meanwhile.
    const bool joined = GameCommandLine::parse(launched_).role == GameCommandLine::Role::Join;
    joinArguments_ = joined ? launched_ : QStringList();
    const bool seatKept = joined && ending_ == CompanionWire::Ending::Lost && rejoinSeconds_ > 0;
    // The same command line rejoins through the same local end, which finds the host again.
    rejoinThroughJoiner_ = seatKept && joiner_->isRunning();
    if (!rejoinThroughJoiner_)
        joiner_->cancel();
    if (seatKept) {
        rejoinExpiry_.start(
            int(qMin<qint64>(qint64(rejoinSeconds_) * 1000, std::numeric_limits<int>::max())));
        Q_EMIT rejoinChanged(true);
    }
    Q_EMIT gameEnded();
}

void Lobby::withdrawRejoin()
{
    if (std::exchange(rejoinThroughJoiner_, false))
        joiner_->cancel();
    if (rejoinExpiry_.isActive()) {
        rejoinExpiry_.stop();
        Q_EMIT rejoinChanged(false);
    }
}

void Lobby::showLost()
{
    if (state_ != State::Playing)
        return;
    setStatus(lost_.isEmpty()
            ? QStringLiteral("Looking for the way to the host again\u2026")
            : QStringLiteral("The way to the host was lost: %1. Looking for it again\u2026").arg(lost_),
        true);
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

void Lobby::showConnection()
{
    setStatus(connection_.isEmpty() ? QStringLiteral("The game is running.")
                                    : QStringLiteral("The game is running, connected %1.").arg(connection_));
}

void Lobby::checkFailed(const QString &reason)
{
    const JoinCheck::Failure failure = check_->failure();
    const bool unreachable = failure == JoinCheck::Failure::Refused || failure == JoinCheck::Failure::Silent
        || failure == JoinCheck::Failure::Unreachable;
    const bool throughRouters = internetJoin_ && unreachable && !icePeer_.isEmpty();
    if (throughRouters && !iceFailure_.isEmpty()) {
        iceFailed(iceFailure_);
        return;
    }
    if (throughRouters && community_->isInRoom()) {
        iceHeadStart_.stop();
        if (joiner_->isRunning())
            setStatus(
                QStringLiteral("The host's network does not accept connections from the internet: connecting "
                               "through the routers\u2026"));
        else
            startIce();
        return;
    }
    iceHeadStart_.stop();
    joiner_->cancel();
    setState(State::Idle);
    setStatus(internetJoin_ && unreachable
            ? QStringLiteral("The host's network does not accept connections from the internet. %1")
                  .arg(reason)
            : reason,
        true);
}

void Lobby::iceGreeting(const QByteArray &bytes)
{
    if (state_ != State::Checking)
        return;
    switch (JoinCheck::classify(bytes)) {
    case JoinCheck::Greeting::Incomplete:
        return;
    case JoinCheck::Greeting::Host: {
        check_->cancel();
        settings_->addRecentHost(joining_);
        Q_EMIT recentHostsChanged();
        setState(State::Idle);
        connection_ = IcePath::words(joiner_->path());
        const QString local
            = GameAddress::format(GameCommandLine::loopback, joiner_->localPort(), setup_.gamePort);
        launch(GameCommandLine::join(playerName(), local).arguments());
        if (state_ != State::Playing)
            joiner_->cancel();
        return;
    }
    case JoinCheck::Greeting::Full:
        stopJoining(QStringLiteral("The game at %1 is full.").arg(joining_));
        return;
    case JoinCheck::Greeting::NotAGame:
        stopJoining(QStringLiteral("%1 answered, but not as a Wendlewick game.").arg(joining_));
        return;
    }
}

void Lobby::iceFailed(const QString &reason)
{
    // The look may still find the host: its verdict comes first.
    if (check_->isRunning()) {
        iceFailure_ = reason;
        return;
    }
    stopJoining(QStringLiteral("The host's network does not accept connections from the internet, and %1.")
                    .arg(reason));
}

void Lobby::stopJoining(const QString &text, bool problem)
{
    if (state_ != State::Checking)
        return;
    check_->cancel();
    iceHeadStart_.stop();
    joiner_->cancel();
    setState(State::Idle);
    setStatus(text, problem);
}
