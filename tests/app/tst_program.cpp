// Starts the program itself, headless, in a folder of its own.
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

class TestProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aSecondCopyExitsWithoutAWindowAndTheFirstRunsOn();
    void soloGameShowsItsWindowAndHostsOnTheGamePort();

private:
    static void prepare(QProcess &program, const QString &folder);
};

void TestProgram::prepare(QProcess &program, const QString &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("wendlewick.startup.info=true"));
    env.insert(QStringLiteral("WENDLEWICK_DATA_DIR"), folder);
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(folder);
    program.setProcessChannelMode(QProcess::MergedChannels);
}

void TestProgram::aSecondCopyExitsWithoutAWindowAndTheFirstRunsOn()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    // Two arguments take no role, so neither copy touches the network.
    const QStringList noRole {QStringLiteral("Ann"), QStringLiteral("127.0.0.1")};

    QProcess first;
    prepare(first, folder.path());
    first.start(QStringLiteral(WENDLEWICK_BIN), noRole);
    QVERIFY(first.waitForStarted());
    QByteArray firstSaid;
    QTRY_VERIFY_WITH_TIMEOUT((firstSaid += first.readAll()).contains("main window shown"), 20000);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("wendlewick.lock"))));

    QProcess second;
    prepare(second, folder.path());
    second.start(QStringLiteral(WENDLEWICK_BIN), noRole);
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY2(!second.readAll().contains("main window shown"), "the second copy showed a window");

    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    QVERIFY(first.waitForFinished());
}

void TestProgram::soloGameShowsItsWindowAndHostsOnTheGamePort()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QProcess solo;
    prepare(solo, folder.path());
    solo.start(QStringLiteral(WENDLEWICK_BIN), {});
    QVERIFY(solo.waitForStarted());
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += solo.readAll()).contains("main window shown"), 20000);

    // The program's own window holds slot 1, so a newcomer is asked to log in as 2.
    QTcpSocket player;
    player.connectToHost(QHostAddress::LocalHost, 7772);
    QVERIFY(player.waitForConnected(10000));
    QByteArray greeting;
    QTRY_VERIFY_WITH_TIMEOUT((greeting += player.readAll()).contains('\xFF'), 10000);
    QVERIFY2(greeting.startsWith("CMD_sendlogininfo+2\xFF"), greeting.constData());

    QProcess second;
    prepare(second, folder.path());
    second.start(QStringLiteral(WENDLEWICK_BIN), {});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(!second.readAll().contains("main window shown"));

    player.close();
    solo.kill();
    QVERIFY(solo.waitForFinished());
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
