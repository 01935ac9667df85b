// Board generation: the played square of every size code, the letters' frequencies,
// and the letter of every cell code.
#include "boarddealer.h"
#include "fakehostenvironment.h"

#include <QTest>

class TestBoardDealer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeCodePlacesTheSquare_data();
    void sizeCodePlacesTheSquare();
    void sizeCodeEightDrawsOneOfFourSizes_data();
    void sizeCodeEightDrawsOneOfFourSizes();
    void weightsCoverTheDrawRangeOnce();
    void lettersFollowTheirWeights();
    void convertoletterReadsEveryCode_data();
    void convertoletterReadsEveryCode();
};

void TestBoardDealer::sizeCodePlacesTheSquare_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::newRow("4: 4x4") << 4 << 3 << 6;
    QTest::newRow("5: 6x6") << 5 << 2 << 7;
    QTest::newRow("6: 8x8") << 6 << 1 << 8;
    QTest::newRow("7: 10x10") << 7 << 0 << 9;
    QTest::newRow("9: 5x5") << 9 << 2 << 6;
    QTest::newRow("10: 7x7") << 10 << 1 << 7;
    QTest::newRow("11: 9x9") << 11 << 0 << 8;
    QTest::newRow("0 plays as 4x4") << 0 << 3 << 6;
    QTest::newRow("12 plays as 4x4") << 12 << 3 << 6;
    QTest::newRow("-1 plays as 4x4") << -1 << 3 << 6;
}

void TestBoardDealer::sizeCodePlacesTheSquare()
{
    QFETCH(int, code);
    QFETCH(int, lo);
    QFETCH(int, hi);
    const Wire::BoardCells board = BoardDealer::deal(code, seededDraw(1));
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 10; ++col) {
            const bool inside = row >= lo && row <= hi && col >= lo && col <= hi;
            const int cell = board[row][col];
            if (inside)
                QVERIFY2(cell >= 1 && cell <= 26, qPrintable(QStringLiteral("%1,%2").arg(row).arg(col)));
            else
                QCOMPARE(cell, Wire::noTile);
        }
}

void TestBoardDealer::sizeCodeEightDrawsOneOfFourSizes_data()
{
    QTest::addColumn<int>("drawn");
    QTest::addColumn<int>("lo");
    QTest::newRow("0: 4x4") << 0 << 3;
    QTest::newRow("1: 6x6") << 1 << 2;
    QTest::newRow("2: 8x8") << 2 << 1;
    QTest::newRow("3: 10x10") << 3 << 0;
}

void TestBoardDealer::sizeCodeEightDrawsOneOfFourSizes()
{
    QFETCH(int, drawn);
    QFETCH(int, lo);
    int bound = 0;
    const auto square = BoardDealer::playedSquare(8, [&](int b) {
        bound = b;
        return drawn;
    });
    QCOMPARE(bound, 4);
    QCOMPARE(square.lo, lo);
    QCOMPARE(square.hi, 9 - lo);
}

void TestBoardDealer::weightsCoverTheDrawRangeOnce()
{
    int total = 0;
    for (int code = 1; code <= 26; ++code) {
        QVERIFY2(BoardDealer::letterWeight(code) >= 1, qPrintable(QString(QChar('a' + code - 1))));
        total += BoardDealer::letterWeight(code);
    }
    QCOMPARE(total, 98);
    QCOMPARE(BoardDealer::letterWeight(5), 12); // E
    QCOMPARE(BoardDealer::letterWeight(17), 1); // Q
    QCOMPARE(BoardDealer::letterForDraw(1), 1); // A
    QCOMPARE(BoardDealer::letterForDraw(10), 5); // E
    QCOMPARE(BoardDealer::letterForDraw(90), 10); // J
    QCOMPARE(BoardDealer::letterForDraw(98), 26); // Z
}

void TestBoardDealer::lettersFollowTheirWeights()
{
    // 2,000 10x10 boards: 200,000 letters. Each count lies within 5 standard
    // deviations of its expectation (a fixed seed keeps the run repeatable).
    const UniformDraw draw = seededDraw(7772);
    std::array<int, 30> counts {};
    int letters = 0;
    for (int i = 0; i < 2000; ++i) {
        const Wire::BoardCells board = BoardDealer::deal(7, draw);
        for (const auto &row : board)
            for (int cell : row) {
                QVERIFY(cell >= 1 && cell <= 26);
                ++counts[size_t(cell)];
                ++letters;
            }
    }
    for (int code = 1; code <= 26; ++code) {
        const double p = BoardDealer::letterWeight(code) / 98.0;
        const double expected = letters * p;
        const double sigma = std::sqrt(letters * p * (1 - p));
        QVERIFY2(std::abs(counts[size_t(code)] - expected) < 5 * sigma,
            qPrintable(QStringLiteral("%1: %2 against %3")
                           .arg(QChar('a' + code - 1))
                           .arg(counts[size_t(code)])
                           .arg(expected)));
    }
    // E about 12.2 %, Z about 1.0 %.
    QVERIFY(std::abs(counts[5] / double(letters) - 12.0 / 98) < 0.005);
    QVERIFY(std::abs(counts[26] / double(letters) - 1.0 / 98) < 0.002);
}

void TestBoardDealer::convertoletterReadsEveryCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<char>("letter");
    QTest::newRow("1") << 1 << 'a';
    QTest::newRow("20") << 20 << 't';
    QTest::newRow("26") << 26 << 'z';
    QTest::newRow("27") << 27 << '*';
    QTest::newRow("28") << 28 << '*';
    QTest::newRow("29") << 29 << '*';
    QTest::newRow("0") << 0 << 't';
    QTest::newRow("30") << 30 << 't';
    QTest::newRow("-5") << -5 << 't';
}

void TestBoardDealer::convertoletterReadsEveryCode()
{
    QFETCH(int, code);
    QFETCH(char, letter);
    QCOMPARE(convertoletter(code), letter);
}

QTEST_GUILESS_MAIN(TestBoardDealer)
#include "tst_boarddealer.moc"
