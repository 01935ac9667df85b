#include "boardsolver.h"
#include "lazywordtrie.h"
#include "randomboard.h"
#include "referencesolver.h"
#include "tdictn.h"
#include "wordtrie.h"
#include "wordtriebuilder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <memory>
#include <random>
#include <set>

namespace {

QByteArray record(const char *word)
{
    QByteArray r(1, '\x1e');
    r += QByteArray(word).leftJustified(14, ' ', true);
    return r;
}

QByteArray block(const QList<QByteArray> &words)
{
    QByteArray b;
    for (const QByteArray &w : words)
        b += record(w.constData());
    return b;
}

// The built-in list, written once into a temporary folder for the whole run.
struct BuiltinList
{
    QTemporaryDir dir;
    std::unique_ptr<TDictn> dict;
    WordTrie trie;
    std::unique_ptr<ReferenceSolver> reference;

    BuiltinList()
    {
        dict = std::make_unique<TDictn>(dir.path(), TDictn::builtinResource);
        trie = WordTrie::fromDictionary(*dict);
        reference = std::make_unique<ReferenceSolver>(*dict);
    }
};

BuiltinList &builtin()
{
    static BuiltinList list;
    return list;
}

BoardSolver::Board boardOf(const QList<QByteArray> &rows)
{
    BoardSolver::Board b = randomboard::emptyBoard();
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            const char ch = rows[r][c];
            if (ch >= 'A' && ch <= 'Z')
                b[size_t(r)][size_t(c)] = ch - 'A' + 1;
        }
    }
    return b;
}

// Checks every word against the board: a chain of neighbouring, distinct cells that
// holds its letters, and the points of its length.
void verifyPaths(const BoardSolver::Board &board, const QList<SolvedWord> &words)
{
    for (const SolvedWord &w : words) {
        QVERIFY2(w.path.size() == w.word.size(), qPrintable(w.word));
        QVERIFY(w.word.size() >= 3 && w.word.size() <= 12);
        std::set<std::pair<int, int>> seen;
        for (int i = 0; i < w.path.size(); ++i) {
            const BoardCell cell = w.path[i];
            QVERIFY(cell.row >= 0 && cell.row < 10 && cell.col >= 0 && cell.col < 10);
            QVERIFY2(seen.insert({cell.row, cell.col}).second, qPrintable(w.word));
            const qint32 code = board[size_t(cell.row)][size_t(cell.col)];
            QCOMPARE(w.word[i].toLatin1(), ReferenceSolver::hostLetter(code));
            if (i > 0) {
                const BoardCell prev = w.path[i - 1];
                QVERIFY2(
                    qAbs(cell.row - prev.row) <= 1 && qAbs(cell.col - prev.col) <= 1, qPrintable(w.word));
            }
        }
        QCOMPARE(w.laterPoints, BoardSolver::basePoints(int(w.word.size())));
        QCOMPARE(w.firstPoints, w.laterPoints + 1);
    }
}

// The solver's words equal the reference's, each once, longest first then alphabetical.
void verifyAgainstReference(const BoardSolver::Board &board, const QList<SolvedWord> &words)
{
    verifyPaths(board, words);
    if (QTest::currentTestFailed())
        return;
    const std::map<std::string, int> expected = builtin().reference->solve(board);
    std::set<std::string> got;
    for (const SolvedWord &w : words)
        QVERIFY2(got.insert(w.word.toStdString()).second, qPrintable(w.word + " listed twice"));
    std::set<std::string> want;
    for (const auto &[word, chains] : expected)
        want.insert(word);
    if (got != want) {
        for (const auto &w : want)
            QVERIFY2(got.count(w), ("missed " + w).c_str());
        for (const auto &w : got)
            QVERIFY2(want.count(w), ("not a word on this board: " + w).c_str());
    }
    for (int i = 1; i < words.size(); ++i) {
        const SolvedWord &a = words[i - 1], &b = words[i];
        QVERIFY(a.word.size() > b.word.size() || (a.word.size() == b.word.size() && a.word < b.word));
    }
}

} // namespace

class TestSolver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void solverFindsWhatTheReferenceFinds_data();
    void solverFindsWhatTheReferenceFinds();
    void strayCellCodesAreReadAsTheHostReadsThem_data();
    void strayCellCodesAreReadAsTheHostReadsThem();
    void boardsWithoutWordsYieldNothing_data();
    void boardsWithoutWordsYieldNothing();
    void twelveTilesIsTheLongestWord();
    void pointsFollowTheHostTable_data();
    void pointsFollowTheHostTable();
    void trieHoldsEveryBuiltinWordOfThreeToTwelveLetters();
    void trieHoldsWhatIswordAccepts_data();
    void trieHoldsWhatIswordAccepts();
    void equalEndingsAreStoredOnce();
    void closedDictionaryGivesAnEmptyTrie();
    void slicedBuildEqualsTheBuildInOneGo_data();
    void slicedBuildEqualsTheBuildInOneGo();
    void lazyTrieBuildsInSlicesFromTheEventLoop();
    void lazyTrieFinishesAtOnceWhenNeededEarly();
};

void TestSolver::initTestCase()
{
    QVERIFY(builtin().dict->isOpen());
    QVERIFY(builtin().trie.wordCount() > 100000);
}

void TestSolver::solverFindsWhatTheReferenceFinds_data()
{
    QTest::addColumn<int>("sizeCode");
    QTest::addColumn<int>("boards");
    QTest::newRow("4x4") << 4 << 300;
    QTest::newRow("5x5") << 9 << 150;
    QTest::newRow("6x6") << 5 << 100;
    QTest::newRow("7x7") << 10 << 60;
    QTest::newRow("8x8") << 6 << 40;
    QTest::newRow("9x9") << 11 << 25;
    QTest::newRow("10x10") << 7 << 20;
    QTest::newRow("a size per round") << 8 << 40;
    QTest::newRow("code 0 plays 4x4") << 0 << 20;
    QTest::newRow("code 12 plays 4x4") << 12 << 20;
}

void TestSolver::solverFindsWhatTheReferenceFinds()
{
    QFETCH(int, sizeCode);
    QFETCH(int, boards);
    BoardSolver solver(builtin().trie);
    std::mt19937 rng(7000u + unsigned(sizeCode));
    qsizetype total = 0;
    for (int i = 0; i < boards; ++i) {
        const BoardSolver::Board board = randomboard::deal(sizeCode, rng);
        const QList<SolvedWord> words = solver.solve(board);
        verifyAgainstReference(board, words);
        QVERIFY2(!QTest::currentTestFailed(), qPrintable(QStringLiteral("on board %1").arg(i)));
        total += words.size();
    }
    QVERIFY(total > boards); // boards of real letters hold words
}

void TestSolver::strayCellCodesAreReadAsTheHostReadsThem_data()
{
    QTest::addColumn<qint32>("code");
    QTest::addColumn<bool>("catFound");
    QTest::newRow("20 is T") << 20 << true;
    QTest::newRow("0 reads as T") << 0 << true;
    QTest::newRow("negative reads as T") << -7 << true;
    QTest::newRow("30 reads as T") << 30 << true;
    QTest::newRow("huge reads as T") << 1000000 << true;
    QTest::newRow("27 is no tile") << 27 << false;
    QTest::newRow("28 is no tile") << 28 << false;
    QTest::newRow("29 is no tile") << 29 << false;
}

void TestSolver::strayCellCodesAreReadAsTheHostReadsThem()
{
    QFETCH(qint32, code);
    QFETCH(bool, catFound);
    BoardSolver::Board board = boardOf({"", "", "", "", "", "", "", "", "", "       CA"});
    board[9][9] = code;
    BoardSolver solver(builtin().trie);
    const QList<SolvedWord> words = solver.solve(board);
    verifyAgainstReference(board, words);
    const auto cat
        = std::find_if(words.begin(), words.end(), [](const SolvedWord &w) { return w.word == "CAT"; });
    QCOMPARE(cat != words.end(), catFound);
    if (catFound)
        QCOMPARE(cat->path, (QList<BoardCell> {{9, 7}, {9, 8}, {9, 9}}));

    // Stray codes scattered over a whole board of letters.
    std::mt19937 rng(unsigned(code) * 31u + 5u);
    for (int i = 0; i < 10; ++i) {
        BoardSolver::Board mixed = randomboard::deal(7, rng);
        for (auto &row : mixed) {
            for (qint32 &cell : row) {
                if (rng() % 5 == 0)
                    cell = code;
            }
        }
        verifyAgainstReference(mixed, solver.solve(mixed));
        QVERIFY(!QTest::currentTestFailed());
    }
}

void TestSolver::boardsWithoutWordsYieldNothing_data()
{
    QTest::addColumn<qint32>("code");
    QTest::addColumn<int>("sizeCode");
    QTest::newRow("all cells without a tile") << 29 << 7;
    QTest::newRow("all 28") << 28 << 7;
    QTest::newRow("10x10 of B") << 2 << 7;
    QTest::newRow("4x4 of X") << 24 << 4;
    QTest::newRow("9x9 of Q") << 17 << 11;
    QTest::newRow("5x5 of V") << 22 << 9;
}

void TestSolver::boardsWithoutWordsYieldNothing()
{
    QFETCH(qint32, code);
    QFETCH(int, sizeCode);
    BoardSolver::Board board = randomboard::emptyBoard();
    const auto [lo, hi] = randomboard::playedRange(sizeCode);
    for (int r = lo; r <= hi; ++r) {
        for (int c = lo; c <= hi; ++c)
            board[size_t(r)][size_t(c)] = code;
    }
    BoardSolver solver(builtin().trie);
    const QList<SolvedWord> words = solver.solve(board);
    verifyAgainstReference(board, words);
    QVERIFY(words.isEmpty());
}

void TestSolver::twelveTilesIsTheLongestWord()
{
    // A snake through rows 0 and 1: row 0 left to right, then row 1 right to left.
    auto snake = [](const QByteArray &word) {
        QByteArray top = word.left(10), bottom = word.mid(10);
        std::reverse(bottom.begin(), bottom.end());
        return boardOf({top, bottom.rightJustified(10, ' ')});
    };
    TDictn &dict = *builtin().dict;
    QByteArray twelve, thirteen, stem;
    std::vector<char> rec(TDictn::recordSize);
    for (qint64 i = 0; i < dict.recordCount(); ++i) {
        QVERIFY(dict.readRecords(i, 1, rec.data()));
        const QByteArray w = QByteArray(rec.data() + 1, 14).trimmed();
        QByteArray *slot = w.size() == 12 ? &twelve
            : w.size() == 13              ? &thirteen
            : w.size() == 14              ? &stem
                                          : nullptr;
        if (slot && slot->isEmpty())
            *slot = w;
    }
    QVERIFY(!twelve.isEmpty() && !thirteen.isEmpty() && !stem.isEmpty());

    auto find = [](const QList<SolvedWord> &words, const QByteArray &word) {
        return std::find_if(words.begin(), words.end(), [&](const SolvedWord &w) { return w.word == word; });
    };
    BoardSolver solver(builtin().trie);
    BoardSolver::Board board = snake(twelve);
    QList<SolvedWord> words = solver.solve(board);
    verifyAgainstReference(board, words);
    const auto found = find(words, twelve);
    QVERIFY(found != words.end());
    QCOMPARE(found->firstPoints, 13);
    QCOMPARE(found->laterPoints, 12);

    for (const QByteArray &tooLong : {thirteen, stem}) {
        board = snake(tooLong);
        words = solver.solve(board);
        verifyAgainstReference(board, words);
        QVERIFY2(find(words, tooLong) == words.end(), tooLong.constData());
    }
}

void TestSolver::pointsFollowTheHostTable_data()
{
    QTest::addColumn<int>("tiles");
    QTest::addColumn<int>("later");
    const int table[][2]
        = {{3, 0}, {4, 1}, {5, 2}, {6, 3}, {7, 4}, {8, 5}, {9, 6}, {10, 7}, {11, 11}, {12, 12}};
    for (const auto &row : table)
        QTest::addRow("%d tiles", row[0]) << row[0] << row[1];
}

void TestSolver::pointsFollowTheHostTable()
{
    QFETCH(int, tiles);
    QFETCH(int, later);
    QCOMPARE(BoardSolver::basePoints(tiles), later);
}

void TestSolver::trieHoldsEveryBuiltinWordOfThreeToTwelveLetters()
{
    const TDictn &dict = *builtin().dict;
    const WordTrie &trie = builtin().trie;
    QVERIFY(dict.isIndexed());
    std::vector<char> records(size_t(dict.recordCount()) * TDictn::recordSize);
    QVERIFY(dict.readRecords(0, dict.recordCount(), records.data()));
    std::set<QByteArray> words;
    for (qint64 i = 0; i < dict.recordCount(); ++i) {
        const QByteArray w = QByteArray(records.data() + i * TDictn::recordSize + 1, 14).trimmed();
        const bool fits = w.size() >= 3 && w.size() <= 12;
        QVERIFY2(trie.contains(w) == fits, w.constData());
        if (fits)
            words.insert(w);
    }
    QCOMPARE(trie.wordCount(), qsizetype(words.size()));
    for (const char *notWord : {"", "A", "QQQ", "CATX", "ZZZZZZZZZZZZ", "cat", "CA T"})
        QVERIFY2(!trie.contains(notWord), notWord);
}

void TestSolver::trieHoldsWhatIswordAccepts_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("sorted list") << block({"AT", "CAT", "CATS", "DOG", "INTERNATIONAL", "INTERNATIONALI",
        "INTERNATIONALI", "ZOO"}) << QStringList {"CAT", "CATS", "DOG", "ZOO"};
    QTest::newRow("twelve letters") << block({"ABCDEFGHIJK", "ABCDEFGHIJKL", "ABCDEFGHIJKLM"})
                                    << QStringList {"ABCDEFGHIJK", "ABCDEFGHIJKL"};
    QTest::newRow("normalised by the key rules")
        << record("  ant") + record("bee") + QByteArray("\x1e\0\0cow\0\0\0\0\0\0\0\0\0", 15) + record("Dog")
        << QStringList {"ANT", "BEE", "COW", "DOG"};
    QTest::newRow("records no tiles can spell")
        << block({"ALL OF", "B4T", "CAT'S", "DOG", "E-MAIL", "\xc9TUDE"}) << QStringList {"DOG"};
    QTest::newRow("repeated words") << block({"CAT", "CAT", "CAT", "DOG", "DOG"})
                                    << QStringList {"CAT", "DOG"};
    // The binary search over these five finds only DOG and EEL.
    QTest::newRow("out of order") << block({"DOG", "CAT", "EEL", "ANT", "BEE"}) << QStringList {"DOG", "EEL"};
    QTest::newRow("cut short") << block({"CAT", "DOG"}) + record("EEL").left(4) << QStringList {"CAT", "DOG"};
    QTest::newRow("empty") << QByteArray() << QStringList {};
}

void TestSolver::trieHoldsWhatIswordAccepts()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    QFile f(dir.filePath(TDictn::fileName));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(contents), contents.size());
    f.close();
    for (auto access : {TDictn::Access::Loaded, TDictn::Access::Reads}) {
        TDictn dict(dir.path(), QString(), nullptr, access);
        const WordTrie trie = WordTrie::fromDictionary(dict);
        for (const char *w : {"AT", "CAT", "CATS", "DOG", "ZOO", "ANT", "BEE", "COW", "EEL", "INTERNATIONAL",
                 "INTERNATIONALI", "ABCDEFGHIJK", "ABCDEFGHIJKL", "ABCDEFGHIJKLM"}) {
            const bool want = expected.contains(QLatin1String(w));
            QVERIFY2(trie.contains(w) == want, w);
            QVERIFY2(!want || dict.isword(QByteArrayView(w)), w);
        }
        QCOMPARE(trie.wordCount(), expected.size());
    }
}

void TestSolver::equalEndingsAreStoredOnce()
{
    QTemporaryDir dir;
    QFile f(dir.filePath(TDictn::fileName));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(block({"BAKED", "BAKES", "CAKED", "CAKES", "COKED", "COKES"}));
    f.close();
    TDictn dict(dir.path(), QString());
    const WordTrie trie = WordTrie::fromDictionary(dict);
    // The root; B C; A under B; A O under C; then one K, one E and one D S for all
    // three (a full trie needs 18 nodes).
    QCOMPARE(trie.nodeCount(), 1 + 2 + 1 + 2 + 1 + 1 + 2);
    QCOMPARE(trie.wordCount(), 6);
    for (const char *w : {"BAKED", "BAKES", "CAKED", "CAKES", "COKED", "COKES"})
        QVERIFY2(trie.contains(w), w);
    for (const char *w : {"BOKED", "BAKE", "CAKE", "AKED", "COKE"})
        QVERIFY2(!trie.contains(w), w);
}

void TestSolver::closedDictionaryGivesAnEmptyTrie()
{
    QTemporaryDir dir;
    TDictn dict(dir.path(), QStringLiteral(":/no/such/list"));
    QVERIFY(!dict.isOpen());
    const WordTrie trie = WordTrie::fromDictionary(dict);
    QCOMPARE(trie.wordCount(), 0);
    BoardSolver solver(trie);
    std::mt19937 rng(1);
    QVERIFY(solver.solve(randomboard::deal(7, rng)).isEmpty());
    QVERIFY(BoardSolver(WordTrie()).solve(randomboard::deal(4, rng)).isEmpty());
}

void TestSolver::slicedBuildEqualsTheBuildInOneGo_data()
{
    QTest::addColumn<qsizetype>("units");
    QTest::newRow("1") << qsizetype(1);
    QTest::newRow("997") << qsizetype(997);
    QTest::newRow("default slice") << LazyWordTrie::defaultSliceUnits;
}

void TestSolver::slicedBuildEqualsTheBuildInOneGo()
{
    QFETCH(qsizetype, units);
    WordTrieBuilder builder(*builtin().dict);
    int steps = 1;
    while (!builder.step(units))
        ++steps;
    QVERIFY(steps > 1);
    const WordTrie sliced = builder.takeTrie();
    const WordTrie &whole = builtin().trie;
    QCOMPARE(sliced.nodeCount(), whole.nodeCount());
    QCOMPARE(sliced.wordCount(), whole.wordCount());
    QVERIFY(
        std::memcmp(sliced.nodes(), whole.nodes(), size_t(whole.nodeCount()) * sizeof(WordTrie::Node)) == 0);
}

void TestSolver::lazyTrieBuildsInSlicesFromTheEventLoop()
{
    LazyWordTrie lazy(*builtin().dict);
    QSignalSpy built(&lazy, &LazyWordTrie::built);
    lazy.start(4096);
    QVERIFY(!lazy.isBuilt());
    QVERIFY(built.wait());
    QVERIFY(lazy.isBuilt());
    QCOMPARE(lazy.trie().wordCount(), builtin().trie.wordCount());
    lazy.start();
    QCoreApplication::processEvents();
    QCOMPARE(built.count(), 1);
}

void TestSolver::lazyTrieFinishesAtOnceWhenNeededEarly()
{
    LazyWordTrie lazy(*builtin().dict);
    QSignalSpy built(&lazy, &LazyWordTrie::built);
    lazy.start(4096);
    QCoreApplication::processEvents();
    QCOMPARE(lazy.trie().nodeCount(), builtin().trie.nodeCount());
    QVERIFY(lazy.isBuilt());
    QCOMPARE(built.count(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(built.count(), 1);
}

QTEST_GUILESS_MAIN(TestSolver)
#include "tst_solver.moc"
