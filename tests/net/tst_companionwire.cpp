// The lines the game tells the lobby on the companion connection: what a reader takes,
// and that nothing else it is sent can trouble it.
#include "companionwire.h"

#include <QTest>

using CompanionWire::Ending;

Q_DECLARE_METATYPE(std::optional<CompanionWire::Ending>)

class TestCompanionWire : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyEndingGoesOutAndComesBack();
    void aReaderTakesOnlyLinesItKnows_data();
    void aReaderTakesOnlyLinesItKnows();
    void aLostGameSaysHowLongItsSeatIsKept_data();
    void aLostGameSaysHowLongItsSeatIsKept();
};

void TestCompanionWire::everyEndingGoesOutAndComesBack()
{
    CompanionWire::Reader reader;
    QByteArray stream;
    const QList<Ending> endings {Ending::HostClosed, Ending::Removed, Ending::Full, Ending::Lost};
    for (const Ending e : endings)
        stream += CompanionWire::encode({e});
    QCOMPARE(CompanionWire::encode({Ending::Removed}), QByteArray("WWC/1 ended removed\n"));
    // Byte by byte, as a slow connection may bring it.
    QList<Ending> read;
    for (const char c : stream)
        for (const auto &m : reader.append(QByteArrayView(&c, 1)))
            read << m.ending;
    QCOMPARE(read, endings);
}

void TestCompanionWire::aReaderTakesOnlyLinesItKnows_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<std::optional<Ending>>("taken");
    const std::optional<Ending> none;
    QTest::newRow("plain") << QByteArray("WWC/1 ended lost\n") << std::optional(Ending::Lost);
    QTest::newRow("later fields are ignored")
        << QByteArray("WWC/1 ended lost 192.0.2.7:7772 more\n") << std::optional(Ending::Lost);
    QTest::newRow("no line feed yet") << QByteArray("WWC/1 ended lost") << none;
    QTest::newRow("another version") << QByteArray("WWC/2 ended lost\n") << none;
    QTest::newRow("another verb") << QByteArray("WWC/1 rejoin lost\n") << none;
    QTest::newRow("another reason") << QByteArray("WWC/1 ended bored\n") << none;
    QTest::newRow("a carriage return") << QByteArray("WWC/1 ended lost\r\n") << none;
    QTest::newRow("a byte past ASCII") << QByteArray("WWC/1 ended lost\xff\n") << none;
    QTest::newRow("one byte too long")
        << QByteArray("WWC/1 ended lost " + QByteArray(111, 'x') + '\n') << none;
    QTest::newRow("just short enough")
        << QByteArray("WWC/1 ended lost " + QByteArray(110, 'x') + '\n') << std::optional(Ending::Lost);
    // A reader goes on after what it dropped, a flood without a line feed included.
    QTest::newRow("after an overlong line")
        << QByteArray(QByteArray(100000, 'x') + "\nWWC/1 ended full\n") << std::optional(Ending::Full);
    QTest::newRow("after junk") << QByteArray("GET / HTTP/1.0\r\n\nWWC/1 ended removed\n")
                                << std::optional(Ending::Removed);
}

void TestCompanionWire::aReaderTakesOnlyLinesItKnows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(std::optional<Ending>, taken);
    CompanionWire::Reader reader;
    const auto messages = reader.append(bytes);
    QCOMPARE(messages.size(), taken ? 1 : 0);
    if (taken)
        QCOMPARE(messages.first().ending, *taken);
}

void TestCompanionWire::aLostGameSaysHowLongItsSeatIsKept_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("seconds");
    QTest::newRow("built") << CompanionWire::encode({Ending::Lost, 85}) << 85;
    QTest::newRow("as written") << QByteArray("WWC/1 ended lost rejoin 85\n") << 85;
    QTest::newRow("with later fields") << QByteArray("WWC/1 ended lost rejoin 85 more\n") << 85;
    QTest::newRow("none") << QByteArray("WWC/1 ended lost\n") << 0;
    QTest::newRow("zero") << QByteArray("WWC/1 ended lost rejoin 0\n") << 0;
    QTest::newRow("past a day") << QByteArray("WWC/1 ended lost rejoin 86401\n") << 0;
    QTest::newRow("no number") << QByteArray("WWC/1 ended lost rejoin soon\n") << 0;
    QTest::newRow("signed") << QByteArray("WWC/1 ended lost rejoin +5\n") << 0;
    QTest::newRow("a removed player") << QByteArray("WWC/1 ended removed rejoin 85\n") << 0;
}

void TestCompanionWire::aLostGameSaysHowLongItsSeatIsKept()
{
    QFETCH(QByteArray, line);
    QFETCH(int, seconds);
    CompanionWire::Reader reader;
    const auto messages = reader.append(line);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().rejoinSeconds, seconds);
}

QTEST_GUILESS_MAIN(TestCompanionWire)
#include "tst_companionwire.moc"
