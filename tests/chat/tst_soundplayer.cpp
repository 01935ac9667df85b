#include "gamesounds.h"
#include "qtsoundplayer.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

class TestSoundPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyBuiltinSoundHasASmallClip();
    void namesAreMatchedWithoutRegardToCase_data();
    void namesAreMatchedWithoutRegardToCase();
    void namesWithoutAClipSoundTheAlert_data();
    void namesWithoutAClipSoundTheAlert();
    void playingNeverBlocksNorPrints();
    void aNewClipReplacesTheOnePlaying();
};

void TestSoundPlayer::initTestCase()
{
    // The audio system may report once that it has no server; never per sound.
    QtSoundPlayer::hasAudioOutput();
}

void TestSoundPlayer::everyBuiltinSoundHasASmallClip()
{
    qint64 total = 0;
    for (const QString &name : GameSounds::builtinSounds()) {
        const QString resource = QtSoundPlayer::clipResource(name);
        QVERIFY2(!resource.isEmpty(), qPrintable(name));
        QFile clip(resource);
        QVERIFY(clip.open(QIODevice::ReadOnly));
        const QByteArray header = clip.read(44);
        QVERIFY(header.startsWith("RIFF"));
        QCOMPARE(header.mid(8, 8), QByteArray("WAVEfmt "));
        total += clip.size();
    }
    QVERIFY(total < 2 * 1024 * 1024);
}

void TestSoundPlayer::namesAreMatchedWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("lower") << "tick";
    QTest::newRow("upper") << "TICK";
    QTest::newRow("mixed") << "TurnNew";
    QTest::newRow("chatter") << "wave7";
}

void TestSoundPlayer::namesAreMatchedWithoutRegardToCase()
{
    QFETCH(QString, name);
    int alerts = 0;
    QtSoundPlayer player(nullptr, [&] { ++alerts; });
    player.play(name);
    QCOMPARE(alerts, 0);
    QCOMPARE(player.current(), name.toUpper());
}

void TestSoundPlayer::namesWithoutAClipSoundTheAlert_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("place") << "place";
    QTest::newRow("empty") << "";
    QTest::newRow("wave21") << "wave21";
    QTest::newRow("path") << "../sounds/TICK";
    QTest::newRow("other resource") << "TEXT_DEMO";
    QTest::newRow("long") << QString(10000, QLatin1Char('A'));
}

void TestSoundPlayer::namesWithoutAClipSoundTheAlert()
{
    QFETCH(QString, name);
    int alerts = 0;
    QtSoundPlayer player(nullptr, [&] { ++alerts; });
    player.play(name);
    QCOMPARE(alerts, 1);
    QVERIFY(player.current().isEmpty());
}

void TestSoundPlayer::playingNeverBlocksNorPrints()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    QtSoundPlayer player(nullptr, [] {});
    for (int round = 0; round < 20; ++round) {
        for (const QString &name : GameSounds::builtinSounds())
            player.play(name);
        player.play(QStringLiteral("place"));
    }
    // A hang fails the test by its time-out. Let whatever the player started run on the event loop for a
    // moment.
    QTest::qWait(200);
}

void TestSoundPlayer::aNewClipReplacesTheOnePlaying()
{
    QtSoundPlayer player(nullptr, [] {});
    player.play(QStringLiteral("gameover"));
    player.play(QStringLiteral("click"));
    QCOMPARE(player.current(), QStringLiteral("CLICK"));
}

QTEST_MAIN(TestSoundPlayer)
#include "tst_soundplayer.moc"
