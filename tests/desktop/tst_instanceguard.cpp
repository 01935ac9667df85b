#include "instanceguard.h"
#include "processmarker.h"

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestInstanceGuard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstCopyRuns();
    void secondCopyFindsTheFirstAndAsksItToRaise();
    void guardsInOtherFoldersNeverMeet();
    void aSecondCopyHandsItsArgumentOver();
    void theGuardIsFreeAgainOnceItsHolderHasGone();
    void guardsLeftByACrashedCopyDoNotBlockTheNextStart();
    void strayDataOnTheGuardSocketRaisesNothing();
    void theMarkerIsHeldForTheLifeOfItsOwner();

private:
    QTemporaryDir dir_;
};

void TestInstanceGuard::firstCopyRuns()
{
    InstanceGuard guard(QStringLiteral("first"), dir_.path());
    QVERIFY(guard.tryToRun());
    QVERIFY(guard.isHolding());
    QVERIFY(QFile::exists(guard.serverPath()));
}

void TestInstanceGuard::secondCopyFindsTheFirstAndAsksItToRaise()
{
    InstanceGuard first(QStringLiteral("ocniro"), dir_.path());
    QVERIFY(first.tryToRun());
    QSignalSpy raised(&first, &InstanceGuard::raiseRequested);

    InstanceGuard second(QStringLiteral("ocniro"), dir_.path());
    QVERIFY(!second.tryToRun());
    QVERIFY(!second.isHolding());
    QVERIFY(raised.wait(5000));
    QCOMPARE(raised.count(), 1);

    InstanceGuard third(QStringLiteral("ocniro"), dir_.path());
    QVERIFY(!third.tryToRun());
    QTRY_COMPARE(raised.count(), 2);
}

void TestInstanceGuard::aSecondCopyHandsItsArgumentOver()
{
    InstanceGuard first(QStringLiteral("lobby"), dir_.path());
    QVERIFY(first.tryToRun());
    QSignalSpy raised(&first, &InstanceGuard::raiseRequested);
    QSignalSpy handed(&first, &InstanceGuard::argumentReceived);
    InstanceGuard second(QStringLiteral("lobby"), dir_.path());
    QVERIFY(!second.tryToRun(QStringLiteral("wendlewick://example.org:7780")));
    QTRY_COMPARE(handed.size(), 1);
    QCOMPARE(handed.at(0).at(0).toString(), QStringLiteral("wendlewick://example.org:7780"));
    QCOMPARE(raised.size(), 1);
    // One too long is not handed over, but the window still comes forward.
    InstanceGuard third(QStringLiteral("lobby"), dir_.path());
    QVERIFY(!third.tryToRun(QString(InstanceGuard::maxArgumentBytes + 1, u'x')));
    QTRY_COMPARE(raised.size(), 2);
    QCOMPARE(handed.size(), 1);
}

void TestInstanceGuard::guardsInOtherFoldersNeverMeet()
{
    QTemporaryDir other;
    InstanceGuard first(QStringLiteral("ocniro"), dir_.filePath(QStringLiteral("a")));
    InstanceGuard second(QStringLiteral("ocniro"), other.path());
    QVERIFY(first.tryToRun());
    QVERIFY(second.tryToRun());
}

void TestInstanceGuard::theGuardIsFreeAgainOnceItsHolderHasGone()
{
    const QString name = QStringLiteral("released");
    {
        InstanceGuard first(name, dir_.path());
        QVERIFY(first.tryToRun());
    }
    InstanceGuard next(name, dir_.path());
    QVERIFY(next.tryToRun());
}

void TestInstanceGuard::guardsLeftByACrashedCopyDoNotBlockTheNextStart()
{
    QTemporaryDir folder;
    QProcess holder;
    holder.start(QStringLiteral(GUARD_HOLDER), {folder.path()});
    QVERIFY(holder.waitForStarted());
    QSignalSpy said(&holder, &QProcess::readyReadStandardOutput);
    QVERIFY2(said.wait(10000), holder.readAllStandardError().constData());
    QCOMPARE(holder.readAllStandardOutput(), QByteArray("held\n"));

    InstanceGuard whileRunning(InstanceGuard::defaultName, folder.path());
    QVERIFY(!whileRunning.tryToRun());

    holder.kill(); // no destructor runs: the lock files and the socket file stay behind
    QVERIFY(holder.waitForFinished());
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("ocniro.lock"))));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("ocniro"))));

    InstanceGuard next(InstanceGuard::defaultName, folder.path());
    QVERIFY(next.tryToRun());
    QSignalSpy raised(&next, &InstanceGuard::raiseRequested);
    InstanceGuard later(InstanceGuard::defaultName, folder.path());
    QVERIFY(!later.tryToRun());
    QVERIFY(raised.wait(5000));

    ProcessMarker marker(ProcessMarker::defaultName, folder.path());
    QVERIFY(marker.isHeld());
}

void TestInstanceGuard::strayDataOnTheGuardSocketRaisesNothing()
{
    InstanceGuard guard(QStringLiteral("stray"), dir_.path());
    QVERIFY(guard.tryToRun());
    QSignalSpy raised(&guard, &InstanceGuard::raiseRequested);

    QLocalSocket socket;
    QSignalSpy closed(&socket, &QLocalSocket::disconnected);
    socket.connectToServer(guard.serverPath());
    QVERIFY(socket.waitForConnected(5000));
    socket.write(QByteArray(4096, 'x'));
    QVERIFY(closed.wait(5000));
    QCOMPARE(raised.count(), 0);

    QLocalSocket silent;
    QSignalSpy silentClosed(&silent, &QLocalSocket::disconnected);
    silent.connectToServer(guard.serverPath());
    QVERIFY(silent.waitForConnected(5000));
    QVERIFY(silentClosed.wait(10000)); // a copy that never speaks is dropped
    QCOMPARE(raised.count(), 0);
}

void TestInstanceGuard::theMarkerIsHeldForTheLifeOfItsOwner()
{
    const QString path = dir_.filePath(QStringLiteral("wendlewick.lock"));
    {
        ProcessMarker marker(ProcessMarker::defaultName, dir_.path());
        QVERIFY(marker.isHeld());
        QCOMPARE(marker.filePath(), path);
        QVERIFY(QFile::exists(path));
    }
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "tst_instanceguard.moc"
