// Which discovery queries a host answers: a few a second per address, a bound for
// all addresses together, one answer per query, a bounded memory.
#include "answerlimit.h"

#include <QTest>

namespace {

const QHostAddress a(QStringLiteral("192.168.1.20"));
const QHostAddress b(QStringLiteral("192.168.1.21"));

} // namespace

class TestAnswerLimit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersFollowTheRates_data();
    void answersFollowTheRates();
    void aFullTableOfBusySendersTurnsNewcomersAway();
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

QTEST_GUILESS_MAIN(TestAnswerLimit)
#include "tst_answerlimit.moc"
