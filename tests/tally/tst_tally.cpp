#include "tallyfile.h"
#include "tallylist.h"
#include "tallytable.h"
#include "tlzrw1.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

class TestTally : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void fileHoldsTheTableColumnByColumn();
    void savedTallyLoadsBackWithThisRunsCountsAtZero();
    void missingFileGivesAFreshTally();
    void damagedFileIsSetAsideAndTheTallyStartsFresh_data();
    void damagedFileIsSetAsideAndTheTallyStartsFresh();
    void secondDamagedFileDoesNotReplaceTheFirst();
    void unreadableFileIsNeverOverwritten();
    void failedSaveKeepsThePreviousTally();
    void everyCountedGameIsOnDiskAtOnce();
    void longWordCountIsSavedByTheNextChangeOrAtExit();
    void textLayoutKeepsNamesInLatin1_data();
    void textLayoutKeepsNamesInLatin1();

    void loadchecklistListsOtherPlayersOnce();
    void addgameCountsTalliedOpponentsStillInTheGame_data();
    void addgameCountsTalliedOpponentsStillInTheGame();
    void moverowRemovesOneOpponent_data();
    void moverowRemovesOneOpponent();
    void tickingATalliedNameAddsNoSecondRow();
    void namesWithLineBreaksAreNotTallied();
    void resetKeepsOnlyZeroedOwnTotals();
    void owntotalsTakeOnlyTheirColumns();
    void recordRoundWordsKeepsTheBest_data();
    void recordRoundWordsKeepsTheBest();
    void additStartsUnreadableCountsFromZero();

private:
    QScopedPointer<QTemporaryDir> dir;
    QString tallyPath() const { return QDir(dir->path()).filePath(QStringLiteral("Wendlewicktally.tld")); }
};

namespace {

TallyRoster roster(const QStringList &names, int myslot)
{
    QStringList filled = names;
    while (filled.size() < 10)
        filled.append(TallyRoster::waiting);
    return {filled, myslot};
}

QByteArray packed(const QByteArray &text)
{
    QBuffer in, out;
    in.setData(text);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    Tlzrw1().compressDevice(in, out);
    return out.data();
}

QByteArray unpacked(const QString &path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return QByteArray();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    Tlzrw1 codec;
    return codec.decompressDevice(in, out) < 0 ? QByteArray("failed: " + codec.errorString().toUtf8())
                                               : out.data();
}

bool writeFile(const QString &name, const QByteArray &data)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One opponent's row as "name:1,2,3,4|5,6,7,8".
QString rowText(const TallyTable &table, int row)
{
    QStringList total, session;
    for (int column = 1; column <= 4; ++column) {
        total.append(table.cell(column, row));
        session.append(table.cell(column + 4, row));
    }
    return table.cell(0, row) + ':' + total.join(',') + '|' + session.join(',');
}

QStringList opponentRows(const TallyTable &table)
{
    QStringList rows;
    for (int row = 1; row < table.rows(); ++row)
        rows.append(rowText(table, row));
    return rows;
}

void tally(TallyList &list, const QStringList &names)
{
    list.loadchecklist(roster(QStringList {QStringLiteral("Me")} + names, 1));
    for (const QString &name : names)
        list.checklistClickCheck(name, true);
}

} // namespace

void TestTally::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
}

void TestTally::fileHoldsTheTableColumnByColumn()
{
    {
        TallyList list(dir->path());
        list.load();
        tally(list, {QStringLiteral("Anna"), QStringLiteral("Ben")});
        list.addgame(QStringLiteral("Anna"), roster({"Me", "Anna", "Ben"}, 1));
        list.addtomineset(TallyList::mostWordsInRound, 17);
    }
    const QByteArray text = unpacked(tallyPath());
    const QList<QByteArray> lines = text.split('\n');
    QCOMPARE(lines.size(), 2 + 9 * 3 + 1); // the last line ends too
    QVERIFY(lines.last().isEmpty());
    QCOMPARE(text,
        QByteArray("9\r\n3\r\n"
                   "0\r\nAnna\r\nBen\r\n"
                   "1\r\n1\r\n1\r\n"
                   "0\r\n1\r\n0\r\n"
                   "17\r\n0\r\n0\r\n"
                   "0\r\n0\r\n1\r\n"
                   "0\r\n1\r\n1\r\n"
                   "0\r\n1\r\n0\r\n"
                   "0\r\n0\r\n0\r\n"
                   "0\r\n0\r\n1\r\n"));
}

void TestTally::savedTallyLoadsBackWithThisRunsCountsAtZero()
{
    const QByteArray text
        = "9\r\n2\r\n0\r\nZoë\r\n12\r\n4\r\n5\r\n3\r\n7\r\n2\r\n2\r\n1\r\n0\r\n1\r\n0\r\n1\r\n0\r\n1\r\n"
          "0\r\n1\r\n";
    QVERIFY(writeFile(tallyPath(), packed(text)));
    TallyList list(dir->path());
    QCOMPARE(list.load(), QString());
    QCOMPARE(list.ownTotal(TallyList::totalGames), QStringLiteral("12"));
    QCOMPARE(list.ownTotal(TallyList::yourWins), QStringLiteral("5"));
    QCOMPARE(list.ownTotal(TallyList::mostWordsInRound), QStringLiteral("7"));
    QCOMPARE(list.ownTotal(TallyList::longWords), QStringLiteral("2"));
    QCOMPARE(opponentRows(*list.table()), QStringList {QStringLiteral("Zoë:4,3,2,1|0,0,0,0")});

    QVERIFY(list.save());
    TallyTable again;
    QCOMPARE(TallyFile(dir->path()).load(again).status, TallyFile::LoadStatus::Loaded);
    QCOMPARE(opponentRows(again), QStringList {QStringLiteral("Zoë:4,3,2,1|0,0,0,0")});
}

void TestTally::missingFileGivesAFreshTally()
{
    TallyList list(dir->path());
    QCOMPARE(list.load(), QString());
    QCOMPARE(list.table()->rows(), 1);
    for (int column = 0; column < TallyTable::columns; ++column)
        QCOMPARE(list.table()->cell(column, 0), QStringLiteral("0"));
    QVERIFY(!QFile::exists(tallyPath()));
}

void TestTally::damagedFileIsSetAsideAndTheTallyStartsFresh_data()
{
    QTest::addColumn<QByteArray>("file");
    const QByteArray good
        = packed("9\r\n2\r\n0\r\nAnna\r\n1\r\n1\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n"
                 "0\r\n0\r\n");
    QTest::newRow("no signature") << QByteArray("This is not a tally file at all.");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("truncated") << good.left(good.size() - 3);
    QTest::newRow("size disagrees") << good.left(4) + QByteArray("\x01\x00\x00\x00", 4) + good.mid(8);
    QTest::newRow("announces more than a tally can hold")
        << good.left(4) + QByteArray("\xff\xff\xff\x7f", 4) + good.mid(8);
    QTest::newRow("LZH signature") << "!HZL" + good.mid(4);
    QTest::newRow("other column count") << packed("8\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    QTest::newRow("no rows") << packed("9\r\n0\r\n");
    QTest::newRow("row count not a number") << packed("9\r\nmany\r\n");
    QTest::newRow("fewer cells than rows") << packed("9\r\n1000\r\n0\r\n0\r\n");
}

void TestTally::damagedFileIsSetAsideAndTheTallyStartsFresh()
{
    QFETCH(QByteArray, file);
    QVERIFY(writeFile(tallyPath(), file));
    {
        TallyList list(dir->path());
        const QString report = list.load();
        QVERIFY(report.contains(QStringLiteral("Wendlewicktally.tld.damaged")));
        QCOMPARE(list.table()->rows(), 1);
        QCOMPARE(list.ownTotal(TallyList::totalGames), QStringLiteral("0"));
        QCOMPARE(readFile(tallyPath() + ".damaged"), file);

        list.addgame(QStringLiteral("Me"), roster({"Me", "Anna"}, 1));
    }
    TallyTable saved;
    QCOMPARE(TallyFile(dir->path()).load(saved).status, TallyFile::LoadStatus::Loaded);
    QCOMPARE(saved.cell(TallyList::totalGames, 0), QStringLiteral("1"));
    QCOMPARE(readFile(tallyPath() + ".damaged"), file);
}

void TestTally::secondDamagedFileDoesNotReplaceTheFirst()
{
    QVERIFY(writeFile(tallyPath(), "first"));
    QVERIFY(!TallyList(dir->path()).load().isEmpty());
    QVERIFY(writeFile(tallyPath(), "second"));
    QVERIFY(!TallyList(dir->path()).load().isEmpty());
    QCOMPARE(readFile(tallyPath() + ".damaged"), QByteArray("first"));
    QCOMPARE(readFile(tallyPath() + ".damaged-2"), QByteArray("second"));
}

void TestTally::unreadableFileIsNeverOverwritten()
{
    // A folder where the file should be cannot be opened, even by root.
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("Wendlewicktally.tld")));
    TallyList list(dir->path());
    QSignalSpy errors(&list, &TallyList::fileError);
    QVERIFY(list.load().contains(QStringLiteral("could not be read")));
    list.addgame(QStringLiteral("Me"), roster({"Me"}, 1));
    list.addtomineincrease(TallyList::longWords);
    QCOMPARE(list.ownTotal(TallyList::totalGames), QStringLiteral("1"));
    QCOMPARE(errors.size(), 1);
    QVERIFY(QFileInfo(tallyPath()).isDir());
    QVERIFY(!QFile::exists(tallyPath() + ".damaged"));
}

void TestTally::failedSaveKeepsThePreviousTally()
{
    {
        TallyList list(dir->path());
        list.load();
        tally(list, {QStringLiteral("Anna")});
    }
    const QByteArray before = readFile(tallyPath());
    QVERIFY(!before.isEmpty());

    TallyList list(dir->path());
    list.load();
    QSignalSpy errors(&list, &TallyList::fileError);
    // Many opponents make a file far beyond the size limit set below, as a full disk would.
    for (int i = 0; i < 3000; ++i)
        list.table()->appendOpponent(QStringLiteral("Opponent number %1 with a long name").arg(i * 7919));
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 8192;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = list.save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(readFile(tallyPath()), before);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList {QStringLiteral("Wendlewicktally.tld")});
}

void TestTally::everyCountedGameIsOnDiskAtOnce()
{
    TallyList list(dir->path());
    list.load();
    tally(list, {QStringLiteral("Anna")});
    list.addgame(QStringLiteral("Anna"), roster({"Me", "Anna"}, 1));
    TallyTable onDisk;
    QCOMPARE(TallyFile(dir->path()).load(onDisk).status, TallyFile::LoadStatus::Loaded);
    QCOMPARE(opponentRows(onDisk), QStringList {QStringLiteral("Anna:1,1,0,0|1,1,0,0")});
    QCOMPARE(onDisk.cell(TallyList::totalGames, 0), QStringLiteral("1"));
}

void TestTally::longWordCountIsSavedByTheNextChangeOrAtExit()
{
    auto longWordsOnDisk = [this] {
        TallyTable onDisk;
        TallyFile(dir->path()).load(onDisk);
        return onDisk.cell(TallyList::longWords, 0);
    };
    {
        TallyList list(dir->path());
        list.load();
        list.addtomineincrease(TallyList::longWords);
        list.addgame(QStringLiteral("Me"), roster({"Me"}, 1));
        QCOMPARE(longWordsOnDisk(), QStringLiteral("1"));
        list.addtomineincrease(TallyList::longWords);
    }
    QCOMPARE(longWordsOnDisk(), QStringLiteral("2"));
}

void TestTally::textLayoutKeepsNamesInLatin1_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("Latin-1, as the wire gives it") << QByteArray("Zo\xeb");
    QTest::newRow("UTF-8, as earlier builds wrote it") << QByteArray("Zo\xc3\xab");
}

void TestTally::textLayoutKeepsNamesInLatin1()
{
    QFETCH(QByteArray, name);
    TallyTable table;
    QBuffer lf;
    lf.setData("9\n2\n0\n" + name + "\n3\n1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0");
    lf.open(QIODevice::ReadOnly);
    QString error;
    QVERIFY2(table.loadgrid(lf, &error), qPrintable(error));
    QCOMPARE(rowText(table, 1), QStringLiteral("Zoë:1,0,0,0|0,0,0,0"));
    QCOMPARE(table.cell(1, 0), QStringLiteral("3"));
    QBuffer saved;
    saved.open(QIODevice::WriteOnly);
    QVERIFY(table.savegrid(saved));
    QVERIFY(saved.data().startsWith("9\r\n2\r\n0\r\nZo\xeb\r\n"));
}

void TestTally::loadchecklistListsOtherPlayersOnce()
{
    TallyList list(dir->path());
    list.load();
    tally(list, {QStringLiteral("Ben")});
    list.loadchecklist(roster({"Anna", "Me", TallyRoster::waiting, "Ben", "Cara", "Anna"}, 2));
    QStringList shown;
    for (const TallyList::Player &player : list.currentPlayers())
        shown.append(player.name + (player.ticked ? "+" : "-"));
    QCOMPARE(shown, (QStringList {"Anna-", "Ben+", "Cara-"}));
}

void TestTally::addgameCountsTalliedOpponentsStillInTheGame_data()
{
    QTest::addColumn<QStringList>("names"); // slots 1, 2, ...
    QTest::addColumn<int>("myslot");
    QTest::addColumn<QString>("winner");
    QTest::addColumn<QString>("own"); // games, wins
    QTest::addColumn<QStringList>("rows"); // the tallied Ben, Cara and addtomine afterwards

    const QStringList all {"Me", "Ben", "Cara", "Dan", "addtomine"};
    QTest::newRow("a win") << all << 1 << "Me"
                           << "1,1"
                           << QStringList {
                                  "Ben:1,0,1,0|1,0,1,0", "Cara:1,0,1,0|1,0,1,0", "addtomine:1,0,1,0|1,0,1,0"};
    QTest::newRow("a loss to a tallied opponent")
        << all << 1 << "Ben"
        << "1,0" << QStringList {"Ben:1,1,0,0|1,1,0,0", "Cara:1,0,0,1|1,0,0,1", "addtomine:1,0,0,1|1,0,0,1"};
    QTest::newRow("someone else's win")
        << all << 1 << "Dan"
        << "1,0" << QStringList {"Ben:1,0,0,1|1,0,0,1", "Cara:1,0,0,1|1,0,0,1", "addtomine:1,0,0,1|1,0,0,1"};
    QTest::newRow("an opponent named addtomine wins")
        << all << 1 << "addtomine"
        << "1,0" << QStringList {"Ben:1,0,0,1|1,0,0,1", "Cara:1,0,0,1|1,0,0,1", "addtomine:1,1,0,0|1,1,0,0"};
    QTest::newRow("an opponent who left before the end")
        << QStringList {"Me", "Ben", TallyRoster::waiting, "Dan"} << 1 << "Ben"
        << "1,0" << QStringList {"Ben:1,1,0,0|1,1,0,0", "Cara:0,0,0,0|0,0,0,0", "addtomine:0,0,0,0|0,0,0,0"};
    QTest::newRow("a watcher records nothing")
        << QStringList {"Ben", "Cara"} << 11 << "Ben"
        << "0,0" << QStringList {"Ben:0,0,0,0|0,0,0,0", "Cara:0,0,0,0|0,0,0,0", "addtomine:0,0,0,0|0,0,0,0"};
    QTest::newRow("the player in another slot")
        << QStringList {"Ben", "Me", "Cara"} << 2 << "Me"
        << "1,1" << QStringList {"Ben:1,0,1,0|1,0,1,0", "Cara:1,0,1,0|1,0,1,0", "addtomine:0,0,0,0|0,0,0,0"};
    QTest::newRow("a name in two slots counts once")
        << QStringList {"Me", "Ben", "Ben"} << 1 << "Cara"
        << "1,0" << QStringList {"Ben:1,0,0,1|1,0,0,1", "Cara:0,0,0,0|0,0,0,0", "addtomine:0,0,0,0|0,0,0,0"};
    QTest::newRow("names differ in case")
        << QStringList {"Me", "ben", "Cara"} << 1 << "ben"
        << "1,0" << QStringList {"Ben:0,0,0,0|0,0,0,0", "Cara:1,0,0,1|1,0,0,1", "addtomine:0,0,0,0|0,0,0,0"};
}

void TestTally::addgameCountsTalliedOpponentsStillInTheGame()
{
    QFETCH(QStringList, names);
    QFETCH(int, myslot);
    QFETCH(QString, winner);
    QFETCH(QString, own);
    QFETCH(QStringList, rows);

    TallyList list(dir->path());
    list.load();
    tally(list, {QStringLiteral("Ben"), QStringLiteral("Cara"), QStringLiteral("addtomine")});
    list.addgame(winner, roster(names, myslot));
    QCOMPARE(list.ownTotal(TallyList::totalGames) + ',' + list.ownTotal(TallyList::yourWins), own);
    QCOMPARE(opponentRows(*list.table()), rows);
    QCOMPARE(list.table()->rows(), 4);
}

void TestTally::moverowRemovesOneOpponent_data()
{
    QTest::addColumn<QStringList>("opponents");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("the only one") << QStringList {"Ben"} << 1 << QStringList {};
    QTest::newRow("the last of several")
        << QStringList {"Ben", "Cara", "Dan"} << 3 << QStringList {"Ben", "Cara"};
    QTest::newRow("one in the middle")
        << QStringList {"Ben", "Cara", "Dan"} << 2 << QStringList {"Ben", "Dan"};
    QTest::newRow("never the own totals") << QStringList {"Ben"} << 0 << QStringList {"Ben"};
    QTest::newRow("not beyond the table") << QStringList {"Ben"} << 2 << QStringList {"Ben"};
}

void TestTally::moverowRemovesOneOpponent()
{
    QFETCH(QStringList, opponents);
    QFETCH(int, row);
    QFETCH(QStringList, left);
    TallyList list(dir->path());
    list.load();
    tally(list, opponents);
    list.addgame(QStringLiteral("Dan"), roster(QStringList {"Me"} + opponents, 1));
    list.moverow(row);
    QCOMPARE(list.talliedNames(), left);
    QCOMPARE(list.table()->rows(), 1 + left.size());
    QCOMPARE(list.ownTotal(TallyList::totalGames), QStringLiteral("1"));
    for (int r = 1; r < list.table()->rows(); ++r) // the rows that moved up kept their counts
        QCOMPARE(list.table()->cell(1, r), QStringLiteral("1"));
}

void TestTally::tickingATalliedNameAddsNoSecondRow()
{
    TallyList list(dir->path());
    list.load();
    tally(list, {QStringLiteral("Ben")});
    list.checklistClickCheck(QStringLiteral("Ben"), false);
    list.checklistClickCheck(QStringLiteral("Ben"), true);
    list.loadchecklist(roster({"Me", "Ben"}, 1));
    list.checklistClickCheck(QStringLiteral("Ben"), true);
    QCOMPARE(list.talliedNames(), QStringList {QStringLiteral("Ben")});
    QCOMPARE(list.table()->rows(), 2);
}

void TestTally::namesWithLineBreaksAreNotTallied()
{
    TallyList list(dir->path());
    list.load();
    tally(list, {QStringLiteral("Ben\r\n5")});
    QVERIFY(list.talliedNames().isEmpty());
    QVERIFY(!list.currentPlayers().at(0).ticked);
}

void TestTally::resetKeepsOnlyZeroedOwnTotals()
{
    TallyList list(dir->path());
    list.load();
    tally(list, {QStringLiteral("Ben"), QStringLiteral("Cara")});
    list.addgame(QStringLiteral("Me"), roster({"Me", "Ben", "Cara"}, 1));
    list.addtomineset(TallyList::mostWordsInRound, 9);
    list.addtomineincrease(TallyList::longWords);
    list.reset();
    QCOMPARE(list.table()->rows(), 1);
    for (int column = 1; column <= 4; ++column)
        QCOMPARE(list.ownTotal(column), QStringLiteral("0"));
    QVERIFY(!list.currentPlayers().at(0).ticked);
    TallyTable onDisk;
    TallyFile(dir->path()).load(onDisk);
    QCOMPARE(onDisk.rows(), 1);
    QCOMPARE(onDisk.cell(TallyList::yourWins, 0), QStringLiteral("0"));
}

void TestTally::owntotalsTakeOnlyTheirColumns()
{
    TallyList list(dir->path());
    list.load();
    list.addtomineincrease(TallyList::longWords);
    list.addtomineincrease(TallyList::longWords);
    list.addtomineincrease(5);
    list.addtomineincrease(-1);
    list.addtomineset(TallyList::mostWordsInRound, 12);
    list.addtomineset(0, 12);
    list.addtomineset(TallyList::mostWordsInRound + 10, 12);
    list.addtomineset(TallyList::totalGames, -4);
    QCOMPARE(list.ownTotal(TallyList::longWords), QStringLiteral("2"));
    QCOMPARE(list.ownTotal(TallyList::mostWordsInRound), QStringLiteral("12"));
    QCOMPARE(list.ownTotal(TallyList::totalGames), QStringLiteral("0"));
    for (int column : {0, 5, 6, 7, 8})
        QCOMPARE(list.ownTotal(column), QStringLiteral("0"));
}

void TestTally::recordRoundWordsKeepsTheBest_data()
{
    QTest::addColumn<QString>("best");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("after");
    QTest::newRow("more words") << "7" << 8 << "8";
    QTest::newRow("as many words") << "7" << 7 << "7";
    QTest::newRow("fewer words") << "7" << 3 << "7";
    QTest::newRow("a total that is not a number") << "lots" << 30 << "lots";
}

void TestTally::recordRoundWordsKeepsTheBest()
{
    QFETCH(QString, best);
    QFETCH(int, found);
    QFETCH(QString, after);
    TallyList list(dir->path());
    list.load();
    list.table()->setCell(TallyList::mostWordsInRound, 0, best);
    list.recordRoundWords(found);
    QCOMPARE(list.ownTotal(TallyList::mostWordsInRound), after);
}

void TestTally::additStartsUnreadableCountsFromZero()
{
    TallyTable table;
    table.appendOpponent(QStringLiteral("Ben"));
    table.setCell(2, 1, QStringLiteral("x7"));
    table.setCell(3, 1, QString());
    table.setCell(4, 1, QStringLiteral("41"));
    QCOMPARE(table.addit(2, 1), qint64(1));
    QCOMPARE(table.addit(3, 1), qint64(1));
    QCOMPARE(table.addit(4, 1), qint64(42));
    QCOMPARE(table.addit(9, 1), qint64(-1));
    QCOMPARE(table.addit(1, 2), qint64(-1));
}

QTEST_GUILESS_MAIN(TestTally)
#include "tst_tally.moc"
