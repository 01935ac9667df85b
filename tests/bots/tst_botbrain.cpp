#include "botbrain.h"
#include "botsimulation.h"
#include "tdictn.h"
#include "wordtrie.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct Dictionary
{
    QTemporaryDir dir;
    std::unique_ptr<TDictn> dict;
    WordTrie trie;
};

const WordTrie &builtinTrie()
{
    static Dictionary d = [] {
        Dictionary made;
        made.dict = std::make_unique<TDictn>(made.dir.path(), TDictn::builtinResource);
        made.trie = WordTrie::fromDictionary(*made.dict);
        return made;
    }();
    return d.trie;
}

SolvedWord solved(const QString &word)
{
    SolvedWord w;
    w.word = word;
    for (int i = 0; i < word.size(); ++i)
        w.path.append({0, i});
    w.firstPoints = BoardSolver::basePoints(int(word.size())) + 1;
    w.laterPoints = BoardSolver::basePoints(int(word.size()));
    return w;
}

constexpr qint64 threeMinutes = 180 * 1000;

} // namespace

class TestBotBrain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(builtinTrie().wordCount() > 100000); }

    void strengthsOrderByPointsOverManyRounds_data()
    {
        QTest::addColumn<int>("sizeCode");
        QTest::addColumn<int>("minLetters");
        QTest::newRow("4x4, 4 letters") << 4 << 4;
        QTest::newRow("4x4, 3 letters") << 4 << 3;
        QTest::newRow("7x7, 4 letters") << 10 << 4;
        QTest::newRow("10x10, 5 letters") << 7 << 5;
    }

    void strengthsOrderByPointsOverManyRounds()
    {
        QFETCH(int, sizeCode);
        QFETCH(int, minLetters);
        const auto tallies = botsimulation::playRounds(builtinTrie(),
            {BotStrength::Easy, BotStrength::Medium, BotStrength::Hard}, sizeCode, minLetters, 180, 100,
            20261208);
        const auto &easy = tallies[0];
        const auto &medium = tallies[1];
        const auto &hard = tallies[2];
        QVERIFY2(hard.points > medium.points,
            qPrintable(QStringLiteral("hard %1, medium %2").arg(hard.points).arg(medium.points)));
        QVERIFY2(medium.points > easy.points,
            qPrintable(QStringLiteral("medium %1, easy %2").arg(medium.points).arg(easy.points)));
        QVERIFY(easy.points > 0);
        // Nobody knows what the others found: many words are claimed after someone else.
        for (const auto &t : tallies)
            QVERIFY(t.firsts < t.claims);
    }

    // Hard beats most people on a 4×4 board at 3 minutes; easy finds a few short
    // words a minute at most.
    void claimsPerRoundSuitEachStrength_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<double>("fewest");
        QTest::addColumn<double>("most");
        QTest::newRow("easy") << int(BotStrength::Easy) << 1.0 << 9.0;
        QTest::newRow("medium") << int(BotStrength::Medium) << 6.0 << 20.0;
        QTest::newRow("hard") << int(BotStrength::Hard) << 22.0 << 40.0;
    }

    void claimsPerRoundSuitEachStrength()
    {
        QFETCH(int, level);
        QFETCH(double, fewest);
        QFETCH(double, most);
        constexpr int rounds = 100;
        const auto tallies
            = botsimulation::playRounds(builtinTrie(), {BotStrength::Level(level)}, 4, 3, 180, rounds, 7);
        const double perRound = double(tallies[0].claims) / rounds;
        QVERIFY2(perRound >= fewest && perRound <= most, qPrintable(QString::number(perRound)));
    }

    void everyPlanKeepsTheFairPlayRules_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("sizeCode");
        QTest::addColumn<int>("minLetters");
        for (int level : {BotStrength::Easy, BotStrength::Medium, BotStrength::Hard}) {
            for (int sizeCode : {4, 7}) {
                const QByteArray name = BotStrength::nameOf(BotStrength::Level(level)).toLatin1()
                    + " on code " + QByteArray::number(sizeCode);
                QTest::newRow(name.constData()) << level << sizeCode << (sizeCode == 4 ? 3 : 5);
            }
        }
    }

    void everyPlanKeepsTheFairPlayRules()
    {
        QFETCH(int, level);
        QFETCH(int, sizeCode);
        QFETCH(int, minLetters);
        const BotStrength &strength = BotStrength::of(BotStrength::Level(level));
        BotBrain brain(strength);
        std::mt19937 boards(99);
        QRandomGenerator random(99);
        BoardSolver solver(builtinTrie());
        for (int round = 0; round < 40; ++round) {
            const QList<SolvedWord> words = solver.solve(randomboard::deal(sizeCode, boards));
            QSet<QString> onBoard;
            for (const SolvedWord &w : words)
                onBoard.insert(w.word);
            brain.planRound(words, minLetters, threeMinutes, random);
            QSet<QString> claimed;
            qint64 previous = -BotStrength::minClaimGapMs;
            for (const BotBrain::Claim &c : brain.plan()) {
                const int letters = int(c.word.path.size());
                QVERIFY(onBoard.contains(c.word.word));
                QVERIFY2(!claimed.contains(c.word.word), qPrintable(c.word.word));
                claimed.insert(c.word.word);
                QVERIFY(letters >= minLetters);
                QVERIFY(letters <= strength.longestWord);
                QVERIFY(c.atMs >= brain.earliestFor(letters));
                QVERIFY(c.atMs - previous >= BotStrength::minClaimGapMs);
                QVERIFY(c.atMs < threeMinutes - BotBrain::endMarginMs);
                previous = c.atMs;
            }
        }
    }

    void aClaimIsGivenOnlyOnceItsTimeHasCome()
    {
        BotBrain brain(BotStrength::of(BotStrength::Hard));
        QRandomGenerator random(1);
        QList<SolvedWord> words;
        for (const char *w : {"TEAR", "RATE", "TARE", "STARE", "TEARS"})
            words.append(solved(QString::fromLatin1(w)));
        // A hard player knows most words; try seeds until one is planned.
        for (int i = 0; i < 20 && brain.plan().isEmpty(); ++i)
            brain.planRound(words, 4, threeMinutes, random);
        QVERIFY(!brain.plan().isEmpty());
        const qint64 first = brain.plan().first().atMs;
        QCOMPARE(brain.nextClaimAt(), first);
        QVERIFY(!brain.takeClaim(first - 1));
        const auto taken = brain.takeClaim(first);
        QVERIFY(taken);
        QCOMPARE(taken->word, brain.plan().first().word.word);
        brain.clear();
        QVERIFY(!brain.nextClaimAt());
        QVERIFY(!brain.takeClaim(threeMinutes));
    }

    void nothingIsPlannedWithoutWordsItMayClaim_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("minLetters");
        QTest::addColumn<qint64>("roundMs");
        QTest::newRow("empty board") << QStringList() << 3 << threeMinutes;
        QTest::newRow("all shorter than the minimum")
            << QStringList {"CAT", "DOG", "TEAR"} << 5 << threeMinutes;
        QTest::newRow("minimum beyond any claim") << QStringList {"TEARS"} << 13 << threeMinutes;
        QTest::newRow("round too short to trace a word") << QStringList {"CAT", "DOG"} << 3 << qint64(1000);
        QTest::newRow("no round at all") << QStringList {"CAT"} << 3 << qint64(-5);
    }

    void nothingIsPlannedWithoutWordsItMayClaim()
    {
        QFETCH(QStringList, words);
        QFETCH(int, minLetters);
        QFETCH(qint64, roundMs);
        QList<SolvedWord> list;
        for (const QString &w : words)
            list.append(solved(w));
        BotBrain brain(BotStrength::of(BotStrength::Hard));
        QRandomGenerator random(5);
        for (int i = 0; i < 20; ++i) {
            brain.planRound(list, minLetters, roundMs, random);
            QVERIFY(brain.plan().isEmpty());
        }
    }

    void easyNeverTriesLongWords()
    {
        QList<SolvedWord> words;
        for (const char *w : {"STRAINED", "TRAINED", "STAINED"})
            words.append(solved(QString::fromLatin1(w)));
        BotBrain brain(BotStrength::of(BotStrength::Easy));
        QRandomGenerator random(3);
        for (int i = 0; i < 50; ++i) {
            brain.planRound(words, 3, threeMinutes, random);
            QVERIFY(brain.plan().isEmpty());
        }
    }

    void levelsAreNamedForTheCommandLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("level");
        QTest::newRow("easy") << "easy" << int(BotStrength::Easy);
        QTest::newRow("Medium") << "Medium" << int(BotStrength::Medium);
        QTest::newRow("HARD") << "HARD" << int(BotStrength::Hard);
        QTest::newRow("unknown") << "expert" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void levelsAreNamedForTheCommandLine()
    {
        QFETCH(QString, text);
        QFETCH(int, level);
        const auto parsed = BotStrength::levelFromName(text);
        QCOMPARE(parsed ? int(*parsed) : -1, level);
        if (parsed)
            QCOMPARE(BotStrength::levelFromName(BotStrength::nameOf(*parsed)), parsed);
    }
};

QTEST_GUILESS_MAIN(TestBotBrain)
#include "tst_botbrain.moc"
