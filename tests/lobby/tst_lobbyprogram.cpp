// Starts the lobby program itself, headless, in a folder of its own.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestLobbyProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpSaysWhatTheLobbyUses();
    void helpAndVersionNeedNoDisplay_data();
    void helpAndVersionNeedNoDisplay();
    void aSecondStartBringsTheFirstForwardAndEnds();
};

namespace {

void prepare(QProcess &program, const QString &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("WENDLEWICK_DATA_DIR"), folder);
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(folder);
    program.setProcessChannelMode(QProcess::MergedChannels);
}

} // namespace

void TestLobbyProgram::helpSaysWhatTheLobbyUses()
{
    QProcess p;
    p.start(QStringLiteral(WENDLEWICK_LOBBY_BIN), {QStringLiteral("--help")});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    for (const char *text : {"UDP port 7773", "239.255.77.72", "WENDLEWICK_DISCOVERY=off",
             "127.0.0.1 port 9001", "--version", "--help"})
        QVERIFY2(out.contains(QLatin1String(text)), text);
}

void TestLobbyProgram::helpAndVersionNeedNoDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("says");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("--help") << QStringList {"--help"} << "--version" << 0;
    QTest::newRow("-h") << QStringList {"-h"} << "127.0.0.1 port 9001" << 0;
    QTest::newRow("--version") << QStringList {"--version"} << "wendlewick-lobby 1.0.7" << 0;
    QTest::newRow("-v") << QStringList {"-v"} << "1.0.7" << 0;
    QTest::newRow("Qt's own options are not the lobby's")
        << QStringList {"-style", "fusion", "--reverse", "-v"} << "wendlewick-lobby 1.0.7" << 0;
    QTest::newRow("an unknown option") << QStringList {"--bogus"} << "Unknown option 'bogus'." << 1;
}

void TestLobbyProgram::helpAndVersionNeedNoDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, says);
    QFETCH(int, exitCode);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(name));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(WENDLEWICK_LOBBY_BIN), arguments);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), exitCode);
    QVERIFY(QString::fromUtf8(p.readAll()).simplified().contains(says));
}

void TestLobbyProgram::aSecondStartBringsTheFirstForwardAndEnds()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QProcess first;
    prepare(first, folder.path());
    first.start(QStringLiteral(WENDLEWICK_LOBBY_BIN), {});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath(QStringLiteral("wendlewick-lobby"))), 20000);

    QProcess second;
    prepare(second, folder.path());
    second.start(QStringLiteral(WENDLEWICK_LOBBY_BIN), {});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    QCOMPARE(first.state(), QProcess::Running);
    first.terminate();
    QVERIFY(first.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(TestLobbyProgram)
#include "tst_lobbyprogram.moc"
