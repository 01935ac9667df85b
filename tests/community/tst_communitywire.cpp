// The community lobby's pure parts: game links, the announced game's element, which
// addresses can be a game's, flood gates, payload bounds and the server setting.
#include "communityaccount.h"
#include "floodgate.h"
#include "gamelink.h"
#include "gamepayload.h"
#include "xmlpayload.h"

#include <QTest>

class TestCommunityWire : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gameLinks_data();
    void gameLinks();
    void aGameAddressMustBeReachable_data();
    void aGameAddressMustBeReachable();
    void announcedGamesRoundTrip();
    void brokenAnnouncementsAreRefused_data();
    void brokenAnnouncementsAreRefused();
    void floodGateLetsABurstThroughThenOneAPeriod();
    void floodGateFollowsBoundedSenders();
    void floodGateRemembersLeaversUntilRefilled_data();
    void floodGateRemembersLeaversUntilRefilled();
    void payloadsKeepWithinBounds_data();
    void payloadsKeepWithinBounds();
    void serverSettings_data();
    void serverSettings();

private:
    static DiscoveryWire::Game sampleGame();
};

DiscoveryWire::Game TestCommunityWire::sampleGame()
{
    DiscoveryWire::Game g;
    g.instance = 42;
    g.port = 7772;
    g.players = 2;
    g.watchers = 1;
    g.sizeCode = 5;
    g.minLetters = 4;
    g.target = 50;
    g.roundSeconds = 90;
    g.version = "1.0.7";
    g.hostName = "Anna";
    return g;
}

void TestCommunityWire::gameLinks_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("host"); // empty: refused
    QTest::addColumn<int>("port");
    QTest::newRow("name") << "wendlewick://games.example.org"
                          << "games.example.org" << 7772;
    QTest::newRow("name, port, slash") << "wendlewick://games.example.org:7780/"
                                       << "games.example.org" << 7780;
    QTest::newRow("scheme in capitals") << "WENDLEWICK://192.0.2.5:7780"
                                        << "192.0.2.5" << 7780;
    QTest::newRow("IPv6") << "wendlewick://[2001:db8::7]:7781"
                          << "2001:db8::7" << 7781;
    QTest::newRow("an option") << "wendlewick://--help"
                               << "" << 0;
    QTest::newRow("an option after the port") << "wendlewick://host:7772 --bots"
                                              << "" << 0;
    QTest::newRow("user") << "wendlewick://ann@host"
                          << "" << 0;
    QTest::newRow("path") << "wendlewick://host/join"
                          << "" << 0;
    QTest::newRow("query") << "wendlewick://host?name=x"
                           << "" << 0;
    QTest::newRow("fragment") << "wendlewick://host#x"
                              << "" << 0;
    QTest::newRow("escape") << "wendlewick://ho%73t"
                            << "" << 0;
    QTest::newRow("port 0") << "wendlewick://host:0"
                            << "" << 0;
    QTest::newRow("port too big") << "wendlewick://host:65536"
                                  << "" << 0;
    QTest::newRow("port with a sign") << "wendlewick://host:+80"
                                      << "" << 0;
    QTest::newRow("unspecified") << "wendlewick://0.0.0.0"
                                 << "" << 0;
    QTest::newRow("multicast") << "wendlewick://239.255.77.72"
                               << "" << 0;
    QTest::newRow("broadcast") << "wendlewick://255.255.255.255"
                               << "" << 0;
    QTest::newRow("scoped IPv6") << "wendlewick://[fe80::1%eth0]"
                                 << "" << 0;
    QTest::newRow("unclosed IPv6") << "wendlewick://[2001:db8::7"
                                   << "" << 0;
    QTest::newRow("no host") << "wendlewick://"
                             << "" << 0;
    QTest::newRow("another scheme") << "http://games.example.org"
                                    << "" << 0;
    QTest::newRow("control character") << "wendlewick://ho\u0007st"
                                       << "" << 0;
    QTest::newRow("too long") << "wendlewick://" + QString(300, u'a') << "" << 0;
}

void TestCommunityWire::gameLinks()
{
    QFETCH(QString, link);
    QFETCH(QString, host);
    QFETCH(int, port);
    QString problem;
    const auto target = GameLink::parse(link, 7772, &problem);
    QCOMPARE(target.has_value(), !host.isEmpty());
    if (!target) {
        QVERIFY(problem.startsWith(QStringLiteral("This link cannot be opened: ")));
        return;
    }
    QCOMPARE(target->host, host);
    QCOMPARE(int(target->port), port);
    QVERIFY(problem.isEmpty());
    QCOMPARE(GameLink::parse(GameLink::format(target->host, target->port), 1)->host, host);
}

void TestCommunityWire::aGameAddressMustBeReachable_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("allowLoopback");
    QTest::addColumn<bool>("plausible");
    QTest::newRow("public v4") << "203.0.113.7" << 7772 << false << true;
    QTest::newRow("private v4") << "192.168.1.20" << 7772 << false << true;
    QTest::newRow("name") << "games.example.org" << 7772 << false << true;
    QTest::newRow("public v6") << "2001:db8::7" << 7772 << false << true;
    QTest::newRow("port 0") << "203.0.113.7" << 0 << false << false;
    QTest::newRow("0.0.0.0") << "0.0.0.0" << 7772 << true << false;
    QTest::newRow("::") << "::" << 7772 << true << false;
    QTest::newRow("multicast v4") << "224.0.0.1" << 7772 << true << false;
    QTest::newRow("multicast v6") << "ff02::1" << 7772 << true << false;
    QTest::newRow("broadcast") << "255.255.255.255" << 7772 << true << false;
    QTest::newRow("mapped multicast") << "::ffff:224.0.0.1" << 7772 << true << false;
    QTest::newRow("loopback, refused") << "127.0.0.1" << 7772 << false << false;
    QTest::newRow("localhost, refused") << "localhost" << 7772 << false << false;
    QTest::newRow("loopback, allowed") << "127.0.0.1" << 7772 << true << true;
    QTest::newRow("not a name") << "-rf" << 7772 << true << false;
}

void TestCommunityWire::aGameAddressMustBeReachable()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, allowLoopback);
    QFETCH(bool, plausible);
    QCOMPARE(GameLink::addressProblem(host, quint16(port), allowLoopback).isEmpty(), plausible);
}

void TestCommunityWire::announcedGamesRoundTrip()
{
    const XmlPayload payload = GamePayload::encode(sampleGame(), QStringLiteral("203.0.113.7"), 7780);
    QVERIFY(payload.isWithinBounds());
    const auto announced = GamePayload::decode(payload);
    QVERIFY(announced);
    QCOMPARE(announced->address, QStringLiteral("203.0.113.7"));
    QCOMPARE(announced->port, quint16(7780));
    DiscoveryWire::Game expected = sampleGame();
    QCOMPARE(announced->game, expected);
}

void TestCommunityWire::brokenAnnouncementsAreRefused_data()
{
    QTest::addColumn<XmlPayload>("payload");
    const XmlPayload good = GamePayload::encode(sampleGame(), QStringLiteral("203.0.113.7"), 7780);
    const auto with = [&good](auto change) {
        XmlPayload p = good;
        change(p);
        return p;
    };
    QTest::newRow("other namespace") << with([](XmlPayload &p) { p.ns = QStringLiteral("urn:other"); });
    QTest::newRow("other name") << with([](XmlPayload &p) { p.name = QStringLiteral("games"); });
    QTest::newRow("not base64") << with([](XmlPayload &p) { p.text = QStringLiteral("@@@@"); });
    QTest::newRow("a query inside") << with(
        [](XmlPayload &p) { p.text = QString::fromLatin1(DiscoveryWire::encodeQuery(7).toBase64()); });
    QTest::newRow("a goodbye inside") << with([](XmlPayload &p) {
        DiscoveryWire::Game g = sampleGame();
        g.kind = DiscoveryWire::Kind::Goodbye;
        p.text = QString::fromLatin1(DiscoveryWire::encodeGame(g).toBase64());
    });
    QTest::newRow("cut short") << with([](XmlPayload &p) { p.text.chop(8); });
    QTest::newRow("port 0") << with([](XmlPayload &p) { p.attributes[1].second = QStringLiteral("0"); });
    QTest::newRow("port not a number")
        << with([](XmlPayload &p) { p.attributes[1].second = QStringLiteral("80x"); });
    QTest::newRow("port with a sign")
        << with([](XmlPayload &p) { p.attributes[1].second = QStringLiteral("+80"); });
    QTest::newRow("no address") << with([](XmlPayload &p) { p.attributes[0].second.clear(); });
    QTest::newRow("another attribute") << with([](XmlPayload &p) {
        p.attributes.append({QStringLiteral("x"), QStringLiteral("1")});
    });
    QTest::newRow("a child") << with([](XmlPayload &p) {
        p.children.append(XmlPayload {QStringLiteral("x"), {}, {}, {}, {}});
    });
    QTest::newRow("text too long") << with([](XmlPayload &p) { p.text += QString(200, u'A'); });
}

void TestCommunityWire::brokenAnnouncementsAreRefused()
{
    QFETCH(XmlPayload, payload);
    QVERIFY(!GamePayload::decode(payload));
}

void TestCommunityWire::floodGateLetsABurstThroughThenOneAPeriod()
{
    FloodGate gate({3, 1000}, 10);
    const QString anna = QStringLiteral("Anna");
    for (int i = 0; i < 3; ++i)
        QVERIFY(gate.allow(anna, 0));
    QVERIFY(!gate.allow(anna, 10));
    QCOMPARE(gate.waitFor(anna, 10), 990);
    QVERIFY(!gate.allow(anna, 999));
    QVERIFY(gate.allow(anna, 1000));
    QVERIFY(!gate.allow(anna, 1500));
    QVERIFY(gate.allow(anna, 2000));
    // A long silence fills the bucket, but never above the burst.
    for (int i = 0; i < 3; ++i)
        QVERIFY(gate.allow(anna, 60000));
    QVERIFY(!gate.allow(anna, 60000));
    QVERIFY(gate.allow(QStringLiteral("Ben"), 60000));
}

void TestCommunityWire::floodGateFollowsBoundedSenders()
{
    FloodGate gate({1, 1000}, 2);
    QVERIFY(gate.allow(QStringLiteral("a"), 0));
    QVERIFY(gate.allow(QStringLiteral("b"), 0));
    QVERIFY(!gate.allow(QStringLiteral("c"), 0));
    gate.forget(QStringLiteral("a"), 0);
    QVERIFY(gate.allow(QStringLiteral("c"), 0));
    QCOMPARE(gate.senders(), 2);
}

void TestCommunityWire::floodGateRemembersLeaversUntilRefilled_data()
{
    QTest::addColumn<qint64>("backAt"); // ms after leaving with an empty bucket
    QTest::addColumn<bool>("rename"); // back under another name instead
    QTest::addColumn<int>("others"); // senders who left after, before the return
    QTest::addColumn<int>("allowed"); // of 3 lines on return
    QTest::newRow("back at once") << qint64(0) << false << 0 << 0;
    QTest::newRow("back after one refill") << qint64(1000) << false << 0 << 1;
    QTest::newRow("back once refilled") << qint64(5000) << false << 0 << 3;
    QTest::newRow("renamed") << qint64(0) << true << 0 << 0;
    QTest::newRow("pushed out by newer leavers") << qint64(0) << false << 4 << 3;
}

void TestCommunityWire::floodGateRemembersLeaversUntilRefilled()
{
    QFETCH(qint64, backAt);
    QFETCH(bool, rename);
    QFETCH(int, others);
    QFETCH(int, allowed);
    FloodGate gate({3, 1000}, 4);
    QString anna = QStringLiteral("Anna");
    while (gate.allow(anna, 0)) { }
    if (rename) {
        gate.rename(anna, QStringLiteral("Anna2"));
        anna = QStringLiteral("Anna2");
    } else {
        gate.forget(anna, 0);
    }
    for (int i = 0; i < others; ++i) {
        const QString other = QString::number(i);
        gate.allow(other, 0);
        gate.forget(other, 0);
    }
    int passed = 0;
    for (int i = 0; i < 3; ++i)
        passed += gate.allow(anna, backAt) ? 1 : 0;
    QCOMPARE(passed, allowed);
}

void TestCommunityWire::payloadsKeepWithinBounds_data()
{
    QTest::addColumn<XmlPayload>("payload");
    QTest::addColumn<bool>("within");
    XmlPayload deep {QStringLiteral("a"), {}, {}, {}, {}};
    for (int depth = 1; depth < XmlPayload::maxDepth; ++depth)
        deep = XmlPayload {QStringLiteral("a"), {}, {}, {}, {deep}};
    QTest::newRow("deepest allowed") << deep << true;
    QTest::newRow("one level deeper") << XmlPayload {QStringLiteral("a"), {}, {}, {}, {deep}} << false;
    XmlPayload wide {QStringLiteral("a"), {}, {}, {}, {}};
    for (int i = 1; i < XmlPayload::maxElements; ++i)
        wide.children.append(XmlPayload {QStringLiteral("b"), {}, {}, {}, {}});
    QTest::newRow("most elements") << wide << true;
    wide.children.append(XmlPayload {QStringLiteral("b"), {}, {}, {}, {}});
    QTest::newRow("one element more") << wide << false;
    QTest::newRow("most text") << XmlPayload {QStringLiteral("a"), {}, {},
        QString(XmlPayload::maxTextChars, u'x'), {}}
                               << true;
    QTest::newRow("text and attributes over") << XmlPayload {QStringLiteral("a"), {},
        {{QStringLiteral("k"), QStringLiteral("v")}}, QString(XmlPayload::maxTextChars, u'x'), {}}
                                              << false;
    QTest::newRow("no name") << XmlPayload {} << false;
}

void TestCommunityWire::payloadsKeepWithinBounds()
{
    QFETCH(XmlPayload, payload);
    QFETCH(bool, within);
    QCOMPARE(payload.isWithinBounds(), within);
}

void TestCommunityWire::serverSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("domain"); // empty: refused
    QTest::addColumn<int>("port");
    QTest::newRow("name") << "Lobby.Example.org"
                          << "lobby.example.org" << 0;
    QTest::newRow("name and port") << " lobby.example.org:5223 "
                                   << "lobby.example.org" << 5223;
    QTest::newRow("port 0") << "lobby.example.org:0"
                            << "" << 0;
    QTest::newRow("an option") << "--lobby"
                               << "" << 0;
    QTest::newRow("a web address") << "https://lobby.example.org"
                                   << "" << 0;
    QTest::newRow("blank inside") << "lobby example.org"
                                  << "" << 0;
}

void TestCommunityWire::serverSettings()
{
    QFETCH(QString, text);
    QFETCH(QString, domain);
    QFETCH(int, port);
    QString parsedDomain;
    quint16 parsedPort = 0;
    const QString problem = CommunityAccount::parseServer(text, &parsedDomain, &parsedPort);
    QCOMPARE(problem.isEmpty(), !domain.isEmpty());
    if (problem.isEmpty()) {
        QCOMPARE(parsedDomain, domain);
        QCOMPARE(int(parsedPort), port);
    }
}

QTEST_GUILESS_MAIN(TestCommunityWire)
#include "tst_communitywire.moc"
