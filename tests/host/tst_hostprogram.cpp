// The windowless host program: options, log lines, a clean end on SIGTERM, and its
// game announced in a community room (a real Prosody on loopback).
#include "gamepayload.h"
#include "prosodyserver.h"
#include "protocolclient.h"
#include "roomclient.h"

#include <QFile>
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
    void theGameIsAnnouncedInACommunityRoom();
};

void TestHostProgram::helpListsTheOptions()
{
    QProcess p;
    p.start(program, {QStringLiteral("--help")});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (const char *option : {"--port", "--pause", "--autostart", "--bots", "--bot-level", "--lobby-server",
             "--lobby-room", "--lobby-name", "--lobby-address", "--lobby-credentials", "--help"})
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
    QTest::newRow("lobby server not a name") << QStringList {"--port", "0", "--lobby-server", "https://x"};
    QTest::newRow("lobby room not a room")
        << QStringList {"--port", "0", "--lobby-server", "x.org", "--lobby-room", "x"};
    QTest::newRow("lobby address multicast")
        << QStringList {"--port", "0", "--lobby-server", "x.org", "--lobby-address", "239.1.2.3"};
    QTest::newRow("lobby credentials missing")
        << QStringList {"--port", "0", "--lobby-server", "x.org", "--lobby-credentials", "/nonexistent/file"};
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

void TestHostProgram::theGameIsAnnouncedInACommunityRoom()
{
    ProsodyServer prosody;
    ProsodyServer::Options options;
    options.modules << QStringLiteral("ipcheck");
    options.accounts = true;
    QVERIFY2(prosody.start(options), qPrintable(prosody.errorString() + prosody.log()));
    QVERIFY(prosody.addUser(QStringLiteral("host"), QStringLiteral("pass word")));
    QTemporaryDir folder;
    QFile credentials(folder.filePath(QStringLiteral("lobby")));
    QVERIFY(credentials.open(QIODevice::WriteOnly));
    credentials.write("account=host@users.localhost\npassword=pass word\n");
    credentials.close();

    QProcess host;
    host.setWorkingDirectory(folder.path());
    host.start(program,
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--lobby-server"),
            QStringLiteral("localhost:%1").arg(prosody.port()), QStringLiteral("--lobby-name"),
            QStringLiteral("Ann's host"), QStringLiteral("--lobby-credentials"), credentials.fileName(),
            QStringLiteral("--lobby-ca"), folder.filePath(QStringLiteral("ca.pem"))});
    QVERIFY(host.waitForFinished(10000));
    QCOMPARE(host.exitCode(), 2); // no certificate in the file given
    QVERIFY(QFile::copy(
        prosody.folder() + QStringLiteral("/cert.pem"), folder.filePath(QStringLiteral("ca.pem"))));
    host.start(program,
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--lobby-server"),
            QStringLiteral("localhost:%1").arg(prosody.port()), QStringLiteral("--lobby-name"),
            QStringLiteral("Ann's host"), QStringLiteral("--lobby-credentials"), credentials.fileName(),
            QStringLiteral("--lobby-ca"), folder.filePath(QStringLiteral("ca.pem"))});
    QString out;
    QVERIFY(waitForLine(host, out, QRegularExpression(QStringLiteral("listening on port (\\d+)"))));
    const quint16 port = quint16(
        QRegularExpression(QStringLiteral("listening on port (\\d+)")).match(out).captured(1).toUInt());
    QVERIFY2(
        waitForLine(host, out, QRegularExpression(QStringLiteral("announced in the room at 127.0.0.1:"))),
        qPrintable(out));

    RoomClient lobby;
    lobby.capture(GamePayload::elementName, GamePayload::ns);
    CommunityAccount account;
    account.domain = prosody.domain();
    account.port = prosody.port();
    account.nick = QStringLiteral("Ben");
    account.authorities = prosody.authorities();
    lobby.start(account);
    const auto announced = [&lobby]() -> std::optional<GamePayload::Announced> {
        const auto it = lobby.occupants().constFind(QStringLiteral("Ann's host"));
        return it == lobby.occupants().cend() || it->payloads.isEmpty()
            ? std::nullopt
            : GamePayload::decode(it->payloads.first());
    };
    QTRY_VERIFY_WITH_TIMEOUT(announced(), 10000);
    QCOMPARE(announced()->port, port);
    QCOMPARE(announced()->game.players, quint8(0));
    ProtocolClient ann;
    QCOMPARE(ann.join(port, "Ann"), 1);
    QTRY_COMPARE_WITH_TIMEOUT(announced()->game.hostName, QByteArray("Ann"), 5000);

    ::kill(pid_t(host.processId()), SIGTERM);
    QVERIFY(host.waitForFinished(10000));
    QTRY_VERIFY(!announced());
}

QTEST_GUILESS_MAIN(TestHostProgram)
#include "tst_hostprogram.moc"
