#include "tdictn.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

namespace {

QByteArray record(const char *word)
{
    QByteArray r(1, '\x1e');
    r += QByteArray(word).leftJustified(14, ' ', true);
    return r;
}

// A small sorted list: a word before its longer forms, a run of three equal
// 14-letter stems, first and last records.
const char *const smallList[] = {
    "AAL",
    "AALS",
    "CAT",
    "CATS",
    "INTERNATIONALI",
    "INTERNATIONALI",
    "INTERNATIONALI",
    "INTERNATIONALS",
    "ZYZZYVA",
};

QByteArray smallBlock()
{
    QByteArray block;
    for (const char *w : smallList)
        block += record(w);
    return block;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestDictionary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wordkeyNormalises_data();
    void wordkeyNormalises();
    void findwordAnswersEveryQueryForm_data();
    void findwordAnswersEveryQueryForm();
    void malformedFilesAreSearchedSafely_data();
    void malformedFilesAreSearchedSafely();
    void missingResourceAndFileLeaveItClosed();
    void builtinListIsWrittenSearchedAndDeleted();
    void everyBuiltinRecordIsFoundAtTheStartOfItsRun();
    void lookupsOutliveATruncatedFile();
    void foreignFileIsTrustedAndKept();
    void staleCopyOfTheBuiltinListIsRemovedAtExit();
    void readRecordsCopiesWholeRecordsInsideTheFile_data();
    void readRecordsCopiesWholeRecordsInsideTheFile();
};

void TestDictionary::wordkeyNormalises_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("key");
    const QByteArray cat = QByteArray("CAT").leftJustified(15);
    QTest::newRow("lower") << QByteArray("cat") << cat;
    QTest::newRow("mixed") << QByteArray("Cat") << cat;
    QTest::newRow("blanks around") << QByteArray("  CAT   ") << cat;
    QTest::newRow("NUL as blank") << QByteArray("\0cat\0", 5) << cat;
    QTest::newRow("inner NUL") << QByteArray("c\0t", 3) << QByteArray("C T").leftJustified(15);
    QTest::newRow("empty") << QByteArray() << QByteArray(15, ' ');
    QTest::newRow("only letters change")
        << QByteArray("a1'\xe9z") << QByteArray("A1'\xe9Z").leftJustified(15);
    QTest::newRow("15 letters kept") << QByteArray("abcdefghijklmno") << QByteArray("ABCDEFGHIJKLMNO");
    QTest::newRow("longer kept") << QByteArray(20, 'q') << QByteArray(20, 'Q');
}

void TestDictionary::wordkeyNormalises()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, key);
    QCOMPARE(TDictn::wordkey(text), key);
}

void TestDictionary::findwordAnswersEveryQueryForm_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<qint64>("position");
    QTest::newRow("cat") << QByteArray("cat") << qint64(2);
    QTest::newRow("Cat") << QByteArray("Cat") << qint64(2);
    QTest::newRow("CAT blanks") << QByteArray("  CAT ") << qint64(2);
    QTest::newRow("first record") << QByteArray("aal") << qint64(0);
    QTest::newRow("longer form") << QByteArray("aals") << qint64(1);
    QTest::newRow("last record") << QByteArray("zyzzyva") << qint64(8);
    QTest::newRow("run lands on first") << QByteArray("internationali") << qint64(4);
    QTest::newRow("15 letters never match") << QByteArray("internationaliz") << qint64(-1);
    QTest::newRow("absent") << QByteArray("dog") << qint64(-1);
    QTest::newRow("prefix only") << QByteArray("ca") << qint64(-1);
    QTest::newRow("empty") << QByteArray() << qint64(-1);
    QTest::newRow("blanks") << QByteArray("     ") << qint64(-1);
    QTest::newRow("digits") << QByteArray("c4t") << qint64(-1);
    QTest::newRow("apostrophe") << QByteArray("cat's") << qint64(-1);
    QTest::newRow("NUL inside") << QByteArray("ca\0t", 4) << qint64(-1);
    QTest::newRow("high bytes") << QByteArray("\xff\xfe\x80") << qint64(-1);
    QTest::newRow("300 chars") << QByteArray(300, 'a') << qint64(-1);
    QTest::newRow("cat then 300 blanks") << QByteArray("cat") + QByteArray(300, ' ') << qint64(2);
    QTest::newRow("only first 255 count") << QByteArray(255, ' ') + "cat" << qint64(-1);
}

void TestDictionary::findwordAnswersEveryQueryForm()
{
    QFETCH(QByteArray, query);
    QFETCH(qint64, position);
    QTemporaryDir dir;
    writeFile(dir.filePath(TDictn::fileName), smallBlock());
    for (auto access : {TDictn::Access::Loaded, TDictn::Access::Reads}) {
        TDictn spell(dir.path(), QString(), nullptr, access);
        QVERIFY(spell.isOpen());
        QCOMPARE(spell.isLoaded(), access == TDictn::Access::Loaded);
        QCOMPARE(spell.findword(QByteArrayView(query)), position);
        QCOMPARE(spell.isword(QByteArrayView(query)), position >= 0);
        QCOMPARE(spell.findword(QString::fromLatin1(query)), position);
    }
}

void TestDictionary::malformedFilesAreSearchedSafely_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<qint64>("records");
    QTest::addColumn<bool>("catFound");
    QTest::newRow("empty") << QByteArray() << qint64(0) << false;
    QTest::newRow("shorter than a record") << QByteArray("\x1e"
                                                         "CAT")
                                           << qint64(0) << false;
    QTest::newRow("last record cut short") << smallBlock().chopped(7) << qint64(8) << true;
    QTest::newRow("size not a multiple") << smallBlock() + "xx" << qint64(9) << true;
    QTest::newRow("lower case and blanks in records")
        << record(" aal") + record("cat") + record("dog") << qint64(3) << true;
    QTest::newRow("NUL padding") << QByteArray("\x1e"
                                               "CAT\0\0\0\0\0\0\0\0\0\0\0",
        15) << qint64(1) << true;
    QTest::newRow("garbage") << QByteArray(1000, '\xff') << qint64(66) << false;
}

void TestDictionary::malformedFilesAreSearchedSafely()
{
    QFETCH(QByteArray, contents);
    QFETCH(qint64, records);
    QFETCH(bool, catFound);
    QTemporaryDir dir;
    writeFile(dir.filePath(TDictn::fileName), contents);
    for (auto access : {TDictn::Access::Loaded, TDictn::Access::Reads}) {
        TDictn spell(dir.path(), QString(), nullptr, access);
        QVERIFY(spell.isOpen());
        QCOMPARE(spell.recordCount(), records);
        QCOMPARE(spell.isword(QByteArrayView("cat")), catFound);
        QVERIFY(!spell.isword(QByteArrayView("zzzzzzzzzzzzzz")));
        QVERIFY(!spell.isword(QByteArrayView("a")));
    }
}

void TestDictionary::missingResourceAndFileLeaveItClosed()
{
    QTemporaryDir dir;
    {
        TDictn spell(dir.path(), QStringLiteral(":/no/such/resource"));
        QVERIFY(!spell.isOpen());
        QVERIFY(!spell.isword(QStringLiteral("cat")));
        QCOMPARE(spell.findword(QStringLiteral("a")), qint64(-1));
    }
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestDictionary::builtinListIsWrittenSearchedAndDeleted()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TDictn::fileName);
    {
        TDictn spell(dir.path(), TDictn::builtinResource);
        QVERIFY(spell.isOpen());
        QVERIFY(spell.isLoaded());
        QVERIFY(QFile::exists(path));
        QCOMPARE(QFileInfo(path).size(), spell.recordCount() * TDictn::recordSize);
        QVERIFY(spell.recordCount() > 150000);
        for (const char *w : {"cat", "cats", "walked", "quickest", "zebra", "Queen", "  apple  "})
            QVERIFY2(spell.isword(QString::fromLatin1(w)), w);
        for (const char *w : {"xqzt", "catt", "london", "don't", "abc", "ok"})
            QVERIFY2(!spell.isword(QString::fromLatin1(w)), w);
    }
    QVERIFY(!QFile::exists(path));
}

void TestDictionary::everyBuiltinRecordIsFoundAtTheStartOfItsRun()
{
    QFile res(TDictn::builtinResource);
    QVERIFY(res.open(QIODevice::ReadOnly));
    const QByteArray block = res.readAll();
    QTemporaryDir dir;
    TDictn spell(dir.path(), TDictn::builtinResource);
    QCOMPARE(spell.recordCount(), block.size() / TDictn::recordSize);
    QVERIFY(!block.contains('\0'));
    qint64 runStart = 0;
    QByteArrayView previous;
    for (qint64 i = 0; i < spell.recordCount(); ++i) {
        const QByteArrayView rec(block.constData() + i * TDictn::recordSize, TDictn::recordSize);
        QCOMPARE(rec[0], '\x1e');
        if (rec != previous)
            runStart = i;
        QVERIFY2(previous.isEmpty() || previous <= rec, "records out of order");
        if (spell.findword(rec.sliced(1)) != runStart)
            QFAIL(qPrintable(QStringLiteral("record %1 (%2) not found at %3")
                                 .arg(i)
                                 .arg(QString::fromLatin1(rec.sliced(1)))
                                 .arg(runStart)));
        previous = rec;
    }
}

void TestDictionary::lookupsOutliveATruncatedFile()
{
    // Another program cutting the file short used to kill the next lookup (SIGBUS).
    QTemporaryDir dir;
    TDictn spell(dir.path(), TDictn::builtinResource);
    QVERIFY(spell.isLoaded());
    QFile file(spell.filePath());
    QVERIFY(file.resize(0));
    QVERIFY(spell.isword(QStringLiteral("zebra")));
    QVERIFY(!spell.isword(QStringLiteral("xqzt")));
}

void TestDictionary::foreignFileIsTrustedAndKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TDictn::fileName);
    writeFile(path, smallBlock());
    {
        TDictn spell(dir.path(), TDictn::builtinResource);
        QVERIFY(spell.isword(QStringLiteral("zyzzyva")));
        QVERIFY(!spell.isword(QStringLiteral("zebra")));
    }
    QVERIFY(QFile::exists(path));
}

void TestDictionary::staleCopyOfTheBuiltinListIsRemovedAtExit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TDictn::fileName);
    QVERIFY(QFile::copy(TDictn::builtinResource, path));
    {
        TDictn spell(dir.path(), TDictn::builtinResource);
        QVERIFY(spell.isword(QStringLiteral("zebra")));
    }
    QVERIFY(!QFile::exists(path));
}

void TestDictionary::readRecordsCopiesWholeRecordsInsideTheFile_data()
{
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<bool>("ok");
    QTest::newRow("all") << qint64(0) << qint64(9) << true;
    QTest::newRow("last") << qint64(8) << qint64(1) << true;
    QTest::newRow("none at the end") << qint64(9) << qint64(0) << true;
    QTest::newRow("past the end") << qint64(8) << qint64(2) << false;
    QTest::newRow("the cut-short tail") << qint64(9) << qint64(1) << false;
    QTest::newRow("negative first") << qint64(-1) << qint64(1) << false;
    QTest::newRow("negative count") << qint64(0) << qint64(-1) << false;
    QTest::newRow("huge count") << qint64(1) << std::numeric_limits<qint64>::max() << false;
}

void TestDictionary::readRecordsCopiesWholeRecordsInsideTheFile()
{
    QFETCH(qint64, first);
    QFETCH(qint64, count);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    writeFile(dir.filePath(TDictn::fileName), smallBlock() + record("CUT").left(4));
    for (auto access : {TDictn::Access::Loaded, TDictn::Access::Reads}) {
        TDictn spell(dir.path(), QString(), nullptr, access);
        QByteArray out(ok ? count * TDictn::recordSize : 0, '\0');
        QCOMPARE(spell.readRecords(first, count, out.data()), ok);
        if (ok)
            QCOMPARE(out, smallBlock().mid(first * TDictn::recordSize, count * TDictn::recordSize));
    }
}

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dict.moc"
