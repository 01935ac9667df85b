// Starts the program itself, headless, in a folder of its own.
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aSecondCopyExitsWithoutAWindowAndTheFirstRunsOn();

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

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
