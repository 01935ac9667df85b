// The player's real window after its connection dropped: it says so, tries again and
// comes back to its seat with its score, board, clock and words; it tells the host
// player's window that it is away; a host player's own drop; giving up hands the seat
// to the lobby's "Rejoin"; a refusal or the end of the grace period closes it with a
// sentence; a host that cannot take players back ends the game as it always did.
#include "boardmodel.h"
#include "clientdispatch.h"
#include "dropproxy.h"
#include "fakehostenvironment.h"
#include "fakeshell.h"
#include "fieldreader.h"
#include "gameoptions.h"
#include "gamesession.h"
#include "hostconnection.h"
#include "hostheartbeat.h"
#include "playarea.h"
#include "reconnectnotice.h"
#include "recordingsoundplayer.h"
#include "rejoinrecord.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "scriptedhost.h"
#include "tchat.h"
#include "tserver.h"
#include "windowsetup.h"
#include "wire.h"
#include "wordentry.h"
#include "wordresults.h"
#include "wordspanel.h"

#include <QAccessible>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The 4 by 4 board the host deals, rows 3 to 6: C A T S / D O G E / L I M B / U N K Y.
const QByteArray boardRows = "catsdogelimbunky";
const QList<Wire::Tile> cat {{3, 3}, {3, 4}, {3, 5}};

} // namespace

class TestReconnect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void theWindowComesBackToItsSeat();
    void theHostPlayersOwnWindowComesBack();
    void givingUpLeavesTheSeatForTheLobbysRejoin();
    void aReturnThatFailsClosesWithASentence_data();
    void aReturnThatFailsClosesWithASentence();
    void aHostThatCannotTakePlayersBackEndsTheGameAsBefore();
    void outagesWithoutAWordAreNoticedAndOutlasted_data();
    void outagesWithoutAWordAreNoticedAndOutlasted();
    void aHostThatEndsTheGameMidGameIsNotRetried_data();
    void aHostThatEndsTheGameMidGameIsNotRetried();
    void aDropBetweenGamesEndsQuietlyWhenRefused();
    void cutsAtRandomMomentsLeaveEveryoneInTheirSeats();

private:
    std::unique_ptr<Tchat> makeChat(const QStringList &arguments, quint16 port, QTemporaryDir &dir,
        bool rejoin = false, int secondLength = 1000);
    // Ann hosts (slot 1), Bob joins through the relay (slot 2), and a game of 90-second
    // rounds on a 4x4 board with three letters minimum runs; Bob has one word. Only the
    // joining without `play`.
    bool startGame(bool play = true);

    RecordingSoundPlayer sounds_;
    FakeShell shell_;
    std::unique_ptr<QTemporaryDir> annDir_;
    std::unique_ptr<QTemporaryDir> bobDir_;
    std::unique_ptr<QTcpServer> companion_;
    std::unique_ptr<DropProxy> proxy_;
    std::unique_ptr<Tchat> ann_;
    std::unique_ptr<Tchat> bob_;
    int heartbeatMs_ = 3000;
    int silenceMs_ = 10000;
};

void TestReconnect::initTestCase()
{
    static QTemporaryDir data;
    QVERIFY(data.isValid());
    qputenv("WENDLEWICK_DATA_DIR", data.path().toLocal8Bit());
}

void TestReconnect::init()
{
    bob_.reset();
    ann_.reset();
    annDir_ = std::make_unique<QTemporaryDir>();
    bobDir_ = std::make_unique<QTemporaryDir>();
    companion_ = std::make_unique<QTcpServer>();
    QVERIFY(companion_->listen(QHostAddress::LocalHost, 0));
    proxy_ = std::make_unique<DropProxy>();
    heartbeatMs_ = 3000;
    silenceMs_ = 10000;
}

std::unique_ptr<Tchat> TestReconnect::makeChat(
    const QStringList &arguments, quint16 port, QTemporaryDir &dir, bool rejoin, int secondLength)
{
    Tchat::Setup setup = windowSetup(dir.path());
    setup.arguments = arguments;
    setup.gamePort = port;
    setup.listenAddress = QHostAddress::LocalHost;
    setup.companionPort = companion_->serverPort();
    setup.draw = ScriptedDraw(boardRows).draw();
    setup.soundPlayer = &sounds_;
    setup.shell = &shell_;
    setup.reconnectFirstWaitMs = 20;
    setup.reconnectLongestWaitMs = 100;
    setup.rejoin = rejoin;
    setup.secondLength = secondLength;
    setup.heartbeatIntervalMs = heartbeatMs_;
    setup.heartbeatSilenceMs = silenceMs_;
    auto chat = std::make_unique<Tchat>(setup);
    chat->show();
    return chat;
}

bool TestReconnect::startGame(bool play)
{
    ann_
        = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("true")}, 0, *annDir_);
    if (!QTest::qWaitFor([&] { return ann_->state().isconnected && ann_->roster()->row(1).name == "Ann"; }))
        return false;
    proxy_->start(ann_->server()->port());
    bob_ = makeChat({QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        proxy_->port(), *bobDir_);
    if (!QTest::qWaitFor(
            [&] { return bob_->reconnector()->ticket() && ann_->roster()->row(2).name == "Bob"; }))
        return false;
    if (!play)
        return true;
    GameOptions options;
    options.playToScore = 100;
    options.roundTime = 90;
    options.sizeCode = 4;
    options.minLetters = 3;
    ann_->dispatch()->startgame(options);
    if (!QTest::qWaitFor([&] { return bob_->wordEntry()->entryOpen(); }))
        return false;
    bob_->dispatch()->playerdone(cat);
    return QTest::qWaitFor([&] { return bob_->wordResults()->count() == 1; });
}

void TestReconnect::theWindowComesBackToItsSeat()
{
    QVERIFY(startGame());
    TServer *server = ann_->server();
    const int words = 1;
    QSignalSpy closed(bob_.get(), &Tchat::closed);

    proxy_->pause();
    ReconnectNotice *notice = bob_->reconnectNotice();
    QTRY_VERIFY(notice->isVisible());
    QCOMPARE(notice->label_reconnect->text(), QStringLiteral("Connection lost \u2014 reconnecting\u2026"));
    QCOMPARE(bob_->findChild<QLabel *>(QStringLiteral("label_reconnect")), notice->label_reconnect);
    QVERIFY(notice->label_reconnectdetail->text().contains(QStringLiteral("Your place is kept for")));
    QCOMPARE(notice->button_giveup->accessibleName(), QStringLiteral("Give Up"));
    QVERIFY(!bob_->wordEntry()->entryOpen());
    QTRY_VERIFY(server->slot(2).away);
    QTRY_VERIFY(ann_->roster()->row(2).away);
    QVERIFY(ann_->rosterView()->name(2)->font().italic());
    QCOMPARE(ann_->rosterView()->name(2)->text(), QStringLiteral("Bob"));
    QTRY_VERIFY(bob_->reconnector()->attempts() >= 2);

    QVERIFY(proxy_->resume());
    QTRY_VERIFY(!notice->isVisible());
    QVERIFY(closed.isEmpty());
    QCOMPARE(bob_->state().myslot, 2);
    QTRY_VERIFY(!ann_->roster()->row(2).away);
    QCOMPARE(bob_->rosterView()->score(2)->text(), QString::number(server->slot(2).gameScore));
    QCOMPARE(bob_->roster()->row(1).name, QStringLiteral("Ann"));
    for (int row = 3; row <= 6; ++row)
        for (int col = 3; col <= 6; ++col)
            QCOMPARE(bob_->boardModel()->realboard()[size_t(row)][size_t(col)],
                server->board()[size_t(row)][size_t(col)]);
    QVERIFY(qAbs(bob_->state().secondsleft - (server->countdown() - 5)) <= 1);
    QVERIFY(bob_->wordEntry()->entryOpen());
    QCOMPARE(bob_->wordResults()->count(), words);
    QCOMPARE(bob_->wordsPanel()->foundLabel()->text(), WordResults::countText(words));
    // Chat goes on both ways.
    bob_->dispatch()->sendMessage(
        QStringLiteral("CMD_chat"), {QStringLiteral("2"), QStringLiteral("back|clRed")});
    QTRY_VERIFY(ann_->session()->state().isconnected && !ann_->roster()->row(2).away);
}

void TestReconnect::theHostPlayersOwnWindowComesBack()
{
    QVERIFY(startGame());
    // The host player's own loopback connection fails: the game goes on for everyone.
    ann_->connection()->sock()->Close();
    QTRY_VERIFY(!ann_->reconnectNotice()->isVisible() && ann_->server()->slot(1).socket
        && !ann_->server()->slot(1).returning && ann_->reconnector()->attempts() >= 1);
    QCOMPARE(ann_->state().myslot, 1);
    QCOMPARE(ann_->server()->phase(), int(TServer::RoundRunning));
    QVERIFY(ann_->wordEntry()->entryOpen());
    QVERIFY(bob_->isVisible());
}

void TestReconnect::givingUpLeavesTheSeatForTheLobbysRejoin()
{
    QVERIFY(startGame());
    const QByteArray token = Wire::tokenText(bob_->reconnector()->ticket()->token);
    proxy_->pause();
    QTRY_VERIFY(bob_->reconnectNotice()->isVisible());
    QSignalSpy closed(bob_.get(), &Tchat::closed);
    QTest::mouseClick(bob_->reconnectNotice()->button_giveup, Qt::LeftButton);
    QTRY_COMPARE(closed.count(), 1);

    // The lobby hears that the seat is kept a while.
    QTcpSocket *lobby = nullptr;
    while (companion_->hasPendingConnections())
        lobby = companion_->nextPendingConnection();
    QVERIFY(lobby);
    QTRY_VERIFY(lobby->bytesAvailable() > 0 || lobby->state() != QAbstractSocket::ConnectedState);
    const QByteArray line = lobby->readAll();
    QVERIFY2(line.startsWith("WWC/1 ended lost rejoin "), line);
    // The token waits where only this user may read it.
    const QString record = RejoinRecord::path(bobDir_->path());
    QVERIFY(QFileInfo::exists(record));
    QCOMPARE(QFileInfo(record).permissions() & 0x0777, QFileDevice::ReadUser | QFileDevice::WriteUser);
    QVERIFY(!line.contains(token));
    QVERIFY(ann_->server()->slot(2).away);

    // The lobby starts the game again to rejoin: it comes back to the same seat.
    bob_.reset();
    QVERIFY(proxy_->resume());
    bob_ = makeChat({QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        proxy_->port(), *bobDir_, true);
    QTRY_VERIFY(!ann_->server()->slot(2).away && !ann_->server()->slot(2).returning);
    QTRY_VERIFY(!bob_->reconnectNotice()->isVisible());
    QCOMPARE(bob_->state().myslot, 2);
    QCOMPARE(bob_->roster()->row(2).name, QStringLiteral("Bob"));
    QCOMPARE(bob_->roster()->row(1).name, QStringLiteral("Ann"));
    QVERIFY(bob_->wordEntry()->entryOpen());
    QVERIFY(!QFileInfo::exists(record));
}

void TestReconnect::aReturnThatFailsClosesWithASentence_data()
{
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("the host gave the seat up")
        << true << "The game did not keep your place: the host no longer holds it for you.";
    QTest::newRow("the grace period is over")
        << false
        << "The connection to the game could not be made again in time: the game went on without you.";
}

void TestReconnect::aReturnThatFailsClosesWithASentence()
{
    QFETCH(bool, refused);
    QFETCH(QString, sentence);
    QVERIFY(startGame());
    // Bob counts the grace period from his own token: a second for the second row.
    if (!refused) {
        Wire::FromHost::RejoinTicket ticket = *bob_->reconnector()->ticket();
        ticket.graceSeconds = 1;
        bob_->reconnector()->setTicket(ticket);
    }
    proxy_->pause();
    QTRY_VERIFY(ann_->server()->slot(2).away);
    if (refused) {
        ann_->server()->graceOver(2);
        QVERIFY(proxy_->resume());
    }
    QSignalSpy closed(bob_.get(), &Tchat::closed);
    QMessageBox *box = nullptr;
    QTRY_VERIFY((box = bob_->findChild<QMessageBox *>(QStringLiteral("connectionLostBox"))));
    QCOMPARE(box->text(), sentence);
    QVERIFY(closed.isEmpty());
    box->accept();
    QTRY_COMPARE(closed.count(), 1);
}

void TestReconnect::aHostThatCannotTakePlayersBackEndsTheGameAsBefore()
{
    ScriptedHost host;
    QVERIFY(host.start());
    bob_ = makeChat({QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        host.serverPort(), *bobDir_);
    QVERIFY(host.waitForPlayer());
    host.player().send("CMD_sendlogininfo+2");
    // The offer goes first, and such a host ignores it.
    QCOMPARE(host.player().next(), QByteArray("CMD_canrejoin+2+1+"));
    QVERIFY(!host.player().waitFor("CMD_logininfo").isEmpty());
    host.player().send("CMD_newplayerinfo+2+Bob+0");
    host.player().send("CMD_startgame+Ann+100+60+4+3+0+");
    QTRY_VERIFY(bob_->state().gameRunning);
    QSignalSpy closed(bob_.get(), &Tchat::closed);
    host.player().close();
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(!bob_->reconnectNotice()->isVisible());
    QCOMPARE(bob_->reconnector()->attempts(), 0);
}

void TestReconnect::outagesWithoutAWordAreNoticedAndOutlasted_data()
{
    QTest::addColumn<QString>("outage");
    // Nothing passes and nothing closes: only the silence tells, on both sides.
    QTest::newRow("mid-round") << "blackhole";
    // The game's start is lost on the way: the host holds the seat of a window that has
    // no game yet.
    QTest::newRow("the game's start lost") << "start lost";
    // The connection is cut and new ones go unanswered: attempts follow one another
    // without waiting out a whole attempt's time.
    QTest::newRow("dropped connects") << "no answer";
}

void TestReconnect::outagesWithoutAWordAreNoticedAndOutlasted()
{
    QFETCH(QString, outage);
    heartbeatMs_ = 100;
    silenceMs_ = 1500;
    const bool startLost = outage == "start lost";
    QVERIFY(startGame(!startLost));
    TServer *server = ann_->server();
    QSignalSpy closed(bob_.get(), &Tchat::closed);
    // An attempt that connects waits long for its answer.
    bob_->reconnector()->setTiming({20, 100, 60000, 1000});
    // Each side has shown the other that it says it is there.
    QTRY_VERIFY(server->slot(2).beats && bob_->heartbeat()->hostBeats());
    QSignalSpy waits(bob_->reconnector(), &Reconnector::waiting);
    if (outage == "no answer") {
        QVERIFY(proxy_->dropNewConnections());
        QTRY_VERIFY_WITH_TIMEOUT(bob_->reconnector()->attempts() >= 3, 15000);
        // Each unanswered connect waited out more than a step: the next one starts at once.
        for (const QList<QVariant> &wait : waits)
            QCOMPARE(wait.at(0).toInt(), 0);
    } else {
        proxy_->blackhole();
        if (startLost) {
            GameOptions options;
            options.sizeCode = 4;
            options.minLetters = 3;
            ann_->dispatch()->startgame(options);
        }
        QTRY_VERIFY_WITH_TIMEOUT(server->slot(2).away && ann_->roster()->row(2).away, 15000);
        if (!startLost)
            QTRY_VERIFY(bob_->reconnectNotice()->isVisible());
        QVERIFY(!bob_->state().gameRunning || !startLost);
    }
    QVERIFY(proxy_->resume());
    QTRY_VERIFY_WITH_TIMEOUT(!bob_->reconnector()->isRunning() && bob_->state().gameRunning
            && !server->slot(2).away && !ann_->roster()->row(2).away,
        15000);
    QVERIFY(!bob_->reconnectNotice()->isVisible());
    QVERIFY(closed.isEmpty());
    QCOMPARE(bob_->state().myslot, 2);
    QCOMPARE(bob_->wordResults()->count(), startLost ? 0 : 1);
}

void TestReconnect::aHostThatEndsTheGameMidGameIsNotRetried_data()
{
    QTest::addColumn<bool>("removed");
    QTest::newRow("the player removed") << true;
    QTest::newRow("the host closes") << false;
}

void TestReconnect::aHostThatEndsTheGameMidGameIsNotRetried()
{
    QFETCH(bool, removed);
    QVERIFY(startGame());
    QSignalSpy closed(bob_.get(), &Tchat::closed);
    if (removed)
        ann_->dispatch()->kicking(2);
    else
        ann_->server()->shutdown();
    QTRY_COMPARE(closed.count(), 1);
    QCOMPARE(bob_->reconnector()->attempts(), 0);
    QVERIFY(!bob_->reconnectNotice()->isVisible());
}

void TestReconnect::aDropBetweenGamesEndsQuietlyWhenRefused()
{
    QVERIFY(startGame(false));
    QSignalSpy closed(bob_.get(), &Tchat::closed);
    proxy_->cut();
    // One try: the host holds no seat without a game, and nothing is for Bob to read.
    QTRY_COMPARE(closed.count(), 1);
    QCOMPARE(bob_->reconnector()->attempts(), 1);
    QVERIFY(!bob_->findChild<QMessageBox *>(QStringLiteral("connectionLostBox")));
}

void TestReconnect::cutsAtRandomMomentsLeaveEveryoneInTheirSeats()
{
    // Short seconds: rounds of 1.5 s, pauses between them, and a grace period of 4.5 s
    // that no outage here comes near.
    constexpr int second = 50;
    QTemporaryDir calDir;
    DropProxy calProxy;
    ann_ = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("true")}, 0, *annDir_,
        false, second);
    QTRY_VERIFY(ann_->state().isconnected && ann_->roster()->row(1).name == "Ann");
    QVERIFY(proxy_->start(ann_->server()->port()) && calProxy.start(ann_->server()->port()));
    bob_ = makeChat({QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        proxy_->port(), *bobDir_, false, second);
    auto cal = makeChat({QStringLiteral("Cal"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        calProxy.port(), calDir, false, second);
    const std::vector<Tchat *> players {bob_.get(), cal.get()};
    QTRY_VERIFY(bob_->reconnector()->ticket() && cal->reconnector()->ticket()
        && ann_->roster()->row(2).name == "Bob" && ann_->roster()->row(3).name == "Cal");
    QSignalSpy bobClosed(bob_.get(), &Tchat::closed), calClosed(cal.get(), &Tchat::closed);
    GameOptions options;
    options.playToScore = 10000;
    options.roundTime = 30;
    options.sizeCode = 4;
    options.minLetters = 3;
    ann_->dispatch()->startgame(options);
    QTRY_VERIFY(bob_->state().gameRunning && cal->state().gameRunning);

    // A failure says its seed; WENDLEWICK_SOAK_SEED plays it again.
    bool fixed = false;
    const quint32 given = qEnvironmentVariable("WENDLEWICK_SOAK_SEED").toUInt(&fixed);
    const quint32 seed = fixed ? given : QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator random(seed);
    std::vector<DropProxy *> relays {proxy_.get(), &calProxy};
    for (int step = 0; step < 24; ++step) {
        QTest::qWait(random.bounded(10, 200));
        switch (random.bounded(6)) {
        case 0:
        case 1:
            relays[size_t(random.bounded(2))]->cut();
            break;
        case 2: { // an outage of its own length, long enough for a few attempts
            DropProxy *relay = relays[size_t(random.bounded(2))];
            relay->pause();
            QTest::qWait(random.bounded(20, 300));
            QVERIFY(relay->resume());
            break;
        }
        case 3:
            for (DropProxy *relay : relays)
                relay->cut();
            break;
        case 4:
            // A claim that may meet a cut on its way.
            players[size_t(random.bounded(2))]->dispatch()->playerdone(cat);
            break;
        case 5:
            // A new game whose start meets a cut on its way.
            ann_->dispatch()->startgame(options);
            QTest::qWait(random.bounded(0, 5));
            relays[size_t(random.bounded(2))]->cut();
            break;
        }
    }
    // Once the network is quiet, everyone is in their seat again and the game goes on.
    QTRY_VERIFY_WITH_TIMEOUT(
        std::all_of(players.begin(), players.end(),
            [](Tchat *p) { return !p->reconnector()->isRunning() && p->state().isconnected; }),
        15000);
    const TServer *server = ann_->server();
    for (int slot = 1; slot <= 3; ++slot)
        QTRY_VERIFY(server->slot(slot).inUse && !server->slot(slot).away && !server->slot(slot).returning);
    QCOMPARE(bob_->state().myslot, 2);
    QCOMPARE(cal->state().myslot, 3);
    QVERIFY(bobClosed.isEmpty() && calClosed.isEmpty());
    for (Tchat *p : players)
        for (const auto &[slot, name] : {std::pair {1, "Ann"}, {2, "Bob"}, {3, "Cal"}}) {
            QCOMPARE(p->roster()->row(slot).name, QString::fromLatin1(name));
            QVERIFY(!p->roster()->row(slot).away);
            QTRY_COMPARE(p->rosterView()->score(slot)->text(), QString::number(server->slot(slot).gameScore));
        }
}

QTEST_MAIN(TestReconnect)
#include "tst_reconnect.moc"
