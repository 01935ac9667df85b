// The windowless host program: options, log lines and a clean end on SIGTERM.
#include "protocolclient.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString program = QStringLiteral(WENDLEWICK_BINARY_DIR "/bin/wendlewick-host");

// Reads the program's output until a line matches; the whole output so far.
bool waitForLine(QProcess &p, QString &out, const QRegularExpression &re, int timeoutMs = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!re.match(out).hasMatch()) {
        if (t.elapsed() > timeoutMs)
            return false;
        if (!p.waitForReadyRead(int(std::max<qint64>(1, timeoutMs - t.elapsed())))
            && p.state() != QProcess::Running)
            return false;
        out += QString::fromUtf8(p.readAllStandardOutput());
    }
    return true;
}

} // namespace

class TestHostProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpListsTheOptions();
    void badOptionsAreRefused_data();
    void badOptionsAreRefused();
    void hostsAGameAndStopsOnSigterm();
    void computerPlayersJoinOnceThePersonInSlotOneHas();
    void controlCharactersOfPeersNeverReachTheTerminal();
};

void TestHostProgram::helpListsTheOptions()
{
    QProcess p;
    p.start(program, {QStringLiteral("--help")});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (const char *option : {"--port", "--pause", "--autostart", "--bots", "--bot-level", "--help"})
        QVERIFY2(out.contains(QLatin1String(option)), option);
}

void TestHostProgram::badOptionsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("port not a number") << QStringList {"--port", "http"};
    QTest::newRow("port too large") << QStringList {"--port", "70000"};
    QTest::newRow("pause zero") << QStringList {"--port", "0", "--pause", "0"};
    QTest::newRow("bots not a number") << QStringList {"--port", "0", "--bots", "some"};
    QTest::newRow("more bots than spare names") << QStringList {"--port", "0", "--bots", "6"};
    QTest::newRow("unknown bot level") << QStringList {"--port", "0", "--bots", "1", "--bot-level", "expert"};
}

void TestHostProgram::badOptionsAreRefused()
{
    QFETCH(QStringList, arguments);
    QProcess p;
    p.start(program, arguments);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 2);
}

void TestHostProgram::hostsAGameAndStopsOnSigterm()
{
    QTemporaryDir folder;
    QProcess p;
    p.setWorkingDirectory(folder.path());
    p.start(program,
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--pause"), QStringLiteral("1")});
    QVERIFY(p.waitForStarted());
    QString out;
    const QRegularExpression listening(QStringLiteral("listening on port (\\d+)"));
    QVERIFY2(waitForLine(p, out, listening), qPrintable(out));
    const quint16 port = quint16(listening.match(out).captured(1).toUInt());

    ProtocolClient first;
    QCOMPARE(first.join(port, "Ann"), 1);
    QVERIFY2(
        waitForLine(p, out, QRegularExpression(QStringLiteral("slot 1: \"Ann\" joined"))), qPrintable(out));
    // The first connection holds slot 1's rights: it starts a one-round game.
    first.send("CMD_startgame+Ann+0+0+4+4+0+");
    QVERIFY(first.waitFor("CMD_loadboard").startsWith("CMD_loadboard+0+0+29+"));
    QVERIFY2(
        waitForLine(p, out, QRegularExpression(QStringLiteral("game started by \"Ann\""))), qPrintable(out));
    QVERIFY2(waitForLine(p, out, QRegularExpression(QStringLiteral("round 1 over: Ann 0"))), qPrintable(out));
    QVERIFY2(waitForLine(p, out, QRegularExpression(QStringLiteral("winner: \"Ann\""))), qPrintable(out));
    first.close();
    QVERIFY2(
        waitForLine(p, out, QRegularExpression(QStringLiteral("slot 1: \"Ann\" left"))), qPrintable(out));

    // The word list lives in a private folder, never in the working folder.
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("English"))));
    ::kill(pid_t(p.processId()), SIGTERM);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
}

void TestHostProgram::computerPlayersJoinOnceThePersonInSlotOneHas()
{
    QTemporaryDir folder;
    QProcess p;
    p.setWorkingDirectory(folder.path());
    p.start(program,
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--bots"), QStringLiteral("2"),
            QStringLiteral("--bot-level"), QStringLiteral("hard")});
    QVERIFY(p.waitForStarted());
    QString out;
    const QRegularExpression listening(QStringLiteral("listening on port (\\d+)"));
    QVERIFY2(waitForLine(p, out, listening), qPrintable(out));
    const quint16 port = quint16(listening.match(out).captured(1).toUInt());

    ProtocolClient first;
    QCOMPARE(first.join(port, "Ann"), 1);
    QCOMPARE(first.waitFor("CMD_newplayerinfo+2"), QByteArray("CMD_newplayerinfo+2+Klot+0"));
    QCOMPARE(first.waitFor("CMD_newplayerinfo+3"), QByteArray("CMD_newplayerinfo+3+Klock+0"));
    QVERIFY2(
        waitForLine(p, out, QRegularExpression(QStringLiteral("slot 3: \"Klock\" joined"))), qPrintable(out));
    ::kill(pid_t(p.processId()), SIGTERM);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
}

void TestHostProgram::controlCharactersOfPeersNeverReachTheTerminal()
{
    QTemporaryDir folder;
    QProcess p;
    p.setWorkingDirectory(folder.path());
    p.start(program,
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--pause"), QStringLiteral("1")});
    QVERIFY(p.waitForStarted());
    QString out;
    const QRegularExpression listening(QStringLiteral("listening on port (\\d+)"));
    QVERIFY2(waitForLine(p, out, listening), qPrintable(out));
    const quint16 port = quint16(listening.match(out).captured(1).toUInt());

    // An escape sequence that would retitle the terminal, and the 8-bit CSI.
    ProtocolClient first;
    QCOMPARE(first.join(port, "A\x1b]0;owned\x07n\x9bn"), 1);
    first.send("CMD_startgame+\x1b[2J+0+0+4+4+0+");
    QVERIFY2(waitForLine(p, out, QRegularExpression(QStringLiteral("winner: "))), qPrintable(out));
    for (const QString &line :
        {QStringLiteral("slot 1: \"A?]0;owned?n?n\" joined"), QStringLiteral("game started by \"?[2J\""),
            QStringLiteral("round 1 over: A?]0;owned?n?n 0"), QStringLiteral("winner: \"A?]0;owned?n?n\"")})
        QVERIFY2(out.contains(line), qPrintable(line));
    for (const QChar c : std::as_const(out))
        QVERIFY(c == u'\n' || (c >= u' ' && c != QChar(0x7F) && (c < QChar(0x80) || c > QChar(0x9F))));
    ::kill(pid_t(p.processId()), SIGTERM);
    QVERIFY(p.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(TestHostProgram)
#include "tst_hostprogram.moc"
