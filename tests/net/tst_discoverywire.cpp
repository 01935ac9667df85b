// The discovery datagrams without sockets: layout, limits and every rule a datagram
// must keep to be taken.
#include "discoverywire.h"

#include <QTest>

using namespace DiscoveryWire;

namespace {

Game sample()
{
    Game g;
    g.kind = Kind::Reply;
    g.nonce = 0x01020304;
    g.instance = 0x1122334455667788ULL;
    g.port = 7772;
    g.players = 3;
    g.watchers = 1;
    g.running = true;
    g.sizeCode = 7;
    g.minLetters = 4;
    g.target = 300;
    g.roundSeconds = 120;
    g.version = "1.0.7";
    g.hostName = "Anna";
    return g;
}

// The sample's datagram with one byte changed.
QByteArray patched(int offset, char value)
{
    QByteArray bytes = encodeGame(sample());
    bytes[offset] = value;
    return bytes;
}

} // namespace

class TestDiscoveryWire : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gamesSurviveTheRoundTrip_data();
    void gamesSurviveTheRoundTrip();
    void theLayoutIsTheDocumentedOne();
    void valuesTheFormatCannotCarryAreBroughtIntoIt();
    void aQueryIsLongerThanAnyAnswer();
    void datagramsBreakingARuleAreIgnored_data();
    void datagramsBreakingARuleAreIgnored();
};

void TestDiscoveryWire::gamesSurviveTheRoundTrip_data()
{
    QTest::addColumn<Game>("game");
    QTest::newRow("reply") << sample();
    Game hello = sample();
    hello.kind = Kind::Hello;
    hello.nonce = 0;
    hello.running = false;
    QTest::newRow("hello") << hello;
    Game bare;
    bare.kind = Kind::Goodbye;
    bare.port = 1;
    QTest::newRow("goodbye before any game, nobody in") << bare;
    Game full = sample();
    full.players = 10;
    full.watchers = 0;
    full.hostName = QByteArray(maxNameBytes, char(0xE9));
    full.version = QByteArray(maxVersionBytes, '9');
    QTest::newRow("longest name and version, every slot taken") << full;
}

void TestDiscoveryWire::gamesSurviveTheRoundTrip()
{
    QFETCH(Game, game);
    const QByteArray bytes = encodeGame(game);
    const auto d = decode(bytes);
    QVERIFY(d);
    QCOMPARE(d->kind, game.kind);
    QCOMPARE(d->nonce, game.nonce);
    QVERIFY(d->game);
    QVERIFY(*d->game == game);
    QVERIFY(bytes.size() <= maxGameBytes);
}

void TestDiscoveryWire::theLayoutIsTheDocumentedOne()
{
    const QByteArray expected = QByteArray::fromHex("57574447"
                                                    "01"
                                                    "02"
                                                    "0000"
                                                    "01020304"
                                                    "1122334455667788"
                                                    "1e5c"
                                                    "03"
                                                    "01"
                                                    "0a"
                                                    "01"
                                                    "07"
                                                    "04"
                                                    "012c"
                                                    "0078"
                                                    "05")
        + "1.0.7" + '\x04' + "Anna";
    QCOMPARE(encodeGame(sample()), expected);

    const QByteArray query = encodeQuery(0xCAFEF00D);
    QCOMPARE(query.size(), queryBytes);
    QCOMPARE(query.first(headerBytes),
        QByteArray::fromHex("575744470101"
                            "0000"
                            "cafef00d"));
    QCOMPARE(query.mid(headerBytes), QByteArray(queryBytes - headerBytes, '\0'));
    const auto d = decode(query);
    QVERIFY(d && d->kind == Kind::Query && d->nonce == 0xCAFEF00D && !d->game);
}

void TestDiscoveryWire::valuesTheFormatCannotCarryAreBroughtIntoIt()
{
    Game g = sample();
    g.players = 9;
    g.watchers = 5;
    g.sizeCode = 12;
    g.minLetters = 2;
    g.version = "1.0.7\n-beta";
    g.hostName = QByteArray(200, 'x');
    const auto d = decode(encodeGame(g));
    QVERIFY(d && d->game);
    QCOMPARE(d->game->players, quint8(9));
    QCOMPARE(d->game->watchers, quint8(1));
    QCOMPARE(d->game->sizeCode, quint8(0));
    QCOMPARE(d->game->minLetters, quint8(0));
    QCOMPARE(d->game->version, QByteArray("1.0.7"));
    QCOMPARE(d->game->hostName, QByteArray(maxNameBytes, 'x'));

    g.port = 0;
    QVERIFY(encodeGame(g).isEmpty());
}

void TestDiscoveryWire::aQueryIsLongerThanAnyAnswer()
{
    Game longest = sample();
    longest.version = QByteArray(100, '1');
    longest.hostName = QByteArray(1000, 'n');
    QVERIFY(encodeGame(longest).size() < encodeQuery(1).size());
}

void TestDiscoveryWire::datagramsBreakingARuleAreIgnored_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = encodeGame(sample());
    const QByteArray query = encodeQuery(7);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << good.first(headerBytes);
    QTest::newRow("magic") << patched(0, 'X');
    QTest::newRow("version 2") << patched(4, 2);
    QTest::newRow("version 0") << patched(4, 0);
    QTest::newRow("kind 0") << patched(5, 0);
    QTest::newRow("kind 5") << patched(5, 5);
    QTest::newRow("query one byte short") << query.chopped(1);
    QTest::newRow("query one byte long") << query + '\0';
    QTest::newRow("reply cut short") << good.chopped(1);
    QTest::newRow("a byte after the name") << good + 'x';
    QTest::newRow("port 0") << patched(20, 0).replace(21, 1, "\0", 1);
    QTest::newRow("more players than slots") << patched(22, 10);
    QTest::newRow("capacity 0") << patched(24, 0);
    QTest::newRow("capacity 11") << patched(24, 11);
    QTest::newRow("board code 3") << patched(26, 3);
    QTest::newRow("board code 12") << patched(26, 12);
    QTest::newRow("minimum length 2") << patched(27, 2);
    QTest::newRow("minimum length 13") << patched(27, 13);
    QTest::newRow("version text too long") << patched(32, char(maxVersionBytes + 1));
    QTest::newRow("version text not printable") << patched(33, '\x07');
    QTest::newRow("name longer than the datagram") << patched(good.size() - 5, 5);
    QTest::newRow("name too long") << good.chopped(5) + char(maxNameBytes + 1)
            + QByteArray(maxNameBytes + 1, 'n');
    QTest::newRow("larger than any datagram") << query + QByteArray(1000, '\0');
}

void TestDiscoveryWire::datagramsBreakingARuleAreIgnored()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!decode(bytes));
}

QTEST_GUILESS_MAIN(TestDiscoveryWire)
#include "tst_discoverywire.moc"
