// Which discovery queries a host answers: only senders on its own subnets, a few a
// second per address, a bound for all addresses together, one answer per query, a
// bounded memory.
#include "answerlimit.h"
#include "localsubnets.h"

#include <QTest>

namespace {

const QHostAddress a(QStringLiteral("192.168.1.20"));
const QHostAddress b(QStringLiteral("192.168.1.21"));

LocalSubnets::Entry entry(const QString &ip, int prefix, const char *peer = nullptr)
{
    QNetworkAddressEntry e;
    e.setIp(QHostAddress(ip));
    e.setPrefixLength(prefix);
    if (e.ip().protocol() == QAbstractSocket::IPv4Protocol && prefix < 31)
        e.setBroadcast(QHostAddress(e.ip().toIPv4Address() | ((1u << (32 - prefix)) - 1)));
    return {e, peer ? QHostAddress(QLatin1String(peer)) : QHostAddress()};
}

// A machine on a home network, on a /31 link, on a point-to-point link (a /32 with a
// peer), with an IPv4 link-local address and with an IPv6 address.
const LocalSubnets::Entries ownEntries {entry("127.0.0.1", 8), entry("192.168.1.5", 24),
    entry("10.0.0.1", 31), entry("10.8.0.6", 32, "10.8.0.5"), entry("169.254.10.1", 16),
    entry("fe80::1", 64)};

} // namespace

class TestAnswerLimit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersFollowTheRates_data();
    void answersFollowTheRates();
    void aFullTableOfBusySendersTurnsNewcomersAway();
    void onlyHostsOnTheOwnSubnetsAreAnswered_data();
    void onlyHostsOnTheOwnSubnetsAreAnswered();
    void anInterfaceThatComesUpIsKnownWithinASecond();
    void changedInterfacesAreKnownWithinAFewSeconds_data();
    void changedInterfacesAreKnownWithinAFewSeconds();
};

void TestAnswerLimit::answersFollowTheRates_data()
{
    // Each query: sender (a or b), nonce, time in ms; and whether it is answered.
    QTest::addColumn<QString>("senders");
    QTest::addColumn<QList<int>>("nonces");
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<QList<bool>>("answered");

    QTest::newRow("three a second to one address")
        << "aaaaa" << QList<int> {1, 2, 3, 4, 5} << QList<int> {0, 10, 20, 30, 999}
        << QList<bool> {true, true, true, false, false};
    QTest::newRow("the window slides")
        << "aaaaa" << QList<int> {1, 2, 3, 4, 5} << QList<int> {0, 10, 20, 1000, 1011}
        << QList<bool> {true, true, true, true, true};
    QTest::newRow("one query heard twice is answered once")
        << "aaa" << QList<int> {7, 7, 8} << QList<int> {0, 5, 6} << QList<bool> {true, false, true};
    QTest::newRow("a nonce may come back after two seconds")
        << "aa" << QList<int> {7, 7} << QList<int> {0, 2000} << QList<bool> {true, true};
    QTest::newRow("addresses are counted apart")
        << "aaaabb" << QList<int> {1, 2, 3, 4, 1, 2} << QList<int> {0, 1, 2, 3, 4, 5}
        << QList<bool> {true, true, true, false, true, true};
    QTest::newRow("an IPv4-mapped IPv6 address is the IPv4 one")
        << "aaam" << QList<int> {1, 2, 3, 4} << QList<int> {0, 1, 2, 3}
        << QList<bool> {true, true, true, false};
}

void TestAnswerLimit::answersFollowTheRates()
{
    QFETCH(QString, senders);
    QFETCH(QList<int>, nonces);
    QFETCH(QList<int>, times);
    QFETCH(QList<bool>, answered);
    AnswerLimit limit;
    for (int i = 0; i < senders.size(); ++i) {
        const QHostAddress sender = senders[i] == QLatin1Char('a') ? a
            : senders[i] == QLatin1Char('b')                       ? b
                                             : QHostAddress(QStringLiteral("::ffff:192.168.1.20"));
        QVERIFY2(
            limit.allow(sender, quint32(nonces[i]), times[i]) == answered[i], qPrintable(QString::number(i)));
    }
}

void TestAnswerLimit::aFullTableOfBusySendersTurnsNewcomersAway()
{
    AnswerLimit limit({3, 1000, 4});
    for (int i = 0; i < 4; ++i)
        QVERIFY(limit.allow(QHostAddress(quint32(0x0A000001 + i)), 1, 0));
    QVERIFY(!limit.allow(QHostAddress(quint32(0x0A000100)), 1, 100));
    QCOMPARE(limit.rememberedSenders(), 4);
    // Quiet senders are forgotten when room is needed.
    QVERIFY(limit.allow(QHostAddress(quint32(0x0A000100)), 1, 2100));
    QCOMPARE(limit.rememberedSenders(), 1);

    // And the total bound holds across addresses.
    AnswerLimit total({3, 5, 256});
    int answers = 0;
    for (int i = 0; i < 50; ++i)
        answers += total.allow(QHostAddress(quint32(0x0A000001 + i)), 1, i);
    QCOMPARE(answers, 5);
}

void TestAnswerLimit::onlyHostsOnTheOwnSubnetsAreAnswered_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<bool>("answered");
    QTest::newRow("a neighbour") << "192.168.1.20" << true;
    QTest::newRow("a neighbour, IPv4-mapped") << "::ffff:192.168.1.20" << true;
    QTest::newRow("this machine") << "192.168.1.5" << true;
    QTest::newRow("loopback") << "127.0.0.1" << true;
    QTest::newRow("the other end of a /31 link") << "10.0.0.0" << true;
    QTest::newRow("an IPv6 neighbour") << "fe80::2" << true;
    QTest::newRow("an IPv4 link-local neighbour") << "169.254.20.30" << true;
    QTest::newRow("the peer of a point-to-point link") << "10.8.0.5" << true;
    QTest::newRow("another address beside a point-to-point link") << "10.8.0.7" << false;
    // An answer to these would reach every machine on the subnet, or none.
    QTest::newRow("the subnet's broadcast address") << "192.168.1.255" << false;
    QTest::newRow("the subnet's broadcast address, IPv4-mapped") << "::ffff:192.168.1.255" << false;
    QTest::newRow("the subnet's network address") << "192.168.1.0" << false;
    QTest::newRow("the limited broadcast address") << "255.255.255.255" << false;
    QTest::newRow("the discovery multicast group") << "239.255.77.72" << false;
    QTest::newRow("IPv6 multicast") << "ff02::1" << false;
    QTest::newRow("unspecified") << "0.0.0.0" << false;
    QTest::newRow("unspecified IPv6") << "::" << false;
    // Forged: no lobby on this network has them.
    QTest::newRow("off the subnet") << "192.168.2.20" << false;
    QTest::newRow("the internet") << "198.51.100.7" << false;
}

void TestAnswerLimit::onlyHostsOnTheOwnSubnetsAreAnswered()
{
    QFETCH(QString, sender);
    QFETCH(bool, answered);
    LocalSubnets subnets([] { return ownEntries; });
    QCOMPARE(subnets.isAnswerable(QHostAddress(sender), 0), answered);
}

void TestAnswerLimit::anInterfaceThatComesUpIsKnownWithinASecond()
{
    LocalSubnets::Entries entries {entry("127.0.0.1", 8)};
    int reads = 0;
    LocalSubnets subnets([&] {
        ++reads;
        return entries;
    });
    const QHostAddress neighbour(QStringLiteral("192.168.1.20"));
    QVERIFY(!subnets.isAnswerable(neighbour, 0));
    entries << entry("192.168.1.5", 24);
    // A flood of strangers reads the interfaces at most once a second.
    for (int ms = 1; ms < 1000; ++ms)
        QVERIFY(!subnets.isAnswerable(neighbour, ms));
    QCOMPARE(reads, 1);
    QVERIFY(subnets.isAnswerable(neighbour, 1000));
    QCOMPARE(reads, 2);
}

void TestAnswerLimit::changedInterfacesAreKnownWithinAFewSeconds_data()
{
    // The own subnet before and after, as ip/prefix; the sender; whether it is
    // answered before, and five seconds after the change, however busy the host was.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<bool>("answeredBefore");
    QTest::addColumn<bool>("answeredAfter");
    QTest::newRow("a subnet that shrank: its new broadcast address") << "192.168.0.5/16"
                                                                     << "192.168.0.5/24"
                                                                     << "192.168.0.255" << true << false;
    QTest::newRow("a subnet that shrank: a host no longer on it") << "192.168.0.5/16"
                                                                  << "192.168.0.5/24"
                                                                  << "192.168.1.20" << true << false;
    QTest::newRow("an interface that went away") << "10.1.0.5/24"
                                                 << ""
                                                 << "10.1.0.20" << true << false;
}

void TestAnswerLimit::changedInterfacesAreKnownWithinAFewSeconds()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, sender);
    QFETCH(bool, answeredBefore);
    QFETCH(bool, answeredAfter);
    const auto entries = [](const QString &subnet) {
        LocalSubnets::Entries own {entry(QStringLiteral("127.0.0.1"), 8)};
        if (!subnet.isEmpty())
            own << entry(subnet.section(QLatin1Char('/'), 0, 0), subnet.section(QLatin1Char('/'), 1).toInt());
        return own;
    };
    LocalSubnets::Entries current = entries(before);
    LocalSubnets subnets([&] { return current; });
    const QHostAddress address(sender);
    QCOMPARE(subnets.isAnswerable(address, 0), answeredBefore);
    current = entries(after);
    for (int ms = 1; ms < 5000; ms += 100)
        subnets.isAnswerable(address, ms);
    QCOMPARE(subnets.isAnswerable(address, 5000), answeredAfter);
}

QTEST_GUILESS_MAIN(TestAnswerLimit)
#include "tst_answerlimit.moc"
