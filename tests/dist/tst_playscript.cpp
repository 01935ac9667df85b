// ./play.sh opens the lobby without arguments and hands its arguments to the game.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestPlayScript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noArgumentsOpenTheLobbyArgumentsGoToTheGame_data();
    void noArgumentsOpenTheLobbyArgumentsGoToTheGame();
};

void TestPlayScript::noArgumentsOpenTheLobbyArgumentsGoToTheGame_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("started");
    QTest::newRow("none: the lobby") << QStringList {} << QStringList {"build/release/bin/wendlewick-lobby"};
    QTest::newRow("host: the game, each word kept whole") << QStringList {"Ann Lee", "127.0.0.1",
        "true"} << QStringList {"build/release/bin/wendlewick", "Ann Lee", "127.0.0.1", "true"};
}

void TestPlayScript::noArgumentsOpenTheLobbyArgumentsGoToTheGame()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, started);
    // A copy alone in a folder: a run that installed or built would fail at once.
    QTemporaryDir folder;
    const QString script = folder.filePath(QStringLiteral("play.sh"));
    QVERIFY(QFile::copy(QStringLiteral(WENDLEWICK_SOURCE_DIR "/play.sh"), script));
    QProcess play;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WENDLEWICK_PLAY_DRY_RUN"), QStringLiteral("1"));
    play.setProcessEnvironment(environment);
    play.start(script, arguments);
    QVERIFY(play.waitForFinished(10000));
    QCOMPARE(play.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(play.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        started);
}

QTEST_GUILESS_MAIN(TestPlayScript)
#include "tst_playscript.moc"
