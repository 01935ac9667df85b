#include "sortedlines.h"
#include "wordnet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <tuple>

using Pos = WordNet::PartOfSpeech;

namespace {

const QString sampleFolder = QStringLiteral(WENDLEWICK_SOURCE_DIR "/tests/dict/wordnet");
const char *const suffixes[] = {"noun", "verb", "adj", "adv"};

QByteArray sampleFile(const QString &name)
{
    QFile f(QDir(sampleFolder).filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::array<WordNet::Files, WordNet::partsOfSpeech> sampleFiles()
{
    std::array<WordNet::Files, WordNet::partsOfSpeech> files;
    for (size_t i = 0; i < files.size(); ++i) {
        const QString s = QLatin1StringView(suffixes[i]);
        files[i] = {sampleFile(QStringLiteral("index.") + s), sampleFile(QStringLiteral("data.") + s),
            sampleFile(s + QStringLiteral(".exc"))};
    }
    return files;
}

// "verb run: move fast on foot / be in charge of; noun run: a quick pace ..."
QString describe(const QList<WordNet::Meaning> &meanings)
{
    QStringList parts;
    for (const WordNet::Meaning &m : meanings)
        parts << WordNet::name(m.pos) + u' ' + m.lemma + u": " + m.glosses.join(QStringLiteral(" / "));
    return parts.join(QStringLiteral("; "));
}

} // namespace

class TestWordNet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sortedLinesAreSearchedByTheirFirstField_data();
    void sortedLinesAreSearchedByTheirFirstField();
    void wordsAreDefinedFromTheirBaseForms_data();
    void wordsAreDefinedFromTheirBaseForms();
    void damagedFilesGiveNoWrongSense_data();
    void damagedFilesGiveNoWrongSense();
    void aMissingDatabaseSaysSo();
    void theInstalledDatabaseIsRead();
};

void TestWordNet::sortedLinesAreSearchedByTheirFirstField_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("line");

    const QByteArray text = "  1 header line\n  2 header\na x\nab y\nabc z\nb 1 2\nba\n";
    QTest::newRow("first") << text << QByteArray("a") << QByteArray("a x");
    QTest::newRow("a longer key after its prefix") << text << QByteArray("ab") << QByteArray("ab y");
    QTest::newRow("a line that is only a key") << text << QByteArray("ba") << QByteArray("ba");
    QTest::newRow("missing between") << text << QByteArray("aa") << QByteArray();
    QTest::newRow("missing after the last") << text << QByteArray("zz") << QByteArray();
    QTest::newRow("the header's empty field is never found") << text << QByteArray("") << QByteArray();
    QTest::newRow("the header's text is no key") << text << QByteArray("1") << QByteArray();
    QTest::newRow("CR LF and no last line end")
        << QByteArray("a 1\r\nb 2") << QByteArray("b") << QByteArray("b 2");
    QTest::newRow("CR LF") << QByteArray("a 1\r\nb 2") << QByteArray("a") << QByteArray("a 1");
    QTest::newRow("empty text") << QByteArray() << QByteArray("a") << QByteArray();
    QTest::newRow("no line end at all") << QByteArray(100000, 'q') << QByteArray("q") << QByteArray();
}

void TestWordNet::sortedLinesAreSearchedByTheirFirstField()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, line);
    const SortedLines lines(text);
    QCOMPARE(lines.find(key).toByteArray(), line);
}

void TestWordNet::wordsAreDefinedFromTheirBaseForms_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meanings");

    const QString cat = QStringLiteral("noun cat: a small furry animal kept as a pet or for catching mice / "
                                       "a man, in the slang of jazz players");
    const QString run = QStringLiteral(
        "verb run: move fast on foot / be in charge of; noun run: a quick pace, faster than walking");
    QTest::newRow("base form, examples left out") << "CAT" << cat;
    QTest::newRow("noun s") << "CATS" << cat;
    QTest::newRow("noun xes") << "BOXES"
                              << "noun box: a container with a flat base and sides";
    QTest::newRow("noun ches") << "CHURCHES"
                               << "noun church: a building for public worship";
    QTest::newRow("noun ies") << "CITIES"
                              << "noun city: a large and busy town";
    QTest::newRow("noun exception") << "MEN"
                                    << "noun man: an adult male person";
    QTest::newRow("exception of two bases")
        << "AXES"
        << "noun ax: a tool with a heavy blade on a handle, for chopping wood; "
           "noun axis: a straight line about which a body turns";
    QTest::newRow("noun ful") << "BOXESFUL"
                              << "noun boxful: the amount a box holds";
    QTest::newRow("most tagged first, first senses first") << "RUN" << run;
    QTest::newRow("verb exception") << "RAN"
                                    << "verb run: move fast on foot / be in charge of";
    QTest::newRow("verb exception of a doubled letter") << "running"
                                                        << "verb run: move fast on foot / be in charge of";
    QTest::newRow("verb ed to e") << "BAKED"
                                  << "verb bake: cook by dry heat in an oven";
    QTest::newRow("verb ing to e") << "BAKING"
                                   << "verb bake: cook by dry heat in an oven";
    QTest::newRow("verb ed") << "JUMPED"
                             << "verb jump: push oneself off the ground with the legs";
    QTest::newRow("three senses at most, over parts of speech")
        << "LEAVES"
        << "verb leave: go away from a place; noun leaf: a flat green part of a plant that grows from its "
           "stem; noun leave: time away from work or duty";
    QTest::newRow("adjective exception") << "BIGGER"
                                         << "adjective big: above average in size";
    QTest::newRow("adjective er to e") << "NICER"
                                       << "adjective nice: pleasant or agreeable";
    QTest::newRow("adjective est") << "TALLEST"
                                   << "adjective tall: of more than average height";
    QTest::newRow("adjective and adverb exceptions")
        << "BETTER"
        << "adjective good: having the right qualities; adverb well: in a good or proper way";
    QTest::newRow("unknown") << "ZOO"
                             << "";
    QTest::newRow("not a plain word") << "C-AT"
                                      << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestWordNet::wordsAreDefinedFromTheirBaseForms()
{
    QFETCH(QString, word);
    QFETCH(QString, meanings);

    WordNet fromFolder(sampleFolder);
    QCOMPARE(describe(fromFolder.define(word)), meanings);
    QVERIFY(fromFolder.isAvailable());
    WordNet inMemory(sampleFiles());
    QCOMPARE(describe(inMemory.define(word)), meanings);
}

void TestWordNet::damagedFilesGiveNoWrongSense_data()
{
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("file"); // "index", "data" or "exceptions"
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meanings");

    const int noun = int(Pos::Noun);
    const QString box = QStringLiteral("noun box: a container with a flat base and sides");
    QTest::newRow("offset past the end") << noun << "index" << QByteArray("box n 1 0 1 1 00000808")
                                         << QByteArray("box n 1 0 1 1 99999999") << "BOX"
                                         << "";
    QTest::newRow("offset into the middle of a line")
        << noun << "index" << QByteArray("box n 1 0 1 1 00000808") << QByteArray("box n 1 0 1 1 00000810")
        << "BOX"
        << "";
    QTest::newRow("a damaged first sense gives way to the second")
        << noun << "data" << QByteArray("00000215 01") << QByteArray("00000216 01") << "CAT"
        << "noun cat: a man, in the slang of jazz players";
    QTest::newRow("a line without a gloss")
        << noun << "data" << QByteArray("| a container") << QByteArray("  a container") << "BOX"
        << "";
    QTest::newRow("counts far beyond the line") << noun << "index" << QByteArray("box n 1 0 1 1")
                                                << QByteArray("box n 99999999 99999999 1 1") << "BOX"
                                                << "";
    QTest::newRow("a count that is no number")
        << noun << "index" << QByteArray("box n 1 0") << QByteArray("box n x 0") << "BOX"
        << "";
    QTest::newRow("a gloss of control characters") << noun << "data" << QByteArray("a container with")
                                                   << QByteArray("a\x01\x7f container\twith") << "BOX"
                                                   << "noun box: a   container with a flat base and sides";
    QTest::newRow("a gloss far too long")
        << noun << "data" << QByteArray("a container with") << QByteArray(5000, 'w') << "BOX"
        << QStringLiteral("noun box: ") + QString(399, u'w') + QChar(0x2026);
    QTest::newRow("a data line too long to read")
        << noun << "data" << QByteArray("a container with") << QByteArray(WordNet::maxDataLine, 'w') << "BOX"
        << "";
    QTest::newRow("an exception naming bases not in the index")
        << noun << "exceptions" << QByteArray("men man") << QByteArray("men xx yy zz") << "MEN"
        << "";
    QTest::newRow("an exception line of a key alone")
        << noun << "exceptions" << QByteArray("men man") << QByteArray("men") << "MEN"
        << "";
    QTest::newRow("an index out of order")
        << noun << "index" << QByteArray("animal n") << QByteArray("zzzzzz n") << "BOX" << box;
}

void TestWordNet::damagedFilesGiveNoWrongSense()
{
    QFETCH(int, part);
    QFETCH(QString, file);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, word);
    QFETCH(QString, meanings);

    auto files = sampleFiles();
    WordNet::Files &f = files[size_t(part)];
    QByteArray &bytes = file == u"index" ? f.index : (file == u"data" ? f.data : f.exceptions);
    QVERIFY(bytes.contains(from));
    bytes.replace(from, to);
    WordNet wordnet(files);
    QCOMPARE(describe(wordnet.define(word)), meanings);
}

void TestWordNet::aMissingDatabaseSaysSo()
{
    QTemporaryDir dir;
    WordNet none(dir.filePath(QStringLiteral("nowhere")));
    QVERIFY(!none.isAvailable());
    QVERIFY(none.define(QStringLiteral("CAT")).isEmpty());

    // Only the nouns installed: nouns are defined, the rest is not.
    for (const char *name : {"index.noun", "data.noun"})
        QVERIFY(QFile::copy(
            QDir(sampleFolder).filePath(QLatin1StringView(name)), dir.filePath(QLatin1StringView(name))));
    WordNet nouns(dir.path());
    QVERIFY(nouns.isAvailable());
    QCOMPARE(
        describe(nouns.define(QStringLiteral("BOXES"))), "noun box: a container with a flat base and sides");
    QVERIFY(nouns.define(QStringLiteral("BAKED")).isEmpty());

    qputenv(WordNet::folderVariable, dir.path().toLocal8Bit());
    QCOMPARE(WordNet::defaultFolder(), dir.path());
    qunsetenv(WordNet::folderVariable);
}

void TestWordNet::theInstalledDatabaseIsRead()
{
    qunsetenv(WordNet::folderVariable);
    WordNet installed;
    if (!installed.isAvailable())
        QSKIP("WordNet is not installed (wordnet-base)");
    for (const auto &[word, pos, lemma] : {std::tuple {"CATS", Pos::Noun, "cat"},
             std::tuple {"RAN", Pos::Verb, "run"}, std::tuple {"BIGGEST", Pos::Adjective, "big"}}) {
        const QList<WordNet::Meaning> meanings = installed.define(QLatin1StringView(word));
        QVERIFY2(std::any_of(meanings.begin(), meanings.end(),
                     [&](const WordNet::Meaning &m) {
                         return m.pos == pos && m.lemma == QLatin1StringView(lemma);
                     }),
            word);
        int senses = 0;
        for (const WordNet::Meaning &m : meanings)
            senses += int(m.glosses.size());
        QCOMPARE(senses, WordNet::maxSenses);
    }
}

QTEST_GUILESS_MAIN(TestWordNet)
#include "tst_wordnet.moc"
