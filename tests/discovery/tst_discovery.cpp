// Game discovery over loopback sockets the test binds: a host (TServer with its
// HostAnnouncer) and lobbies (DiscoveryBrowser) in one process, hellos and goodbyes,
// games going quiet, hostile datagrams and the answer rate.
#include "discoverybrowser.h"
#include "discoveryresponder.h"
#include "fakehostenvironment.h"
#include "hostannouncer.h"
#include "protocolclient.h"
#include "tserver.h"
#include "wire.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <memory>

using DiscoveryWire::Kind;

namespace {

const QHostAddress loopback = QHostAddress::LocalHost;

// A game host on loopback with its announcer, which answers on a port of its own.
struct Host
{
    FakeHostEnvironment env;
    TServer server {env, seededDraw(7)};
    HostAnnouncer announcer {server, DiscoveryConfig::loopback()};

    bool start()
    {
        server.setDispatchInterval(0);
        server.listen(0, loopback);
        announcer.responder().setHelloGap(10);
        return announcer.start();
    }
    quint16 discoveryPort() { return announcer.responder().port(); }
};

std::unique_ptr<DiscoveryBrowser> lobbyFor(Host &host, DiscoveryBrowser::Timing timing = {})
{
    auto browser
        = std::make_unique<DiscoveryBrowser>(DiscoveryConfig::loopback({{loopback, host.discoveryPort()}}));
    browser->setTiming(timing);
    if (!browser->start())
        return nullptr;
    host.announcer.responder().addPeer({loopback, browser->helloPort()});
    return browser;
}

DiscoveryWire::Game gameWithInstance(quint64 instance, Kind kind = Kind::Hello)
{
    DiscoveryWire::Game g;
    g.kind = kind;
    g.instance = instance;
    g.port = 7772;
    g.hostName = "Cleo";
    return g;
}

} // namespace

class TestDiscovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyTestRunsWithDiscoveryOff();
    void aLobbySeesTheHostsGameAsItChanges();
    void twoLobbiesHearTheSameHelloAndGoodbye();
    void announcementsArriveAndGoQuiet();
    void malformedDatagramsAreIgnored();
    void answersAreRateLimitedPerSender();
};

void TestDiscovery::everyTestRunsWithDiscoveryOff()
{
    QVERIFY(!DiscoveryConfig::fromEnvironment().enabled);
    DiscoveryResponder responder(DiscoveryConfig::fromEnvironment(), [] { return DiscoveryWire::Game(); });
    QVERIFY(!responder.start());
    DiscoveryBrowser browser(DiscoveryConfig::fromEnvironment());
    QVERIFY(!browser.start());
}

void TestDiscovery::aLobbySeesTheHostsGameAsItChanges()
{
    Host host;
    QVERIFY(host.start());
    auto lobby = lobbyFor(host);
    QVERIFY(lobby);
    QSignalSpy found(lobby.get(), &DiscoveryBrowser::gameFound);
    QSignalSpy changed(lobby.get(), &DiscoveryBrowser::gameChanged);
    QSignalSpy lost(lobby.get(), &DiscoveryBrowser::gameLost);

    QVERIFY(found.wait());
    FoundGame game = found.at(0).at(0).value<FoundGame>();
    QCOMPARE(game.game.port, host.server.port());
    QCOMPARE(game.game.hostName, QByteArray());
    QCOMPARE(game.game.players, quint8(0));
    QCOMPARE(game.game.version, QByteArray(wendlewickVersion));
    QCOMPARE(game.address, loopback);

    // Slot 1 logs in: its name is the game's.
    ProtocolClient anna;
    QCOMPARE(anna.join(host.server.port(), "Anna"), 1);
    QTRY_VERIFY(!lobby->games().isEmpty() && lobby->games().at(0).game.hostName == "Anna");
    QCOMPARE(lobby->games().at(0).game.players, quint8(1));

    // A game starts, and a second player sits it out.
    anna.send(Wire::ToHost::startgame(QStringLiteral("Anna"), 300, 90, 9, 5).chopped(1));
    ProtocolClient ben;
    QCOMPARE(ben.join(host.server.port(), "Ben"), 2);
    ben.send(Wire::ToHost::justwatch(2, 1).chopped(1));
    QTRY_VERIFY(lobby->games().at(0).game.watchers == 1);
    const DiscoveryWire::Game now = lobby->games().at(0).game;
    QVERIFY(now.running);
    QCOMPARE(now.players, quint8(1));
    QCOMPARE(now.sizeCode, quint8(9));
    QCOMPARE(now.minLetters, quint8(5));
    QCOMPARE(now.target, quint16(300));
    QCOMPARE(now.roundSeconds, quint16(90));
    QVERIFY(changed.size() >= 2);
    QCOMPARE(found.size(), 1);

    host.announcer.stop();
    QVERIFY(lost.wait());
    QVERIFY(lobby->games().isEmpty());
}

void TestDiscovery::twoLobbiesHearTheSameHelloAndGoodbye()
{
    Host host;
    QVERIFY(host.start());
    auto first = lobbyFor(host);
    auto second = lobbyFor(host);
    QVERIFY(first && second);
    QTRY_COMPARE(first->games().size(), 1);
    QTRY_COMPARE(second->games().size(), 1);

    ProtocolClient anna;
    QCOMPARE(anna.join(host.server.port(), "Anna"), 1);
    QTRY_COMPARE(first->games().at(0).game.hostName, QByteArray("Anna"));
    QTRY_COMPARE(second->games().at(0).game.hostName, QByteArray("Anna"));

    QSignalSpy firstLost(first.get(), &DiscoveryBrowser::gameLost);
    QSignalSpy secondLost(second.get(), &DiscoveryBrowser::gameLost);
    host.announcer.stop();
    QTRY_COMPARE(firstLost.size(), 1);
    QTRY_COMPARE(secondLost.size(), 1);
}

void TestDiscovery::announcementsArriveAndGoQuiet()
{
    DiscoveryBrowser lobby(DiscoveryConfig::loopback());
    lobby.setTiming({60000, 400});
    QVERIFY(lobby.start());
    QSignalSpy found(&lobby, &DiscoveryBrowser::gameFound);
    QSignalSpy lost(&lobby, &DiscoveryBrowser::gameLost);
    QUdpSocket hosts;
    const auto say = [&](const DiscoveryWire::Game &g) {
        hosts.writeDatagram(DiscoveryWire::encodeGame(g), loopback, lobby.helloPort());
    };

    say(gameWithInstance(1));
    say(gameWithInstance(2));
    QTRY_COMPARE(found.size(), 2);
    // A goodbye takes its game at once; the other goes once it has been quiet.
    say(gameWithInstance(1, Kind::Goodbye));
    QVERIFY(lost.wait());
    QCOMPARE(lost.at(0).at(0).toULongLong(), 1ULL);
    QCOMPARE(lobby.games().size(), 1);
    QVERIFY(lost.wait());
    QCOMPARE(lost.at(1).at(0).toULongLong(), 2ULL);
    QVERIFY(lobby.games().isEmpty());
}

void TestDiscovery::malformedDatagramsAreIgnored()
{
    Host host;
    QVERIFY(host.start());
    DiscoveryBrowser lobby(DiscoveryConfig::loopback());
    lobby.setTiming({60000, 60000});
    QVERIFY(lobby.start());
    QSignalSpy found(&lobby, &DiscoveryBrowser::gameFound);

    QByteArray garbage[] = {QByteArray(), QByteArray("WWDG"), QByteArray(5000, 'x'),
        DiscoveryWire::encodeQuery(9).chopped(1), DiscoveryWire::encodeQuery(9).replace(4, 1, "\x02"),
        DiscoveryWire::encodeGame(gameWithInstance(3)).replace(24, 1, "\x0b"),
        // A reply that answers no query of this lobby.
        DiscoveryWire::encodeGame(gameWithInstance(4, Kind::Reply))};
    QUdpSocket peer;
    QVERIFY(peer.bind(loopback, 0));
    for (const QByteArray &bytes : garbage) {
        peer.writeDatagram(bytes, loopback, host.discoveryPort());
        peer.writeDatagram(bytes, loopback, lobby.helloPort());
    }
    // What follows the garbage is still taken: the lobby lists this game only, and the
    // host's first answer is to the good query.
    peer.writeDatagram(DiscoveryWire::encodeGame(gameWithInstance(5)), loopback, lobby.helloPort());
    peer.writeDatagram(DiscoveryWire::encodeQuery(77), loopback, host.discoveryPort());
    QVERIFY(found.wait());
    QCOMPARE(lobby.games().size(), 1);
    QCOMPARE(lobby.games().at(0).game.instance, 5ULL);
    QTRY_VERIFY(peer.hasPendingDatagrams());
    const auto answer = DiscoveryWire::decode(peer.receiveDatagram().data());
    QVERIFY(answer && answer->kind == Kind::Reply);
    QCOMPARE(answer->nonce, 77U);
}

void TestDiscovery::answersAreRateLimitedPerSender()
{
    Host host;
    QVERIFY(host.start());
    QUdpSocket flooder;
    QVERIFY(flooder.bind(loopback, 0));
    QUdpSocket other;
    if (!other.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0))
        QSKIP("127.0.0.2 cannot be bound here");

    for (quint32 nonce = 1; nonce <= 20; ++nonce)
        flooder.writeDatagram(DiscoveryWire::encodeQuery(nonce), loopback, host.discoveryPort());
    other.writeDatagram(DiscoveryWire::encodeQuery(99), loopback, host.discoveryPort());
    // Queries are answered in the order they came, so once the other address has its
    // answer every answer to the flood has been sent.
    QTRY_VERIFY(other.hasPendingDatagrams());
    int answers = 0;
    while (flooder.hasPendingDatagrams()) {
        const QByteArray reply = flooder.receiveDatagram().data();
        QVERIFY(reply.size() < DiscoveryWire::queryBytes);
        ++answers;
    }
    QCOMPARE(answers, AnswerLimit::Rates().perSender);
}

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
