// Joiners and a host connected through ICE in one process, on loopback (the agents are
// told to use 127.0.0.1 and allowed to check it): the game's host admits the bridged
// player as any other, bytes cross intact both ways, a game whose way broke comes back
// to its seat through a new one, and attempts that go nowhere neither hold a slot nor
// pile up.
#include "fakehostenvironment.h"
#include "fakesignalchannel.h"
#include "iceagent.h"
#include "icegateway.h"
#include "icejoiner.h"
#include "iceserversource.h"
#include "protocolclient.h"
#include "tserver.h"
#include "wire.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

namespace {

IceAgent::Setup loopbackAgent()
{
    IceAgent::Setup setup;
    setup.localAddresses = {QHostAddress::LocalHost};
    setup.allowLoopback = true;
    setup.gatherMs = 2000;
    setup.checksMs = 3000;
    return setup;
}

IceBridge::Timing quickBridge()
{
    return {200, 1500};
}

// A joiner and a gateway that reach each other through a fake room.
struct Rig
{
    FakeSignalChannel joinerSide {QStringLiteral("Ann")};
    FakeSignalChannel hostSide {QStringLiteral("Host")};
    IceServerSource servers {nullptr};
    IceGateway gateway;
    IceJoiner joiner;

    explicit Rig(quint16 gamePort, int attemptMs = 20000)
        : gateway(hostSide, servers, {gamePort, loopbackAgent(), quickBridge(), 12, attemptMs})
        , joiner(joinerSide, servers, loopbackAgent())
    {
        servers.setFixed({});
        joinerSide.pair(&hostSide);
        joiner.setTiming({5000, 10000, quickBridge()});
        gateway.setAccepting(true);
    }
};

} // namespace

class TestIceBridge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void aBridgedPlayerIsAdmittedLikeAnyOther();
    void bytesCrossIntactBothWays();
    void aStreamThatFallsSilentEndsTheGameForBothSides();
    void aGameWhoseWayBrokeComesBackToItsSeat_data();
    void aGameWhoseWayBrokeComesBackToItsSeat();
    void aPeerThatNeverFinishesItsChecksHoldsNoSlot();
    void anOfferWithNothingToCheckIsEndedAtOnce_data();
    void anOfferWithNothingToCheckIsEndedAtOnce();
    void aThousandOffersAreBoundedAndForgotten();
    void whyNoWayWasFoundIsSaidPlainly_data();
    void whyNoWayWasFoundIsSaidPlainly();
};

void TestIceBridge::initTestCase()
{
    QVERIFY2(IceAgent::isAvailable(), "Qt's event loop must dispatch GLib's main context");
}

void TestIceBridge::aBridgedPlayerIsAdmittedLikeAnyOther()
{
    FakeHostEnvironment environment;
    TServer server(environment, seededDraw(1));
    server.listen(0, QHostAddress::LocalHost);
    Rig rig(server.port());
    QSignalSpy connected(&rig.joiner, &IceJoiner::connected);
    QSignalSpy greeted(&rig.joiner, &IceJoiner::greetingArrived);
    rig.joiner.start(QStringLiteral("Host"));
    QVERIFY(connected.wait(10000));
    QCOMPARE(IcePath::name(rig.joiner.path()), QStringLiteral("direct"));
    QTRY_COMPARE(rig.gateway.bridges(), 1);
    // The host greets before the game connects; the lobby reads it to know who answered.
    QTRY_VERIFY(rig.joiner.greeting().startsWith("CMD_sendlogininfo+1"));

    ProtocolClient player;
    QCOMPARE(player.join(rig.joiner.localPort(), "Ann"), 1);
    QCOMPARE(server.slot(1).name, QByteArray("Ann"));
    player.send(Wire::ToHost::chat(1, QStringLiteral("hello"), QStringLiteral("Black")));
    QVERIFY(!player.waitFor("CMD_chat").isEmpty());

    QSignalSpy ended(&rig.joiner, &IceJoiner::ended);
    player.close();
    QTRY_VERIFY(!server.slot(1).inUse);
    QTRY_COMPARE(rig.gateway.bridges(), 0);
    QVERIFY(ended.count() == 1 || ended.wait());
    QCOMPARE(ended.first().first().toString(), QString());
}

void TestIceBridge::bytesCrossIntactBothWays()
{
    // The game's port echoes what it gets.
    QTcpServer echo;
    QVERIFY(echo.listen(QHostAddress::LocalHost, 0));
    connect(&echo, &QTcpServer::newConnection, this, [&echo] {
        QTcpSocket *s = echo.nextPendingConnection();
        connect(s, &QTcpSocket::readyRead, s, [s] { s->write(s->readAll()); });
    });
    Rig rig(echo.serverPort());
    QSignalSpy connected(&rig.joiner, &IceJoiner::connected);
    rig.joiner.start(QStringLiteral("Host"));
    QVERIFY(connected.wait(10000));

    QByteArray sent(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < sent.size(); ++i)
        sent[i] = char((i * 131) >> 3);
    QTcpSocket game;
    game.connectToHost(QHostAddress::LocalHost, rig.joiner.localPort());
    QVERIFY(game.waitForConnected(5000));
    game.write(sent);
    QByteArray back;
    connect(&game, &QTcpSocket::readyRead, this, [&] { back += game.readAll(); });
    QTRY_VERIFY_WITH_TIMEOUT(back.size() >= sent.size(), 30000);
    QCOMPARE(back.size(), sent.size());
    QVERIFY(back == sent);
}

void TestIceBridge::aStreamThatFallsSilentEndsTheGameForBothSides()
{
    FakeHostEnvironment environment;
    TServer server(environment, seededDraw(2));
    server.listen(0, QHostAddress::LocalHost);
    Rig rig(server.port());
    QSignalSpy connected(&rig.joiner, &IceJoiner::connected);
    rig.joiner.start(QStringLiteral("Host"));
    QVERIFY(connected.wait(10000));
    ProtocolClient player;
    QCOMPARE(player.join(rig.joiner.localPort(), "Ann"), 1);

    // The host's end of the stream vanishes, as a relay that stops.
    QSignalSpy ended(&rig.joiner, &IceJoiner::ended);
    const QList<IceAgent *> hostAgents = rig.gateway.findChildren<IceAgent *>();
    QCOMPARE(hostAgents.size(), 1);
    delete hostAgents.first();
    QVERIFY(ended.wait(5000));
    QVERIFY(!ended.first().first().toString().isEmpty());
    QVERIFY(player.waitForClosed());
    // The host lets the player go when nothing comes from it either, and goes on.
    QTRY_VERIFY_WITH_TIMEOUT(!server.slot(1).inUse, 5000);
    QTRY_COMPARE(rig.gateway.bridges(), 0);
    ProtocolClient next;
    QCOMPARE(next.join(server.port(), "Ben"), 1);
}

void TestIceBridge::aGameWhoseWayBrokeComesBackToItsSeat_data()
{
    QTest::addColumn<bool>("hostEndVanishes");
    QTest::addColumn<bool>("refusedFirst");
    QTest::addColumn<bool>("leftFirst");
    QTest::newRow("the host's end vanishes") << true << false << false;
    QTest::newRow("the joiner's end vanishes") << false << false << false;
    QTest::newRow("the first way back is refused") << true << true << false;
    // The new way waits for the game's next connection.
    QTest::newRow("the game gives up a connection meanwhile") << true << false << true;
}

void TestIceBridge::aGameWhoseWayBrokeComesBackToItsSeat()
{
    QFETCH(bool, hostEndVanishes);
    QFETCH(bool, refusedFirst);
    QFETCH(bool, leftFirst);
    FakeHostEnvironment environment;
    TServer server(environment, seededDraw(4));
    server.setSecondLength(3600 * 1000);
    server.listen(0, QHostAddress::LocalHost);
    Rig rig(server.port());
    QSignalSpy connected(&rig.joiner, &IceJoiner::connected);
    QSignalSpy bridged(&rig.gateway, &IceGateway::playerConnected);
    rig.joiner.start(QStringLiteral("Host"));
    QVERIFY(connected.wait(10000));
    const quint16 local = rig.joiner.localPort();

    // The game logs in as one that can come back, and starts a game.
    auto game = std::make_unique<ProtocolClient>();
    QVERIFY(game->connectTo(local));
    QVERIFY(!game->waitFor("CMD_sendlogininfo").isEmpty());
    game->send(Wire::ToHost::canrejoin(1).chopped(1));
    game->send("CMD_logininfo+1+1.0.7+Ann");
    const QByteArray given = game->waitFor("CMD_rejointoken");
    const auto ticket = Wire::FromHost::rejointoken(given.mid(given.indexOf('+') + 1));
    QVERIFY(ticket);
    game->send(Wire::ToHost::startgame(QStringLiteral("Ann"), 100, 60, 4, 3).chopped(1));
    QVERIFY(!game->waitFor("CMD_nextplayer").isEmpty());

    QSignalSpy ended(&rig.joiner, &IceJoiner::ended);
    QSignalSpy returned(&rig.joiner, &IceJoiner::returned);
    QSignalSpy returnFailed(&rig.joiner, &IceJoiner::returnFailed);
    QObject *side = hostEndVanishes ? static_cast<QObject *>(&rig.gateway) : &rig.joiner;
    const QList<IceAgent *> agents = side->findChildren<IceAgent *>();
    QCOMPARE(agents.size(), 1);
    delete agents.first();
    QVERIFY(ended.wait(5000));
    QVERIFY(!ended.first().first().toString().isEmpty());
    QVERIFY(game->waitForClosed());
    QCOMPARE(rig.joiner.localPort(), local);

    // The game comes back at once, its token first, before there is a way to send it on.
    const auto knock = [&] {
        auto c = std::make_unique<ProtocolClient>();
        if (c->connectTo(local))
            c->send("CMD_rejoin+" + Wire::tokenText(ticket->token) + "+");
        return c;
    };
    const auto turnedAway = [local] {
        ProtocolClient other;
        return other.connectTo(local) && other.waitForClosed();
    };
    if (refusedFirst) {
        rig.gateway.setAccepting(false);
        game = knock();
        QVERIFY(returnFailed.wait(10000));
        QVERIFY(game->waitForClosed());
        rig.gateway.setAccepting(true);
    }
    if (leftFirst) {
        knock()->close();
        QTRY_COMPARE_WITH_TIMEOUT(bridged.count(), 2, 10000);
    }
    game = knock();
    // Nobody else is taken while it waits for its way, nor once it is carried.
    QVERIFY(turnedAway());
    QVERIFY(!game->waitFor("CMD_welcomeback", 15000).isEmpty());
    game->send("CMD_logininfo+1+1.0.7+Ann");
    QTRY_VERIFY(!server.slot(1).away && server.slot(1).socket);
    QCOMPARE(server.slot(1).name, QByteArray("Ann"));
    QCOMPARE(returned.count(), 1);
    QVERIFY(turnedAway());
    QCOMPARE(server.summary().players, 1);
    // One offer for each time the game came back, the turned away ones included.
    const auto offers = std::count_if(rig.joinerSide.sent.begin(), rig.joinerSide.sent.end(),
        [](const auto &s) { return s.second.kind == IceSignal::Kind::Offer; });
    QCOMPARE(offers, refusedFirst ? 3 : 2);
    game->send(Wire::ToHost::chat(1, QStringLiteral("back"), QStringLiteral("Black")));
    QVERIFY(!game->waitFor("CMD_chat").isEmpty());
    QTRY_COMPARE(rig.gateway.bridges(), 1);
}

void TestIceBridge::aPeerThatNeverFinishesItsChecksHoldsNoSlot()
{
    FakeHostEnvironment environment;
    TServer server(environment, seededDraw(3));
    server.listen(0, QHostAddress::LocalHost);
    // The "joiner" offers an address where nothing answers.
    QUdpSocket silent;
    QVERIFY(silent.bind(QHostAddress::LocalHost, 0));
    Rig rig(server.port(), 2500);
    QSignalSpy failed(&rig.gateway, &IceGateway::attemptFailed);
    IceSignal offer;
    offer.kind = IceSignal::Kind::Offer;
    offer.session = QStringLiteral("5e55105e55105e55");
    offer.ufrag = QStringLiteral("abcd");
    offer.password = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    offer.candidates = {{QStringLiteral("1"), 2130706431, QHostAddress::LocalHost, silent.localPort(),
        IceSignal::Candidate::Type::Host}};
    QVERIFY(rig.joinerSide.send(QStringLiteral("Host"), offer));
    QTRY_COMPARE(rig.gateway.attempts(), 1);
    QVERIFY(failed.wait(6000));
    QCOMPARE(failed.first().at(1).toString(), QStringLiteral("did not connect in time"));
    QCOMPARE(rig.gateway.attempts(), 0);
    QCOMPARE(server.highestSlot(), 0);
    // The joiner was told the attempt is over.
    QTRY_VERIFY(std::any_of(rig.hostSide.sent.begin(), rig.hostSide.sent.end(),
        [](const auto &s) { return s.second.kind == IceSignal::Kind::End; }));
}

void TestIceBridge::anOfferWithNothingToCheckIsEndedAtOnce_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("gamePort");
    QTest::newRow("multicast") << "239.255.77.72" << false;
    QTest::newRow("unspecified") << "0.0.0.0" << false;
    QTest::newRow("link-local") << "169.254.169.254" << false;
    QTest::newRow("this computer's game port") << "127.0.0.1" << true;
}

void TestIceBridge::anOfferWithNothingToCheckIsEndedAtOnce()
{
    QFETCH(QString, address);
    QFETCH(bool, gamePort);
    QTcpServer game;
    QVERIFY(game.listen(QHostAddress::LocalHost, 0));
    FakeSignalChannel hostSide(QStringLiteral("Host"));
    IceServerSource servers(nullptr);
    servers.setFixed({});
    IceAgent::Setup agent = loopbackAgent();
    agent.protectedPorts = {game.serverPort()};
    IceGateway gateway(hostSide, servers, {game.serverPort(), agent, quickBridge(), 12, 2500});
    gateway.setAccepting(true);
    QSignalSpy failed(&gateway, &IceGateway::attemptFailed);
    IceSignal offer;
    offer.kind = IceSignal::Kind::Offer;
    offer.session = QStringLiteral("5e55105e55105e55");
    offer.ufrag = QStringLiteral("abcd");
    offer.password = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    offer.candidates = {{QStringLiteral("1"), 2130706431, QHostAddress(address),
        quint16(gamePort ? game.serverPort() : 50000), IceSignal::Candidate::Type::Host}};
    Q_EMIT hostSide.received(QStringLiteral("Mallory"), offer);
    // Nothing gathered, nothing answered, no attempt held: the offer's end goes back.
    QCOMPARE(gateway.attempts(), 0);
    QCOMPARE(gateway.findChildren<IceAgent *>().size(), 0);
    QCOMPARE(hostSide.sent.size(), 1);
    QCOMPARE(hostSide.sent.first().second.kind, IceSignal::Kind::End);
    QCOMPARE(hostSide.sent.first().second.session, offer.session);
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(1).toString(), QStringLiteral("offered no address that may be tried"));
}

void TestIceBridge::aThousandOffersAreBoundedAndForgotten()
{
    QUdpSocket silent;
    QVERIFY(silent.bind(QHostAddress::LocalHost, 0));
    QTcpServer game;
    QVERIFY(game.listen(QHostAddress::LocalHost, 0));
    FakeSignalChannel hostSide(QStringLiteral("Host"));
    IceServerSource servers(nullptr);
    servers.setFixed({});
    IceGateway gateway(hostSide, servers, {game.serverPort(), loopbackAgent(), quickBridge(), 12, 2500});
    gateway.setAccepting(true);
    IceSignal offer;
    offer.kind = IceSignal::Kind::Offer;
    offer.ufrag = QStringLiteral("abcd");
    offer.password = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    offer.candidates = {{QStringLiteral("1"), 2130706431, QHostAddress::LocalHost, silent.localPort(),
        IceSignal::Candidate::Type::Host}};
    for (int i = 0; i < 1000; ++i) {
        // Half of them the same ten people offering again and again.
        offer.session = QStringLiteral("session%1").arg(i, 4, 10, QLatin1Char('0'));
        Q_EMIT hostSide.received(QStringLiteral("junk %1").arg(i < 500 ? i % 10 : i), offer);
        QVERIFY(gateway.attempts() <= 12);
    }
    QCOMPARE(gateway.attempts(), 12);
    const auto refusals = std::count_if(hostSide.sent.begin(), hostSide.sent.end(), [](const auto &s) {
        return s.second.kind == IceSignal::Kind::Refuse && s.second.refusal == IceSignal::Refusal::Busy;
    });
    QCOMPARE(refusals, 500 - 2);
    QTRY_COMPARE_WITH_TIMEOUT(gateway.attempts(), 0, 8000);
    QTRY_COMPARE(gateway.findChildren<IceAgent *>().size(), 0);
}

void TestIceBridge::whyNoWayWasFoundIsSaidPlainly_data()
{
    QTest::addColumn<bool>("relayListed");
    QTest::addColumn<QString>("answered"); // the host's one candidate
    QTest::addColumn<QString>("reason");
    QTest::newRow("no relay listed") << false << "127.0.0.1"
                                     << "no way through the routers was found, and the community server "
                                        "offers no relay to go around them";
    QTest::newRow("the listed relay does not answer")
        << true << "127.0.0.1"
        << "no way through the routers was found, and the community's relay server did not answer";
    QTest::newRow("the host offers nothing that may be tried")
        << false << "224.0.0.1"
        << "the host gave no address that may be tried";
}

void TestIceBridge::whyNoWayWasFoundIsSaidPlainly()
{
    QFETCH(bool, relayListed);
    QFETCH(QString, answered);
    QFETCH(QString, reason);
    // Nothing answers there: neither the relay nor the host's candidate.
    QUdpSocket silent;
    QVERIFY(silent.bind(QHostAddress::LocalHost, 0));
    FakeSignalChannel joinerSide(QStringLiteral("Ann"));
    FakeSignalChannel hostSide(QStringLiteral("Host"));
    joinerSide.pair(&hostSide);
    IceServerSource servers(nullptr);
    IceServers listed;
    if (relayListed)
        listed.relays = {{QHostAddress::LocalHost, silent.localPort(), QStringLiteral("1:Ann"),
            QStringLiteral("not-a-real-password")}};
    servers.setFixed(listed);
    connect(&hostSide, &SignalChannel::received, &hostSide, [&](const QString &peer, const IceSignal &offer) {
        if (offer.kind != IceSignal::Kind::Offer)
            return;
        IceSignal answer = offer;
        answer.kind = IceSignal::Kind::Answer;
        answer.candidates = {{QStringLiteral("1"), 2130706431, QHostAddress(answered), silent.localPort(),
            IceSignal::Candidate::Type::Host}};
        hostSide.send(peer, answer);
    });
    IceJoiner joiner(joinerSide, servers, loopbackAgent());
    QSignalSpy failed(&joiner, &IceJoiner::failed);
    joiner.start(QStringLiteral("Host"));
    QVERIFY(failed.wait(15000));
    QCOMPARE(failed.first().first().toString(), reason);
}

QTEST_GUILESS_MAIN(TestIceBridge)
#include "tst_icebridge.moc"
