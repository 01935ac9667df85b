// Coming back after a dropped connection, at the host: the seat held and shown as away,
// the return with the token (seat, score, board, clock, words of the round), the tokens
// that fit no seat, the players who cannot come back, the host player's own drop, a
// full game, and repeated drops. Connections drop through a relay the test cuts.
#include "dropproxy.h"
#include "fakehostenvironment.h"
#include "protocolclient.h"
#include "tserver.h"
#include "wire.h"

#include <QSignalSpy>
#include <QTest>

#include <malloc.h>
#include <memory>
#include <vector>

namespace {

// The scripted 4x4 board: C A T S / E A M X / R T E Q / S O N G (rows and columns 3 to 6).
const QList<Wire::Tile> cats {{3, 3}, {3, 4}, {3, 5}, {3, 6}};

QByteArray chopped(const QByteArray &message)
{
    return message.chopped(1);
}

// A player of this program's kind: logs in offering to come back, and keeps its token.
struct Player
{
    std::unique_ptr<ProtocolClient> client = std::make_unique<ProtocolClient>();
    int slot = 0;
    QByteArray token;

    bool join(quint16 port, const QByteArray &name)
    {
        if (!client->connectTo(port))
            return false;
        const QByteArray ask = client->waitFor("CMD_sendlogininfo");
        slot = ask.mid(18).toInt();
        client->send(chopped(Wire::ToHost::canrejoin(slot)));
        client->send("CMD_logininfo+" + QByteArray::number(slot) + "+1.0.7+" + name);
        return takeToken(client->waitFor("CMD_rejointoken"));
    }
    bool takeToken(const QByteArray &message)
    {
        const auto ticket = Wire::FromHost::rejointoken(message.mid(message.indexOf('+') + 1));
        if (!ticket)
            return false;
        token = Wire::tokenText(ticket->token);
        slot = ticket->slot;
        return true;
    }
    // A new connection that shows `shown` (the token by default) first of all.
    std::unique_ptr<ProtocolClient> knock(quint16 port, const QByteArray &shown = {}) const
    {
        auto c = std::make_unique<ProtocolClient>();
        if (c->connectTo(port))
            c->send("CMD_rejoin+" + (shown.isNull() ? token : shown) + "+");
        return c;
    }
    // Comes back on a new connection: the welcome, then the login. The welcome, or empty.
    QByteArray comeBack(quint16 port)
    {
        client = knock(port);
        const QByteArray welcome = client->waitFor("CMD_welcomeback");
        if (welcome.isEmpty() || !takeToken(welcome))
            return {};
        client->send("CMD_logininfo+" + QByteArray::number(slot) + "+1.0.7+ignored");
        return welcome;
    }
};

class Game
{
public:
    FakeHostEnvironment env;
    ScriptedDraw script {"catseamxrteqsong"};
    std::unique_ptr<TServer> server;
    DropProxy proxy;

    explicit Game(int secondMs = 3600 * 1000)
    {
        env.words = {"CATS", "TEAM"};
        server = std::make_unique<TServer>(env, script.draw());
        server->setSecondLength(secondMs);
        server->setDispatchInterval(1);
        server->listen(0, QHostAddress::LocalHost);
        proxy.start(server->port());
    }
    quint16 port() const { return server->port(); }

    bool start(ProtocolClient &host, const QList<ProtocolClient *> &everyone)
    {
        host.send(chopped(Wire::ToHost::startgame(QStringLiteral("Host"), 100, 60, 4, 4)));
        for (ProtocolClient *c : everyone)
            if (c->waitFor("CMD_nextplayer").isEmpty())
                return false;
        return server->phase() == TServer::RoundRunning;
    }
};

bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

size_t heapInUse()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return mallinfo2().uordblks;
}

} // namespace

class TestRejoin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aDroppedPlayerKeepsItsSeatAndComesBack();
    void tokensThatFitNoSeatAreRefusedAlike_data();
    void tokensThatFitNoSeatAreRefusedAlike();
    void seatsAreNotHeldForWhoCannotComeBack_data();
    void seatsAreNotHeldForWhoCannotComeBack();
    void theSeatGoesWhenTheGraceIsOver();
    void theHostPlayersOwnDropKeepsTheGameGoing();
    void aReturnFindsItsSeatInAFullGame();
    void twoReturnsWithOneTokenTakeOneSeat();
    void aDropDuringTheReturnKeepsTheSeat();
    void aSeatWhoseConnectionSeemsAliveIsTakenOver();
    void tenDropsAndReturnsLeaveMemoryFlat();
    void aReturnAfterTheRoundHearsHowItEnded_data();
    void aReturnAfterTheRoundHearsHowItEnded();
    void aPlayerGoneSilentIsTakenAsDropped();
};

void TestRejoin::aDroppedPlayerKeepsItsSeatAndComesBack()
{
    Game g;
    Player ann, bob;
    ProtocolClient cy; // a copy of the game that cannot come back
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.proxy.port(), "Bob"));
    QCOMPARE(cy.join(g.port(), "Cy"), 3);
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get(), &cy}));
    bob.client->send(chopped(Wire::ToHost::playerdone(2, cats)));
    QCOMPARE(bob.client->waitFor("CMD_goodword"), QByteArray("CMD_goodword+2+2+CATS+4+1+"));
    for (int second = 0; second < 10; ++second)
        g.server->timer1Timer();

    g.proxy.cut();
    QCOMPARE(ann.client->waitFor("CMD_playeraway"), QByteArray("CMD_playeraway+2+"));
    QCOMPARE(cy.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Bob"));
    const TPlayerSlot &seat = g.server->slot(2);
    QVERIFY(seat.inUse && seat.away && !seat.socket);
    QCOMPARE(g.server->summary().players, 3);
    // The seat is taken; a newcomer that cannot come back is not told of it.
    ProtocolClient dee;
    QCOMPARE(dee.join(g.port(), "Dee"), 4);
    QCOMPARE(dee.next(), QByteArray("CMD_existingplayers+1+Ann+0+3+Cy+0"));

    const QByteArray oldToken = bob.token;
    QVERIFY(!bob.comeBack(g.port()).isEmpty());
    QVERIFY(bob.token != oldToken);
    QCOMPARE(
        bob.client->waitFor("CMD_seats"), QByteArray("CMD_seats+1+Ann+0+0+2+Bob+0+0+3+Cy+0+0+4+Dee+0+0"));
    QCOMPARE(bob.client->next(), chopped(Wire::ToPlayer::loadboard(g.server->board())));
    const QByteArray stats = bob.client->next();
    const QByteArray expected
        = "CMD_loadstats+2+100+60+4+4+" + QByteArray::number(g.server->countdown() - 5) + "+1+1+0+2+2+3+0+";
    QVERIFY2(stats.startsWith(expected), stats);
    QCOMPARE(bob.client->next(), QByteArray("CMD_foundwords+2+CATS+2+1"));
    QCOMPARE(ann.client->waitFor("CMD_playerback"), QByteArray("CMD_playerback+2+"));
    QCOMPARE(cy.waitFor("CMD_newplayerinfo+2"), QByteArray("CMD_newplayerinfo+2+Bob+0"));
    QVERIFY(!seat.away && seat.socket && seat.gameScore == 2);

    // Its words of the round are its own still: no second claim.
    bob.client->send(chopped(Wire::ToHost::playerdone(2, cats)));
    QCOMPARE(bob.client->waitFor("CMD_notvalid"), QByteArray("CMD_notvalid+2+2+CATS+"));
}

void TestRejoin::tokensThatFitNoSeatAreRefusedAlike_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<bool>("seatHeld");
    for (const bool held : {true, false}) {
        const char *where = held ? ", a seat held" : ", no seat held";
        QTest::addRow("forged%s", where) << "forged" << held;
        QTest::addRow("malformed%s", where) << "malformed" << held;
        QTest::addRow("used for a return%s", where) << "reused" << held;
        QTest::addRow("of a seat given up%s", where) << "expired" << held;
    }
}

void TestRejoin::tokensThatFitNoSeatAreRefusedAlike()
{
    QFETCH(QString, token);
    QFETCH(bool, seatHeld);
    Game g;
    DropProxy cysProxy;
    QVERIFY(cysProxy.start(g.port()));
    Player ann, bob, cy;
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.proxy.port(), "Bob"));
    QVERIFY(cy.join(cysProxy.port(), "Cy"));
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get(), cy.client.get()}));

    QByteArray shown = "0123456789abcdef0123456789abcdef";
    if (token == QLatin1String("malformed"))
        shown = "0123456789ABCDEF0123456789ABCDEF";
    if (token == QLatin1String("reused")) {
        shown = cy.token;
        cysProxy.cut();
        QVERIFY(!cy.comeBack(g.port()).isEmpty());
        QVERIFY(!cy.client->waitFor("CMD_foundwords").isEmpty());
    } else if (token == QLatin1String("expired")) {
        shown = cy.token;
        cysProxy.cut();
        QTRY_VERIFY(g.server->slot(3).away);
        g.server->graceOver(3);
        QVERIFY(!g.server->slot(3).inUse);
    }
    if (seatHeld) {
        g.proxy.cut();
        QTRY_VERIFY(g.server->slot(2).away);
    }

    QSignalSpy refused(g.server.get(), &TServer::returnRefused);
    auto stranger = bob.knock(g.port(), shown);
    QVERIFY(stranger->waitForClosed());
    // The seat it arrived in, then the same refusal whatever is held.
    QCOMPARE(stranger->messages().size(), 2);
    QVERIFY(stranger->messages().first().startsWith("CMD_sendlogininfo+"));
    QCOMPARE(stranger->messages().last(), QByteArray("CMD_rejoinrefused+"));
    QCOMPARE(refused.count(), 1);
    QCOMPARE(g.server->slot(2).away, seatHeld);
}

void TestRejoin::seatsAreNotHeldForWhoCannotComeBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("a copy that cannot come back") << "old";
    QTest::newRow("leaving on purpose") << "leaving";
    QTest::newRow("no game running") << "idle";
    QTest::newRow("removed by the host player") << "removed";
    QTest::newRow("a host that holds no seats") << "nograce";
}

void TestRejoin::seatsAreNotHeldForWhoCannotComeBack()
{
    QFETCH(QString, how);
    Game g;
    Player ann, bob;
    QVERIFY(ann.join(g.port(), "Ann"));
    ProtocolClient old;
    if (how == QLatin1String("old"))
        QCOMPARE(old.join(g.proxy.port(), "Bob"), 2);
    else
        QVERIFY(bob.join(g.proxy.port(), "Bob"));
    ProtocolClient &gone = how == QLatin1String("old") ? old : *bob.client;
    if (how != QLatin1String("idle"))
        QVERIFY(g.start(*ann.client, {ann.client.get(), &gone}));
    if (how == QLatin1String("nograce"))
        g.server->setGraceSeconds(0);

    if (how == QLatin1String("leaving")) {
        // The close follows the word at once, as a window that closes sends them.
        gone.send(chopped(Wire::ToHost::leaving(2)));
        gone.close();
    } else if (how == QLatin1String("removed")) {
        ann.client->send("CMD_kickhim+1+2+");
    } else {
        g.proxy.cut();
    }
    QCOMPARE(ann.client->waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Bob"));
    QVERIFY(!g.server->slot(2).inUse);
}

void TestRejoin::theSeatGoesWhenTheGraceIsOver()
{
    Game g(20);
    g.server->setGraceSeconds(3);
    Player ann, bob;
    ProtocolClient cy;
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.proxy.port(), "Bob"));
    QCOMPARE(cy.join(g.port(), "Cy"), 3);
    g.server->setSecondLength(3600 * 1000);
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get(), &cy}));
    g.server->setSecondLength(20);
    g.proxy.cut();
    QCOMPARE(cy.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Bob"));
    QCOMPARE(ann.client->waitFor("CMD_playeraway"), QByteArray("CMD_playeraway+2+"));
    // 60 ms later the seat is given up: told to who saw it away, not again to the others.
    QCOMPARE(ann.client->waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Bob"));
    QVERIFY(!g.server->slot(2).inUse);
    cy.skipAll();
    ann.client->send("CMD_chat+1+probe|clRed");
    QVERIFY(cy.waitFor("CMD_chat").contains("probe"));
    QCOMPARE(cy.unread(), 0);
    auto late = bob.knock(g.port());
    QCOMPARE(late->waitFor("CMD_rejoinrefused"), QByteArray("CMD_rejoinrefused+"));
}

void TestRejoin::theHostPlayersOwnDropKeepsTheGameGoing()
{
    Game g;
    Player ann, bob;
    QVERIFY(ann.join(g.proxy.port(), "Ann"));
    QVERIFY(bob.join(g.port(), "Bob"));
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get()}));
    g.proxy.cut();
    QCOMPARE(bob.client->waitFor("CMD_playeraway"), QByteArray("CMD_playeraway+1+"));
    QCOMPARE(g.server->phase(), int(TServer::RoundRunning));
    // Nobody else gets slot 1, and with it the host player's rights.
    ProtocolClient cy;
    QCOMPARE(cy.join(g.port(), "Cy"), 3);
    cy.send(chopped(Wire::ToHost::startgame(QStringLiteral("Cy"), 5, 45, 4, 3)));
    QVERIFY(ann.comeBack(g.port()).startsWith("CMD_welcomeback+1+"));
    QVERIFY(!ann.client->waitFor("CMD_foundwords").isEmpty());
    QCOMPARE(g.server->targetScore(), 100);
    ann.client->send(chopped(Wire::ToHost::startgame(QStringLiteral("Ann"), 7, 45, 4, 3)));
    QVERIFY(!bob.client->waitFor("CMD_startgame+Ann").isEmpty());
    QCOMPARE(g.server->targetScore(), 7);
}

void TestRejoin::aReturnFindsItsSeatInAFullGame()
{
    Game g;
    Player ann, bob;
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.proxy.port(), "Bob"));
    std::vector<std::unique_ptr<ProtocolClient>> others;
    for (int i = 3; i <= 10; ++i) {
        others.push_back(std::make_unique<ProtocolClient>());
        QCOMPARE(others.back()->join(g.port(), "P" + QByteArray::number(i)), i);
    }
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get()}));
    g.proxy.cut();
    QTRY_VERIFY(g.server->slot(2).away);

    ProtocolClient stranger;
    QVERIFY(stranger.connectTo(g.port()));
    QCOMPARE(stranger.next(), QByteArray("CMD_full+"));
    // The returning player is told the game is full too, and then welcomed.
    QVERIFY(bob.comeBack(g.port()).startsWith("CMD_welcomeback+2+"));
    QCOMPARE(bob.client->messages().first(), QByteArray("CMD_full+"));
    QVERIFY(!bob.client->waitFor("CMD_foundwords").isEmpty());
    QVERIFY(stranger.waitForClosed());
    QCOMPARE(g.server->knocking(), 0);
}

void TestRejoin::twoReturnsWithOneTokenTakeOneSeat()
{
    Game g;
    Player ann, bob;
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.proxy.port(), "Bob"));
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get()}));
    g.proxy.cut();
    QTRY_VERIFY(g.server->slot(2).away);
    auto first = bob.knock(g.port());
    auto second = bob.knock(g.port());
    const auto answer = [](const ProtocolClient &c) {
        for (const QByteArray &m : c.messages())
            if (m.startsWith("CMD_welcomeback+") || m.startsWith("CMD_rejoinrefused+"))
                return m.left(m.indexOf('+'));
        return QByteArray();
    };
    QTRY_VERIFY(!answer(*first).isEmpty() && !answer(*second).isEmpty());
    QCOMPARE(QSet<QByteArray>({answer(*first), answer(*second)}),
        QSet<QByteArray>({"CMD_welcomeback", "CMD_rejoinrefused"}));
    QVERIFY(g.server->slot(2).returning);
}

void TestRejoin::aDropDuringTheReturnKeepsTheSeat()
{
    Game g;
    Player ann, bob;
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.proxy.port(), "Bob"));
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get()}));
    g.proxy.cut();
    QVERIFY(!ann.client->waitFor("CMD_playeraway").isEmpty());
    // Welcomed, and gone again before the login: the old token still fits.
    const QByteArray oldToken = bob.token;
    bob.client = bob.knock(g.proxy.port());
    QVERIFY(!bob.client->waitFor("CMD_welcomeback").isEmpty());
    g.proxy.cut();
    QTRY_VERIFY(g.server->slot(2).away);
    bob.token = oldToken;
    QVERIFY(!bob.comeBack(g.port()).isEmpty());
    QVERIFY(!bob.client->waitFor("CMD_foundwords").isEmpty());
    // The others heard of one absence and one return.
    QCOMPARE(ann.client->waitFor("CMD_playerback"), QByteArray("CMD_playerback+2+"));
    const auto count = [&](const char *command) {
        return std::count_if(ann.client->messages().begin(), ann.client->messages().end(),
            [command](const QByteArray &m) { return m.startsWith(command); });
    };
    QCOMPARE(count("CMD_playeraway"), 1);
    QCOMPARE(count("CMD_playerback"), 1);
}

void TestRejoin::aSeatWhoseConnectionSeemsAliveIsTakenOver()
{
    Game g;
    Player ann, bob;
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.port(), "Bob"));
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get()}));
    // Bob's side saw its connection fail; the host has not noticed.
    std::unique_ptr<ProtocolClient> stale = std::move(bob.client);
    QVERIFY(!bob.comeBack(g.port()).isEmpty());
    QVERIFY(!bob.client->waitFor("CMD_foundwords").isEmpty());
    QVERIFY(stale->waitForClosed());
    QVERIFY(ann.client->staysQuiet(50));
}

void TestRejoin::tenDropsAndReturnsLeaveMemoryFlat()
{
    Game g;
    Player ann, bob;
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.proxy.port(), "Bob"));
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get()}));
    const auto dropAndReturn = [&] {
        g.proxy.cut();
        if (!waitUntil([&] { return g.server->slot(2).away; }))
            return false;
        bob.client = bob.knock(g.proxy.port());
        const QByteArray welcome = bob.client->waitFor("CMD_welcomeback");
        if (!bob.takeToken(welcome))
            return false;
        bob.client->send("CMD_logininfo+2+1.0.7+Bob");
        return !bob.client->waitFor("CMD_foundwords").isEmpty();
    };
    QVERIFY(dropAndReturn());
    const qsizetype objects = g.server->children().size();
    const size_t heap = heapInUse();
    for (int i = 0; i < 10; ++i)
        QVERIFY(dropAndReturn());
    QTRY_COMPARE(g.server->children().size(), objects);
    QVERIFY2(heapInUse() < heap + 64 * 1024, qPrintable(QString::number(heapInUse() - heap)));
    ann.client->skipAll();
}

void TestRejoin::aReturnAfterTheRoundHearsHowItEnded_data()
{
    QTest::addColumn<int>("target");
    QTest::newRow("the round ended") << 100;
    QTest::newRow("the game was won") << 2;
}

void TestRejoin::aReturnAfterTheRoundHearsHowItEnded()
{
    QFETCH(int, target);
    Game g;
    Player ann, bob;
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.proxy.port(), "Bob"));
    ann.client->send(chopped(Wire::ToHost::startgame(QStringLiteral("Host"), target, 60, 4, 4)));
    QVERIFY(!bob.client->waitFor("CMD_nextplayer").isEmpty());
    bob.client->send(chopped(Wire::ToHost::playerdone(2, cats)));
    QVERIFY(!bob.client->waitFor("CMD_goodword").isEmpty());
    g.proxy.cut();
    QVERIFY(!ann.client->waitFor("CMD_playeraway").isEmpty());
    while (g.server->phase() == TServer::RoundRunning)
        g.server->timer1Timer();
    QCOMPARE(g.server->gameRunning(), target == 100);

    QVERIFY(!bob.comeBack(g.port()).isEmpty());
    QCOMPARE(bob.client->waitFor("CMD_foundwords"), QByteArray("CMD_foundwords+2"));
    const QByteArray timeup = bob.client->next();
    QVERIFY2(timeup.startsWith("CMD_timeup+"), timeup);
    QCOMPARE(bob.client->next(), chopped(Wire::ToPlayer::mainlist(2, {"CATS"})));
    if (target == 2)
        QCOMPARE(bob.client->next(), chopped(Wire::ToPlayer::winner("Bob")));
    QCOMPARE(ann.client->waitFor("CMD_playerback"), QByteArray("CMD_playerback+2+"));
}

void TestRejoin::aPlayerGoneSilentIsTakenAsDropped()
{
    Game g;
    g.server->setHeartbeat({50, 400});
    Player ann, bob;
    QVERIFY(ann.join(g.port(), "Ann"));
    QVERIFY(bob.join(g.proxy.port(), "Bob"));
    // Bob says it is there, and is answered in kind; Ann never says it.
    bob.client->send(chopped(Wire::ToHost::stillhere(2)));
    QCOMPARE(bob.client->waitFor("CMD_stillhere"), QByteArray("CMD_stillhere+2+"));
    QVERIFY(g.start(*ann.client, {ann.client.get(), bob.client.get()}));
    // Nothing passes, nothing closes.
    g.proxy.blackhole();
    QCOMPARE(ann.client->waitFor("CMD_playeraway"), QByteArray("CMD_playeraway+2+"));
    QVERIFY(g.server->slot(2).away);
    // A player that never said it is there is never judged by its silence.
    QVERIFY(g.server->slot(1).inUse && !g.server->slot(1).away && g.server->slot(1).socket);
    QVERIFY(!bob.comeBack(g.port()).isEmpty());
    QVERIFY(!bob.client->waitFor("CMD_foundwords").isEmpty());
}

QTEST_GUILESS_MAIN(TestRejoin)
#include "tst_rejoin.moc"
