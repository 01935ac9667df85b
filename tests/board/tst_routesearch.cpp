#include "boardtext.h"
#include "routesearch.h"

#include <QtTest>

#include <optional>
#include <random>
#include <vector>

namespace {

using Route = std::optional<std::vector<Cell>>;

// The plain depth-first search the pruned one must agree with: start cells in scan
// order, directions 1 to 8 at every position, no tile twice. Gives up (nullopt in
// `finished`) past `budget` tiles placed.
class PlainSearch
{
public:
    PlainSearch(const BoardModel::Grid &board, const std::vector<int> &letters, long budget)
        : board_(board)
        , letters_(letters)
        , budget_(budget)
    { }

    std::optional<Route> run()
    {
        route_.resize(letters_.size());
        for (int x = 0; x < 10; ++x) {
            for (int y = 0; y < 10; ++y) {
                if (board_[x][y] != letters_[0])
                    continue;
                route_[0] = {x, y};
                const int r = extend(1);
                if (r < 0)
                    return std::nullopt;
                if (r > 0)
                    return Route(route_);
            }
        }
        return Route();
    }

private:
    // 1 found, 0 not found, -1 over budget.
    int extend(std::size_t k)
    {
        if (k == letters_.size())
            return 1;
        if (++placed_ > budget_)
            return -1;
        for (int d = 1; d <= 8; ++d) {
            const Cell n = RouteSearch::getthepoints(route_[k - 1], d);
            if (!n.inGrid() || board_[n.x][n.y] != letters_[k] || taken(n, k))
                continue;
            route_[k] = n;
            const int r = extend(k + 1);
            if (r != 0)
                return r;
        }
        return 0;
    }

    bool taken(Cell c, std::size_t upTo) const
    {
        for (std::size_t i = 0; i < upTo; ++i) {
            if (route_[i] == c)
                return true;
        }
        return false;
    }

    const BoardModel::Grid &board_;
    const std::vector<int> &letters_;
    long budget_;
    long placed_ = 0;
    std::vector<Cell> route_;
};

bool isChain(const BoardModel::Grid &board, const std::vector<int> &letters, const std::vector<Cell> &route)
{
    if (route.size() != letters.size())
        return false;
    for (std::size_t k = 0; k < route.size(); ++k) {
        if (!route[k].inGrid() || board[route[k].x][route[k].y] != letters[k])
            return false;
        if (k > 0 && !route[k].isNeighbourOf(route[k - 1]))
            return false;
        for (std::size_t j = 0; j < k; ++j) {
            if (route[j] == route[k])
                return false;
        }
    }
    return true;
}

} // namespace

class TestRouteSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsTheSamePlacementAsThePlainSearch_data();
    void findsTheSamePlacementAsThePlainSearch();
    void directionsAreTriedInTheirFixedOrder();
    void theFirstStartCellInColumnOrderWins();
    void aTileIsNeverUsedTwice();
    void adversarialBoardsAreAnswered_data();
    void adversarialBoardsAreAnswered();
    void unusableWordsHaveNoPlacement_data();
    void unusableWordsHaveNoPlacement();
};

void TestRouteSearch::findsTheSamePlacementAsThePlainSearch_data()
{
    QTest::addColumn<int>("alphabet");
    QTest::addColumn<int>("blankPercent");
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("two letters, many blanks") << 2 << 45 << 1u;
    QTest::newRow("three letters, some blanks") << 3 << 20 << 2u;
    QTest::newRow("four letters, many blanks") << 4 << 50 << 3u;
    QTest::newRow("six letters, mostly blank") << 6 << 70 << 4u;
}

// Random boards of few letters, where most words have many partial placements and
// many have none: the pruning may only cut branches that cannot succeed.
void TestRouteSearch::findsTheSamePlacementAsThePlainSearch()
{
    QFETCH(int, alphabet);
    QFETCH(int, blankPercent);
    QFETCH(unsigned, seed);
    std::mt19937 rng(seed);
    int compared = 0;
    int found = 0;
    for (int round = 0; round < 3000; ++round) {
        BoardModel::Grid board;
        for (auto &column : board) {
            for (int &code : column)
                code = int(rng() % 100) < blankPercent ? BoardModel::blankTile : 1 + int(rng() % alphabet);
        }
        std::vector<int> letters(1 + rng() % 12);
        for (int &letter : letters)
            letter = 1 + int(rng() % alphabet);
        const auto plain = PlainSearch(board, letters, 200000).run();
        if (!plain)
            continue;
        ++compared;
        const Route pruned = RouteSearch::findroute(board, letters);
        QCOMPARE(pruned.has_value(), plain->has_value());
        if (pruned) {
            ++found;
            QCOMPARE(*pruned, **plain);
            QVERIFY(isChain(board, letters, *pruned));
        }
    }
    QVERIFY(compared > 2500);
    QVERIFY(found > 0 && found < compared);
}

void TestRouteSearch::directionsAreTriedInTheirFixedOrder()
{
    // From the A at (4,4) every neighbour is a B; direction 1 is (x-1, y-1).
    const auto board = gridFromText({
        "..........",
        "..........",
        "..........",
        "...bbb....",
        "...bab....",
        "...bbb....",
    });
    const Route route = RouteSearch::findroute(board, lettersOf("ab"));
    QVERIFY(route);
    QCOMPARE(route->at(1), Cell(3, 3));

    // Only (x+1, y+1), direction 8, leads on to a C.
    const auto later = gridFromText({
        "..........",
        "..........",
        "..........",
        "...bbb....",
        "...bab....",
        "...bbb....",
        "......c...",
    });
    const Route longer = RouteSearch::findroute(later, lettersOf("abc"));
    QVERIFY(longer);
    QCOMPARE(*longer, (std::vector<Cell> {{4, 4}, {5, 5}, {6, 6}}));
}

void TestRouteSearch::theFirstStartCellInColumnOrderWins()
{
    // Two complete placements of "at": the one whose A comes first column by column
    // (x = 1) wins over the one in the first row (y = 0, x = 5).
    const auto board = gridFromText({
        ".....at...",
        "..........",
        "..........",
        "..........",
        "..........",
        "..........",
        ".a........",
        ".t........",
    });
    const Route route = RouteSearch::findroute(board, lettersOf("at"));
    QVERIFY(route);
    QCOMPARE(route->front(), Cell(1, 6));
}

void TestRouteSearch::aTileIsNeverUsedTwice()
{
    // "ABA" needs two different A tiles around its B: the first A (x = 0) has a B
    // beside it but no second A, and going back onto the first would spell the word.
    const auto board = gridFromText({
        "ab...baba.",
    });
    const Route route = RouteSearch::findroute(board, lettersOf("aba"));
    QVERIFY(route);
    QCOMPARE(*route, (std::vector<Cell> {{6, 0}, {7, 0}, {8, 0}}));
}

void TestRouteSearch::adversarialBoardsAreAnswered_data()
{
    QTest::addColumn<BoardModel::Grid>("board");
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<bool>("placeable");

    auto corner = uniformGrid('e');
    corner[9][9] = 26; // z
    for (int length = 1; length <= 12; ++length) {
        const QByteArray es(length - 1, 'e');
        QTest::addRow("all e, %d letters", length) << uniformGrid('e') << QByteArray(length, 'e') << true;
        QTest::addRow("all e, %d letters ending in a missing z", length)
            << uniformGrid('e') << es + 'z' << false;
        QTest::addRow("all e but a z in the far corner, %d letters", length) << corner << es + 'z' << true;
        QTest::addRow("all e but a z in the far corner, z then %d e", length - 1)
            << corner << 'z' + es << true;
    }
    // Going back and forth over tiles, "...acbc" could be walked from either c; without
    // reusing a tile it cannot, as no b touches both c.
    QTest::newRow("alternating letters, two far c") << gridFromText({
        "cbabababab",
        "bababababa",
        "ababababab",
        "bababababa",
        "ababababab",
        "bababababa",
        "ababababab",
        "bababababa",
        "ababababab",
        "babababbac",
    }) << QByteArray("ababababacbc") << false;
}

// Boards that make a plain search run for minutes or hours. Time is the benchmark's
// business; here they must simply come back with the right answer.
void TestRouteSearch::adversarialBoardsAreAnswered()
{
    QFETCH(BoardModel::Grid, board);
    QFETCH(QByteArray, word);
    QFETCH(bool, placeable);
    const auto letters = lettersOf(word.constData());
    const Route route = RouteSearch::findroute(board, letters);
    QCOMPARE(route.has_value(), placeable);
    if (route)
        QVERIFY(isChain(board, letters, *route));
}

void TestRouteSearch::unusableWordsHaveNoPlacement_data()
{
    QTest::addColumn<std::vector<int>>("letters");
    QTest::newRow("empty") << std::vector<int> {};
    QTest::newRow("thirteen letters") << std::vector<int>(13, 5);
    QTest::newRow("a mark code") << std::vector<int> {5, 27};
    QTest::newRow("the blank tile") << std::vector<int> {29};
    QTest::newRow("zero") << std::vector<int> {0, 5};
}

void TestRouteSearch::unusableWordsHaveNoPlacement()
{
    QFETCH(std::vector<int>, letters);
    auto board = uniformGrid('e');
    board[0][0] = BoardModel::blankTile;
    QVERIFY(!RouteSearch::findroute(board, letters));
}

QTEST_GUILESS_MAIN(TestRouteSearch)
#include "tst_routesearch.moc"
