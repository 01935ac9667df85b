// The lobby without its window: settings, what may go on the game's command line, the
// look before joining, the result of the last game, and starting the game.
#include "communitylobby.h"
#include "companionlistener.h"
#include "fakelauncher.h"
#include "gamelistmodel.h"
#include "joincheck.h"
#include "lastgame.h"
#include "lobby.h"
#include "lobbysettings.h"
#include "processlauncher.h"
#include "processmarker.h"
#include "profilefile.h"
#include "tallyfile.h"
#include "tallylist.h"
#include "tallytable.h"
#include "wire.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

void writeTally(const QString &folder, int games, int wins)
{
    TallyTable table;
    table.setCell(TallyList::totalGames, 0, QString::number(games));
    table.setCell(TallyList::yourWins, 0, QString::number(wins));
    QVERIFY(TallyFile(folder).save(table));
}

// A server that greets each connection with `greeting`, or closes it at once when the
// greeting is "close", or says nothing when it is empty.
class Greeter : public QTcpServer
{
public:
    explicit Greeter(const QByteArray &greeting)
    {
        connect(this, &QTcpServer::newConnection, this, [this, greeting] {
            while (QTcpSocket *s = nextPendingConnection()) {
                if (greeting == "close")
                    s->close();
                else
                    s->write(greeting);
            }
        });
    }
};

} // namespace

class TestLobbyLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void settingsKeepTheNameAndRecentHostsInTheirOwnSection();
    void commandLineTextIsChecked_data();
    void commandLineTextIsChecked();
    void theLastGamesResultComesFromTheTally_data();
    void theLastGamesResultComesFromTheTally();
    void tallyTotalsAreReadWithoutTouchingTheFile();
    void theLookBeforeJoiningTellsWhatIsThere_data();
    void theLookBeforeJoiningTellsWhatIsThere();
    void theLobbyWaitsForTheGameItStarted_data();
    void theLobbyWaitsForTheGameItStarted();
    void whatCannotStartIsSaidInTheStatus();
    void aGameLinkJoinsOnlyAnAddress_data();
    void aGameLinkJoinsOnlyAnAddress();
    void theGameIsFoundOnThePathAndWatchedUntilItEnds();
    void theWayThroughTheRoutersIsOfferedToTheChosenHost_data();
    void theWayThroughTheRoutersIsOfferedToTheChosenHost();
    void aLostGameIsRejoinedWhileItsSeatIsKept_data();
    void aLostGameIsRejoinedWhileItsSeatIsKept();

private:
    std::unique_ptr<Lobby> makeLobby();

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeLauncher> launcher_;
};

void TestLobbyLogic::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    launcher_ = std::make_unique<FakeLauncher>();
}

void TestLobbyLogic::cleanup()
{
    launcher_.reset();
    dir_.reset();
}

std::unique_ptr<Lobby> TestLobbyLogic::makeLobby()
{
    Lobby::Setup setup;
    setup.settingsPath = dir_->filePath(QStringLiteral("orinlobby.ini"));
    setup.tallyFolder = dir_->path();
    setup.markerFolder = dir_->path();
    setup.companionPort = 0;
    setup.discovery = DiscoveryConfig::loopback();
    setup.launcher = launcher_.get();
    setup.markerPollMs = 20;
    return std::make_unique<Lobby>(setup);
}

void TestLobbyLogic::settingsKeepTheNameAndRecentHostsInTheirOwnSection()
{
    const QString path = dir_->filePath(QStringLiteral("orinlobby.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Wendlewick]\r\nTop=3\r\n");
    file.close();

    LobbySettings settings(path);
    QVERIFY(settings.setName(QString(40, QLatin1Char('n'))));
    QCOMPARE(settings.name(), QString(LobbySettings::maxNameLength, QLatin1Char('n')));
    for (int i = 1; i <= 10; ++i)
        QVERIFY(settings.addRecentHost(QStringLiteral("host%1").arg(i)));
    QVERIFY(settings.addRecentHost(QStringLiteral("HOST5")));
    const QStringList hosts = settings.recentHosts();
    QCOMPARE(hosts.size(), LobbySettings::maxRecentHosts);
    QCOMPARE(hosts.first(), QStringLiteral("HOST5"));
    QCOMPARE(hosts.mid(1, 2), (QStringList {QStringLiteral("host10"), QStringLiteral("host9")}));
    QCOMPARE(hosts.filter(QStringLiteral("host5"), Qt::CaseInsensitive).size(), 1);
    QCOMPARE(ProfileFile(path).readString(QStringLiteral("Wendlewick"), QStringLiteral("Top")),
        QStringLiteral("3"));
}

void TestLobbyLogic::commandLineTextIsChecked_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("nameTaken");
    QTest::addColumn<bool>("addressTaken");
    QTest::newRow("plain") << "Anna"
                           << "192.168.1.20" << true << true;
    QTest::newRow("a name with blanks, a host name") << "Anna Lee"
                                                     << "bens-laptop.local" << true << true;
    QTest::newRow("blank") << "   "
                           << "  " << false << false;
    // The game would read these as options of its own.
    QTest::newRow("leading dash") << "-style"
                                  << "-platform" << false << false;
    QTest::newRow("blank inside an address") << "Anna"
                                             << "192.168 1.20" << true << false;
}

void TestLobbyLogic::commandLineTextIsChecked()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(bool, nameTaken);
    QFETCH(bool, addressTaken);
    QCOMPARE(Lobby::nameProblem(name).isEmpty(), nameTaken);
    QCOMPARE(Lobby::addressProblem(address).isEmpty(), addressTaken);
}

void TestLobbyLogic::theLastGamesResultComesFromTheTally_data()
{
    QTest::addColumn<int>("gamesBefore");
    QTest::addColumn<int>("winsBefore");
    QTest::addColumn<int>("gamesAfter");
    QTest::addColumn<int>("winsAfter");
    QTest::addColumn<QString>("result");
    QTest::newRow("won") << 4 << 1 << 5 << 2 << "The game has ended: you won!";
    QTest::newRow("lost") << 4 << 1 << 5 << 1
                          << "The game has ended: you played one game and someone else won it.";
    QTest::newRow("several") << 0 << 0 << 3 << 2 << "The game has ended: you played 3 games and won 2.";
    QTest::newRow("none counted") << 4 << 1 << 4 << 1 << "The game has ended.";
    QTest::newRow("tally reset meanwhile") << 4 << 1 << 1 << 0 << "The game has ended.";
    QTest::newRow("unreadable") << -1 << 0 << 5 << 2 << "The game has ended.";
}

void TestLobbyLogic::theLastGamesResultComesFromTheTally()
{
    QFETCH(int, gamesBefore);
    QFETCH(int, winsBefore);
    QFETCH(int, gamesAfter);
    QFETCH(int, winsAfter);
    QFETCH(QString, result);
    const auto before
        = gamesBefore < 0 ? std::nullopt : std::optional<LastGame::Totals>({gamesBefore, winsBefore});
    QCOMPARE(LastGame::result(before, LastGame::Totals {gamesAfter, winsAfter}), result);
}

void TestLobbyLogic::tallyTotalsAreReadWithoutTouchingTheFile()
{
    const auto none = LastGame::read(dir_->path());
    QVERIFY(none && none->games == 0 && none->wins == 0);
    writeTally(dir_->path(), 7, 3);
    const auto totals = LastGame::read(dir_->path());
    QVERIFY(totals && totals->games == 7 && totals->wins == 3);

    const QString path = TallyFile(dir_->path()).filePath();
    QFile damaged(path);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("WRZL\x10\0\0\0garbage", 15);
    damaged.close();
    QVERIFY(!LastGame::read(dir_->path()));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 1);
    QVERIFY(QFile::exists(path));
}

void TestLobbyLogic::theLookBeforeJoiningTellsWhatIsThere_data()
{
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("outcome");
    const QByteArray ff(1, Wire::terminator);
    QTest::newRow("a host") << Wire::ToPlayer::sendlogininfo(3) << "127.0.0.1"
                            << "passed 127.0.0.1";
    QTest::newRow("a host by name") << Wire::ToPlayer::sendlogininfo(1) << "localhost"
                                    << "passed 127.0.0.1";
    QTest::newRow("a full game") << Wire::ToPlayer::full() << "127.0.0.1"
                                 << "The game at 127.0.0.1 is full.";
    QTest::newRow("a web server") << QByteArray("HTTP/1.1 400 Bad Request\r\n\r\n") << "127.0.0.1"
                                  << "127.0.0.1 answered, but not as a Wendlewick game.";
    QTest::newRow("a command word run on") << QByteArray("CMD_sendlogininfoX+1") + ff << "127.0.0.1"
                                           << "127.0.0.1 answered, but not as a Wendlewick game.";
    QTest::newRow("silence") << QByteArray() << "127.0.0.1"
                             << "127.0.0.1 answered, but not as a Wendlewick game.";
    QTest::newRow("closed at once") << QByteArray("close") << "127.0.0.1"
                                    << "127.0.0.1 closed the connection without a word.";
    QTest::newRow("nobody listening") << QByteArray("refuse") << "127.0.0.1"
                                      << "Nobody is hosting a game at 127.0.0.1.";
}

void TestLobbyLogic::theLookBeforeJoiningTellsWhatIsThere()
{
    QFETCH(QByteArray, greeting);
    QFETCH(QString, address);
    QFETCH(QString, outcome);
    Greeter server(greeting);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    const quint16 port = server.serverPort();
    if (greeting == "refuse")
        server.close();

    JoinCheck check(port);
    check.setTiming({5000, 5000, 200});
    QString seen;
    connect(&check, &JoinCheck::passed, this,
        [&seen](const QString &a) { seen = QStringLiteral("passed ") + a; });
    connect(&check, &JoinCheck::failed, this, [&seen](const QString &reason) { seen = reason; });
    check.start(address);
    QTRY_VERIFY(!check.isRunning());
    QCOMPARE(seen, outcome);
}

void TestLobbyLogic::theLobbyWaitsForTheGameItStarted_data()
{
    QTest::addColumn<bool>("solo");
    QTest::addColumn<bool>("companion");
    QTest::addColumn<QByteArray>("said"); // on the companion connection, before it closes
    QTest::addColumn<bool>("processFirst"); // the process is seen to end before the close
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("problem");
    const QString won = QStringLiteral("The game has ended: you won!");
    QTest::newRow("host, the companion connection closes")
        << false << true << QByteArray() << false << won << false;
    QTest::newRow("host, the process ends") << false << false << QByteArray() << false << won << false;
    QTest::newRow("solo, the process ends") << true << false << QByteArray() << false << won << false;
    QTest::newRow("an earlier game's bytes")
        << false << true << QByteArray("anything at all") << false << won << false;
    QTest::newRow("the host closed it")
        << false << true << QByteArray("WWC/1 ended host-closed\n") << false
        << "The host closed the game. You played one game and won it." << false;
    QTest::newRow("removed, the process seen to end first")
        << false << true << QByteArray("WWC/1 ended removed\n") << true
        << "The host removed you from the game." << true;
    QTest::newRow("full") << false << true << QByteArray("WWC/1 ended full\n") << false
                          << "The game was full: every place in it was taken." << true;
    QTest::newRow("lost") << false << true << QByteArray("WWC/1 ended lost\n") << true
                          << "The connection to the game was lost. You played one game and won it." << true;
    QTest::newRow("a reason this lobby does not know")
        << false << true << QByteArray("WWC/1 ended bored\n") << false << won << false;
}

void TestLobbyLogic::theLobbyWaitsForTheGameItStarted()
{
    QFETCH(bool, solo);
    QFETCH(bool, companion);
    QFETCH(QByteArray, said);
    QFETCH(bool, processFirst);
    QFETCH(QString, status);
    QFETCH(bool, problem);
    writeTally(dir_->path(), 4, 1);
    auto lobby = makeLobby();
    lobby->setPlayerName(QStringLiteral("Anna"));
    QSignalSpy started(lobby.get(), &Lobby::gameStarted);
    QSignalSpy ended(lobby.get(), &Lobby::gameEnded);

    solo ? lobby->playSolo() : lobby->hostGame();
    QCOMPARE(started.size(), 1);
    QCOMPARE(lobby->state(), Lobby::State::Playing);
    QCOMPARE(launcher_->started.value(0), solo ? QStringList() : QStringList({"Anna", "127.0.0.1", "true"}));

    writeTally(dir_->path(), 5, 2);
    if (companion) {
        QTcpSocket game;
        game.connectToHost(QHostAddress::LocalHost, lobby->companion()->port());
        QVERIFY(game.waitForConnected(5000));
        QTRY_COMPARE(lobby->companion()->connections(), 1);
        if (!said.isEmpty()) {
            game.write(said);
            QVERIFY(game.waitForBytesWritten(5000));
        }
        if (processFirst) {
            launcher_->end();
            QCOMPARE(ended.size(), 0);
        }
        game.disconnectFromHost();
    } else {
        launcher_->end();
    }
    QTRY_COMPARE(ended.size(), 1);
    QCOMPARE(lobby->state(), Lobby::State::Idle);
    QCOMPARE(lobby->status(), status);
    QCOMPARE(lobby->statusIsProblem(), problem);
    // The second word of the same end changes nothing.
    launcher_->end();
    QCOMPARE(ended.size(), 1);
}

void TestLobbyLogic::whatCannotStartIsSaidInTheStatus()
{
    auto lobby = makeLobby();
    QSignalSpy started(lobby.get(), &Lobby::gameStarted);

    lobby->hostGame();
    QCOMPARE(lobby->status(), QStringLiteral("Type your name first."));
    QVERIFY(lobby->statusIsProblem());

    lobby->setPlayerName(QStringLiteral("Anna"));

    launcher_->startSucceeds = false;
    lobby->playSolo();
    QCOMPARE(lobby->status(), QStringLiteral("The game could not be started: no game here."));

    launcher_->startSucceeds = true;
    {
        ProcessMarker running(ProcessMarker::defaultName, dir_->path());
        QVERIFY(running.isHeld());
        lobby->hostGame();
        QCOMPARE(lobby->status(),
            QStringLiteral("A game is already running: finish it before you start another."));
        QVERIFY(lobby->statusIsProblem());
    }
    // The notice goes with the game it was about.
    QTRY_VERIFY(lobby->status().isEmpty());
    QVERIFY(!lobby->statusIsProblem());
    QCOMPARE(started.size(), 0);
    lobby->hostGame();
    QCOMPARE(started.size(), 1);
    // A link handed over while the game runs is not dropped silently.
    lobby->openLink(QStringLiteral("wendlewick://192.0.2.5:7780"));
    QCOMPARE(
        lobby->status(), QStringLiteral("A game is already running: finish it before you join another."));
    QVERIFY(lobby->statusIsProblem());
    QCOMPARE(started.size(), 1);
}

void TestLobbyLogic::aGameLinkJoinsOnlyAnAddress_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("status");
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const QString port = QString::number(closed.serverPort());
    QTest::newRow("an option") << "wendlewick://--help"
                               << QStringLiteral(
                                      "This link cannot be opened: \u201c--help\u201d is neither a name "
                                      "nor an address.");
    QTest::newRow("more than an address")
        << "wendlewick://host/?name=x"
        << "This link cannot be opened: a game link holds only an address and a "
           "port.";
    QTest::newRow("nobody there")
        << "wendlewick://127.0.0.1:" + port
        << "The host's network does not accept connections from the internet. Nobody is "
           "hosting a game at 127.0.0.1:"
            + port + ".";
}

void TestLobbyLogic::aGameLinkJoinsOnlyAnAddress()
{
    QFETCH(QString, link);
    QFETCH(QString, status);
    auto lobby = makeLobby();
    lobby->setPlayerName(QStringLiteral("Ben"));
    lobby->openLink(link);
    QTRY_COMPARE(lobby->state(), Lobby::State::Idle);
    QCOMPARE(lobby->status(), status);
    QVERIFY(lobby->statusIsProblem());
    QVERIFY(launcher_->started.isEmpty());
}

void TestLobbyLogic::theGameIsFoundOnThePathAndWatchedUntilItEnds()
{
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir_->path().toUtf8());
    ProcessLauncher launcher;
    QString error;
    const bool startedWithout = launcher.start({}, {}, &error);

    // A stand-in for the game that notes its arguments and ends at once.
    QFile game(dir_->filePath(QStringLiteral("wendlewick")));
    QVERIFY(game.open(QIODevice::WriteOnly));
    game.write("#!/bin/sh\necho \"$@\" \"$WENDLEWICK_REJOIN\" > \"$0.args\"\n");
    game.close();
    QVERIFY(game.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    QSignalSpy ended(&launcher, &GameLauncher::ended);
    const bool started = launcher.start({"Anna", "127.0.0.1", "true"}, {"WENDLEWICK_REJOIN=1"}, &error);
    qputenv("PATH", path);

    QVERIFY(!startedWithout);
    QVERIFY(started);
    QVERIFY(ended.wait(10000));
    QFile args(game.fileName() + QStringLiteral(".args"));
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(args.readAll(), QByteArray("Anna 127.0.0.1 true 1\n"));
}

void TestLobbyLogic::theWayThroughTheRoutersIsOfferedToTheChosenHost_data()
{
    // Ann and Ben host behind one carrier NAT (127.0.0.2 here), Cy elsewhere (127.0.0.3).
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("link"); // else chosen in the list
    QTest::addColumn<QString>("key"); // the game chosen, or the link's inviter
    QTest::addColumn<QString>("peer"); // whom the offer would go to; "refused": nobody
    QTest::newRow("the second of two at one address, chosen") << "127.0.0.2" << false << "Ben"
                                                              << "Ben";
    QTest::newRow("the first of two at one address, chosen") << "127.0.0.2" << false << "Ann"
                                                             << "Ann";
    QTest::newRow("the chosen game is gone, another is there") << "127.0.0.3" << false << "Dee"
                                                               << "";
    QTest::newRow("an invitation from the second of two") << "127.0.0.2" << true << "Ben"
                                                          << "Ben";
    QTest::newRow("a link from nobody, two games there") << "127.0.0.2" << true << ""
                                                         << "refused";
    QTest::newRow("a link from nobody, one game there") << "127.0.0.3" << true << ""
                                                        << "Cy";
    QTest::newRow("an invitation whose game is not there") << "127.0.0.3" << true << "Ann"
                                                           << "Cy";
}

void TestLobbyLogic::theWayThroughTheRoutersIsOfferedToTheChosenHost()
{
    QFETCH(QString, address);
    QFETCH(bool, link);
    QFETCH(QString, key);
    QFETCH(QString, peer);
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
    const quint16 port = taken.serverPort();
    auto lobby = makeLobby();
    lobby->setPlayerName(QStringLiteral("Eve"));
    for (const auto &[nick, at] : {std::pair {"Ann", "127.0.0.2"}, {"Ben", "127.0.0.2"}, {"Cy", "127.0.0.3"}})
        lobby->community()->games()->put(QString::fromLatin1(nick),
            {{}, QString::fromLatin1(at), port, QStringLiteral("%1 on lobby.test").arg(nick), true});
    if (link)
        lobby->openLink(QStringLiteral("wendlewick://%1:%2").arg(address).arg(port), key);
    else
        lobby->join(address, port, true, key);
    if (peer == QLatin1String("refused")) {
        QCOMPARE(lobby->state(), Lobby::State::Idle);
        QCOMPARE(lobby->status(),
            QStringLiteral(
                "Several games on the internet are at %1:%2: choose the one to join in the list of "
                "games on the internet.")
                .arg(address)
                .arg(port));
        QVERIFY(lobby->statusIsProblem());
        return;
    }
    QCOMPARE(lobby->state(), Lobby::State::Checking);
    QCOMPARE(lobby->icePeer(), peer);
    lobby->cancel();
}

void TestLobbyLogic::aLostGameIsRejoinedWhileItsSeatIsKept_data()
{
    QTest::addColumn<bool>("joined");
    QTest::addColumn<QByteArray>("said");
    QTest::addColumn<bool>("offered");
    QTest::newRow("joined, the seat kept") << true << QByteArray("WWC/1 ended lost rejoin 1\n") << true;
    QTest::newRow("joined, lost for good") << true << QByteArray("WWC/1 ended lost\n") << false;
    QTest::newRow("joined, the host closed it") << true << QByteArray("WWC/1 ended host-closed\n") << false;
    QTest::newRow("hosted") << false << QByteArray("WWC/1 ended lost rejoin 1\n") << false;
}

void TestLobbyLogic::aLostGameIsRejoinedWhileItsSeatIsKept()
{
    QFETCH(bool, joined);
    QFETCH(QByteArray, said);
    QFETCH(bool, offered);
    Greeter host(Wire::ToPlayer::sendlogininfo(2));
    QVERIFY(host.listen(QHostAddress::LocalHost, 0));
    auto lobby = makeLobby();
    lobby->setPlayerName(QStringLiteral("Anna"));
    QSignalSpy offers(lobby.get(), &Lobby::rejoinChanged);
    if (joined)
        lobby->join(QStringLiteral("127.0.0.1"), host.serverPort());
    else
        lobby->hostGame();
    QTRY_COMPARE(lobby->state(), Lobby::State::Playing);
    const QStringList arguments = launcher_->started.value(0);

    QTcpSocket game;
    game.connectToHost(QHostAddress::LocalHost, lobby->companion()->port());
    QVERIFY(game.waitForConnected(5000));
    QTRY_COMPARE(lobby->companion()->connections(), 1);
    game.write(said);
    QVERIFY(game.waitForBytesWritten(5000));
    game.disconnectFromHost();
    QTRY_COMPARE(lobby->state(), Lobby::State::Idle);
    QCOMPARE(lobby->canRejoin(), offered);
    if (!offered)
        return;
    QCOMPARE(offers.count(), 1);
    lobby->rejoin();
    QCOMPARE(launcher_->started.value(1), arguments);
    QCOMPARE(launcher_->environments.value(1), QStringList {"WENDLEWICK_REJOIN=1"});
    QVERIFY(!lobby->canRejoin());

    // Once the host gives the seat up, no more.
    launcher_->end();
    QTRY_COMPARE(lobby->state(), Lobby::State::Idle);
    QVERIFY(!lobby->canRejoin());
}

QTEST_GUILESS_MAIN(TestLobbyLogic)
#include "tst_lobbylogic.moc"
