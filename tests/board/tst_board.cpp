#include "boardmodel.h"
#include "boardtext.h"
#include "teststrip.h"
#include "tilegroups.h"

#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

namespace {

// A board as the host deals it: a square of letters from `lo` to `hi` on both axes,
// every other cell blank; cell (i, j) holds a letter that tells cells apart.
BoardModel::Grid dealtBoard(int lo, int hi)
{
    BoardModel::Grid grid {};
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j)
            grid[i][j] = i >= lo && i <= hi && j >= lo && j <= hi ? 1 + (i * 7 + j * 3) % 26 : 29;
    }
    return grid;
}

std::vector<BoardModel::Triple> triplesOf(const BoardModel::Grid &grid)
{
    std::vector<BoardModel::Triple> triples;
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j)
            triples.push_back({i, j, grid[i][j]});
    }
    return triples;
}

} // namespace

class TestBoard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rotationKeepsThePlayedSquareAndGetrealUndoesIt_data();
    void rotationKeepsThePlayedSquareAndGetrealUndoesIt();
    void aQuarterTurnMovesCornersClockwise_data();
    void aQuarterTurnMovesCornersClockwise();
    void aNewBoardArrivesUnrotated();
    void hostileCellGroupsAreSkippedOrBlanked();
    void aBoardCutShortKeepsTheCellsBefore();
    void anOddFlagOnAnEvenBoardNeverLeavesTheGrid();
    void clearallBlanksEveryCell();
    void convertoletterSpellsOnlyLetters_data();
    void convertoletterSpellsOnlyLetters();

    void theBuiltinGroupHasEveryPicture();
    void aStripIsCutIntoPicturesWithWhiteTransparent();
    void unusableStripsAreRefused_data();
    void unusableStripsAreRefused();
    void groupsAreFoundInTheTilesFolder();
    void aGroupInAnEarlierFolderHidesOneOfTheSameNameLater();
    void loadingAGroupSwitchesPicturesAndChecksIt();
    void highDensityScreensTakeTheDoubleSizeStrip_data();
    void highDensityScreensTakeTheDoubleSizeStrip();
    void aMissingOrUnsafeGroupChangesNothing_data();
    void aMissingOrUnsafeGroupChangesNothing();
    void theStoredSettingLoadsAGroupButNeverClassic_data();
    void theStoredSettingLoadsAGroupButNeverClassic();
    void choosingAGroupKeepsItsNameAndAsksForASave();
    void theShippedGroupsAreInstalledAndReadable_data();
    void theShippedGroupsAreInstalledAndReadable();
};

void TestBoard::rotationKeepsThePlayedSquareAndGetrealUndoesIt_data()
{
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::addColumn<bool>("odd");
    QTest::addColumn<int>("turns");
    const struct
    {
        const char *name;
        int lo, hi;
        bool odd;
    } sizes[] = {
        {"4x4", 3, 6, false},
        {"5x5", 2, 6, true},
        {"6x6", 2, 7, false},
        {"7x7", 1, 7, true},
        {"8x8", 1, 8, false},
        {"9x9", 0, 8, true},
        {"10x10", 0, 9, false},
    };
    for (const auto &size : sizes) {
        for (int turns = 0; turns < 4; ++turns)
            QTest::addRow("%s, %d turns", size.name, turns) << size.lo << size.hi << size.odd << turns;
    }
}

void TestBoard::rotationKeepsThePlayedSquareAndGetrealUndoesIt()
{
    QFETCH(int, lo);
    QFETCH(int, hi);
    QFETCH(bool, odd);
    QFETCH(int, turns);
    BoardModel board;
    board.setOddboard(odd);
    const auto dealt = dealtBoard(lo, hi);
    board.loadboard(triplesOf(dealt));
    for (int t = 0; t < turns; ++t)
        board.rotate();
    QCOMPARE(board.rotation(), turns);
    QCOMPARE(board.realboard(), dealt);

    int letters = 0;
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y) {
            const int shown = board.shownboard()[x][y];
            const bool inSquare = x >= lo && x <= hi && y >= lo && y <= hi;
            // The played square stays where it is; only its letters move.
            QCOMPARE(BoardModel::isLetter(shown), inSquare);
            if (!inSquare)
                continue;
            ++letters;
            const auto real = board.getreal({x, y});
            QVERIFY(real);
            QCOMPARE(dealt[real->x][real->y], shown);
            QCOMPARE(board.displayed(*real), std::optional<Cell>(Cell(x, y)));
        }
    }
    QCOMPARE(letters, (hi - lo + 1) * (hi - lo + 1));
}

void TestBoard::aQuarterTurnMovesCornersClockwise_data()
{
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::addColumn<bool>("odd");
    QTest::addColumn<Cell>("from");
    QTest::addColumn<Cell>("to");
    QTest::newRow("5x5: top left to top right") << 2 << 6 << true << Cell(2, 2) << Cell(6, 2);
    QTest::newRow("4x4: top left to top right") << 3 << 6 << false << Cell(3, 3) << Cell(6, 3);
    QTest::newRow("10x10: top left to top right") << 0 << 9 << false << Cell(0, 0) << Cell(9, 0);
    QTest::newRow("10x10: top right to bottom right") << 0 << 9 << false << Cell(9, 0) << Cell(9, 9);
    QTest::newRow("9x9: bottom left to top left") << 0 << 8 << true << Cell(0, 8) << Cell(0, 0);
}

void TestBoard::aQuarterTurnMovesCornersClockwise()
{
    QFETCH(int, lo);
    QFETCH(int, hi);
    QFETCH(bool, odd);
    QFETCH(Cell, from);
    QFETCH(Cell, to);
    BoardModel board;
    board.setOddboard(odd);
    const auto dealt = dealtBoard(lo, hi);
    board.loadboard(dealt);
    const auto before = board.shownboard();
    board.rotate();
    QCOMPARE(board.shownboard()[to.x][to.y], before[from.x][from.y]);
    QCOMPARE(board.getreal(to), std::optional<Cell>(from));
    board.rotate();
    board.rotate();
    board.rotate();
    QCOMPARE(board.rotation(), 0);
    QCOMPARE(board.shownboard(), before);
}

void TestBoard::aNewBoardArrivesUnrotated()
{
    BoardModel board;
    board.loadboard(dealtBoard(0, 9));
    board.rotate();
    board.setMark({4, 4}, BoardModel::lastTileMark);
    const auto next = dealtBoard(3, 6);
    board.loadboard(triplesOf(next));
    QCOMPARE(board.rotation(), 0);
    QCOMPARE(board.shownboard(), next);
    QCOMPARE(board.mark({4, 4}), BoardModel::noMark);
    QCOMPARE(board.getreal({3, 3}), std::optional<Cell>(Cell(3, 3)));
}

void TestBoard::hostileCellGroupsAreSkippedOrBlanked()
{
    BoardModel board;
    const std::vector<BoardModel::Triple> triples {
        {10, 0, 5},
        {-1, 3, 5},
        {0, 12, 5}, // outside the grid
        {1, 1, 27},
        {2, 2, 28},
        {3, 3, 30},
        {4, 4, 0},
        {5, 5, -7},
        {6, 6, 1000}, // not letters
        {7, 7, 26},
    };
    board.loadboard(triples);
    for (int i = 1; i <= 6; ++i)
        QCOMPARE(board.realboard()[i][i], BoardModel::blankTile);
    QCOMPARE(board.realboard()[7][7], 26);
    QCOMPARE(board.shown({10, 0}), BoardModel::blankTile);
    QCOMPARE(board.mark({-1, 3}), BoardModel::noMark);
}

void TestBoard::aBoardCutShortKeepsTheCellsBefore()
{
    BoardModel board;
    board.loadboard(dealtBoard(0, 9));
    board.rotate();
    // The dispatcher stopped at a field that did not convert: only the first groups came.
    auto triples = triplesOf(dealtBoard(3, 6));
    triples.resize(40);
    board.loadboard(triples);
    const auto expected = [] {
        auto grid = dealtBoard(0, 9);
        const auto next = dealtBoard(3, 6);
        for (int i = 0; i < 4; ++i)
            grid[i] = next[i];
        return grid;
    }();
    QCOMPARE(board.realboard(), expected);
    QCOMPARE(board.rotation(), 0);
    QCOMPARE(board.shownboard(), expected);
}

void TestBoard::anOddFlagOnAnEvenBoardNeverLeavesTheGrid()
{
    BoardModel board;
    board.setOddboard(true);
    board.loadboard(dealtBoard(0, 9));
    for (int turns = 1; turns <= 4; ++turns) {
        board.rotate();
        for (int x = 0; x < 10; ++x) {
            for (int y = 0; y < 10; ++y) {
                const auto real = board.getreal({x, y});
                if (real)
                    QVERIFY(real->inGrid());
                else
                    QCOMPARE(board.shown({x, y}), BoardModel::blankTile);
            }
        }
    }
}

void TestBoard::clearallBlanksEveryCell()
{
    BoardModel board;
    board.loadboard(dealtBoard(0, 9));
    board.setMark({1, 1}, BoardModel::earlierTileMark);
    QSignalSpy changed(&board, &BoardModel::changed);
    board.clearall();
    QCOMPARE(changed.count(), 1);
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y) {
            QCOMPARE(board.shown({x, y}), BoardModel::blankTile);
            QCOMPARE(board.mark({x, y}), BoardModel::noMark);
        }
    }
}

void TestBoard::convertoletterSpellsOnlyLetters_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("letter");
    QTest::newRow("1") << 1 << "a";
    QTest::newRow("17") << 17 << "q";
    QTest::newRow("26") << 26 << "z";
    QTest::newRow("0") << 0 << "";
    QTest::newRow("27") << 27 << "";
    QTest::newRow("29") << 29 << "";
    QTest::newRow("-3") << -3 << "";
}

void TestBoard::convertoletterSpellsOnlyLetters()
{
    QFETCH(int, code);
    QFETCH(QString, letter);
    QCOMPARE(BoardModel::convertoletter(code), letter);
}

void TestBoard::theBuiltinGroupHasEveryPicture()
{
    const TileGroup group = TileGroup::builtin();
    for (int code = 0; code < TileGroup::pictureCount; ++code)
        QCOMPARE(group.picture(code).size(), QSize(42, 42));
    // A letter tile is solid in the middle and its letter darker than its face.
    const QImage a = group.picture(1);
    QCOMPARE(qAlpha(a.pixel(21, 6)), 255);
    int darkest = 255;
    for (int x = 10; x < 32; ++x)
        darkest = qMin(darkest, qGray(a.pixel(x, 21)));
    QVERIFY2(qGray(a.pixel(21, 6)) - darkest > 120, "the letter stands out from the tile");
    // Marks leave the letter visible: their middle is nearly transparent.
    for (int mark : {27, 28}) {
        QVERIFY(qAlpha(group.picture(mark).pixel(21, 21)) < 100);
        QCOMPARE(qAlpha(group.picture(mark).pixel(21, 3)), 255);
    }
    QVERIFY(group.picture(-1).isNull() == false);
    QCOMPARE(qAlpha(group.picture(31).pixel(21, 21)), 0);
}

void TestBoard::aStripIsCutIntoPicturesWithWhiteTransparent()
{
    const auto group = TileGroup::fromStrip(testStrip());
    QVERIFY(group);
    for (int code = 0; code < TileGroup::pictureCount; ++code) {
        const QImage picture = group->picture(code);
        QCOMPARE(picture.size(), QSize(42, 42));
        QCOMPARE(picture.pixel(3, 3), qRgb(code, 100, 50));
        QCOMPARE(qAlpha(picture.pixel(20, 20)), 0);
    }
}

void TestBoard::unusableStripsAreRefused_data()
{
    QTest::addColumn<QImage>("strip");
    QTest::newRow("too narrow") << testStrip(TileGroup::stripWidth - 1);
    QTest::newRow("too low") << testStrip(TileGroup::stripWidth, 41);
    QTest::newRow("empty") << QImage();
}

void TestBoard::unusableStripsAreRefused()
{
    QFETCH(QImage, strip);
    QVERIFY(!TileGroup::fromStrip(strip));
}

void TestBoard::groupsAreFoundInTheTilesFolder()
{
    QTemporaryDir dir;
    for (const char *file : {"wood.bmp", "stone.BMP", "wood.old.bmp", "Classic.bmp", "notes.txt", "ice.png",
             "wood@2x.bmp", "slate@2x.bmp"})
        saveStrip(dir.filePath(QString::fromLatin1(file)), testStrip());
    QDir(dir.path()).mkdir(QStringLiteral("folder.bmp"));
    TileGroups groups(dir.path());
    QCOMPARE(groups.groupNames(), (QStringList {QStringLiteral("stone"), QStringLiteral("wood")}));
    QVERIFY(groups.loadgrouptiles(QStringLiteral("stone")));

    QCOMPARE(TileGroups(dir.filePath(QStringLiteral("missing"))).groupNames(), QStringList());
}

void TestBoard::aGroupInAnEarlierFolderHidesOneOfTheSameNameLater()
{
    // The folder beside the program, then the installed data folder.
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("beside"));
    QDir(dir.path()).mkdir(QStringLiteral("installed"));
    saveStrip(dir.filePath(QStringLiteral("beside/wood.bmp")), testStrip());
    QImage other = testStrip();
    other.fill(qRgb(1, 2, 3));
    saveStrip(dir.filePath(QStringLiteral("installed/wood.bmp")), other);
    saveStrip(dir.filePath(QStringLiteral("installed/ice.bmp")), other);

    TileGroups groups({dir.filePath(QStringLiteral("beside")), dir.filePath(QStringLiteral("installed"))});
    QCOMPARE(groups.groupNames(), (QStringList {QStringLiteral("ice"), QStringLiteral("wood")}));
    QVERIFY(groups.loadgrouptiles(QStringLiteral("wood")));
    QCOMPARE(groups.picture(5).pixel(3, 3), qRgb(5, 100, 50));
    QVERIFY(groups.loadgrouptiles(QStringLiteral("ice")));
    QCOMPARE(groups.picture(5).pixel(3, 3), qRgb(1, 2, 3));
}

void TestBoard::loadingAGroupSwitchesPicturesAndChecksIt()
{
    QTemporaryDir dir;
    saveStrip(dir.filePath(QStringLiteral("wood.bmp")), testStrip());
    TileGroups groups(dir.path());
    QCOMPARE(groups.tilegroupname(), QString());
    QSignalSpy pictures(&groups, &TileGroups::picturesChanged);
    QSignalSpy checked(&groups, &TileGroups::groupChecked);
    QSignalSpy saves(&groups, &TileGroups::saveRequested);
    QVERIFY(groups.loadgrouptiles(QStringLiteral("wood")));
    QCOMPARE(groups.tilegroupname(), QStringLiteral("wood"));
    QCOMPARE(groups.picture(5).pixel(3, 3), qRgb(5, 100, 50));
    QCOMPARE(pictures.count(), 1);
    QCOMPARE(checked.count(), 1);
    QCOMPARE(checked.first().first().toString(), QStringLiteral("wood"));
    QCOMPARE(saves.count(), 0);

    QVERIFY(groups.loadgrouptiles(QStringLiteral("Classic")));
    QCOMPARE(groups.picture(5).pixel(3, 3), TileGroup::builtin().picture(5).pixel(3, 3));
    QCOMPARE(checked.last().first().toString(), TileGroups::classicName);
}

void TestBoard::highDensityScreensTakeTheDoubleSizeStrip_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QString>("sharpFile"); // beside wood.bmp; empty for none
    QTest::addColumn<QSize>("sharpSize");
    QTest::addColumn<bool>("ratioFirst"); // the screen is known before the group loads
    QTest::addColumn<int>("scale"); // of the pictures in use
    const QString sharp = QStringLiteral("wood@2x.bmp");
    const QSize twice(2604, 84);
    QTest::newRow("1x screen") << 1.0 << sharp << twice << true << 1;
    QTest::newRow("2x screen") << 2.0 << sharp << twice << true << 2;
    QTest::newRow("1.5x screen") << 1.5 << sharp << twice << true << 2;
    QTest::newRow("2x screen found after loading") << 2.0 << sharp << twice << false << 2;
    QTest::newRow("no double-size strip") << 2.0 << QString() << twice << true << 1;
    QTest::newRow("double-size strip too small") << 2.0 << sharp << QSize(2604, 83) << true << 1;
    QTest::newRow("extension in capitals") << 2.0 << QStringLiteral("wood@2x.BMP") << twice << false << 2;
}

// Player-made groups are 1302 by 42 strips; the shipped ones carry a double-size strip
// beside them, which a high-density screen uses at the same logical size.
void TestBoard::highDensityScreensTakeTheDoubleSizeStrip()
{
    QFETCH(qreal, ratio);
    QFETCH(QString, sharpFile);
    QFETCH(QSize, sharpSize);
    QFETCH(bool, ratioFirst);
    QFETCH(int, scale);
    QTemporaryDir dir;
    const QString wood = sharpFile.endsWith(QLatin1String("BMP")) ? "wood.BMP" : "wood.bmp";
    saveStrip(dir.filePath(wood), testStrip());
    if (!sharpFile.isEmpty())
        saveStrip(dir.filePath(sharpFile), testStrip().scaled(sharpSize));
    TileGroups groups(dir.path());
    QCOMPARE(groups.groupNames(), QStringList {QStringLiteral("wood")});
    if (ratioFirst)
        groups.setDevicePixelRatio(ratio);
    QVERIFY(groups.loadgrouptiles(QStringLiteral("wood")));
    groups.setDevicePixelRatio(ratio);
    for (int code : {0, 5, 30}) {
        const QImage picture = groups.picture(code);
        QCOMPARE(picture.size(), QSize(42, 42) * scale);
        QCOMPARE(picture.devicePixelRatio(), qreal(scale));
        QCOMPARE(picture.pixel(3 * scale, 3 * scale), qRgb(code, 100, 50));
        QCOMPARE(qAlpha(picture.pixel(21 * scale, 21 * scale)), 0);
    }
    // Back on an ordinary screen, the ordinary strip.
    groups.setDevicePixelRatio(1.0);
    QCOMPARE(groups.picture(5).size(), QSize(42, 42));
    // A double-size strip never stands for a group of its own.
    QVERIFY(!groups.loadgrouptiles(QStringLiteral("wood@2x")));
}

void TestBoard::aMissingOrUnsafeGroupChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("no such file") << "marble";
    QTest::newRow("empty") << "";
    QTest::newRow("another folder") << "../wood";
    QTest::newRow("backslash") << "..\\wood";
    QTest::newRow("hidden") << ".wood";
    QTest::newRow("not a picture") << "broken";
}

void TestBoard::aMissingOrUnsafeGroupChangesNothing()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("tiles"));
    saveStrip(dir.filePath(QStringLiteral("wood.bmp")), testStrip());
    saveStrip(dir.filePath(QStringLiteral("tiles/.wood.bmp")), testStrip());
    QFile broken(dir.filePath(QStringLiteral("tiles/broken.bmp")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("BM not really a bitmap");
    broken.close();

    TileGroups groups(dir.filePath(QStringLiteral("tiles")));
    const QRgb before = groups.picture(5).pixel(21, 21);
    QSignalSpy pictures(&groups, &TileGroups::picturesChanged);
    QVERIFY(!groups.loadgrouptiles(name));
    QCOMPARE(groups.picture(5).pixel(21, 21), before);
    QCOMPARE(groups.tilegroupname(), QString());
    QCOMPARE(pictures.count(), 0);
}

void TestBoard::theStoredSettingLoadsAGroupButNeverClassic_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("inUse");
    QTest::newRow("wood") << "wood"
                          << "wood";
    QTest::newRow("Classic") << "Classic"
                             << "";
    QTest::newRow("CLASSIC") << "CLASSIC"
                             << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("a group since deleted") << "marble"
                                           << "";
}

void TestBoard::theStoredSettingLoadsAGroupButNeverClassic()
{
    QFETCH(QString, value);
    QFETCH(QString, inUse);
    QTemporaryDir dir;
    saveStrip(dir.filePath(QStringLiteral("wood.bmp")), testStrip());
    TileGroups groups(dir.path());
    QSignalSpy saves(&groups, &TileGroups::saveRequested);
    groups.applySetting(value);
    QCOMPARE(groups.tilegroupname(), inUse);
    QCOMPARE(groups.settingValue(), inUse);
    QCOMPARE(saves.count(), 0);
}

void TestBoard::choosingAGroupKeepsItsNameAndAsksForASave()
{
    QTemporaryDir dir;
    saveStrip(dir.filePath(QStringLiteral("wood.bmp")), testStrip());
    TileGroups groups(dir.path());
    QSignalSpy saves(&groups, &TileGroups::saveRequested);
    groups.grouptilesmenuClick(QStringLiteral("wood"));
    QCOMPARE(groups.settingValue(), QStringLiteral("wood"));
    QCOMPARE(saves.count(), 1);

    // The file went away after start-up: the pictures stay, the choice is remembered.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("wood.bmp"))));
    saveStrip(dir.filePath(QStringLiteral("stone.bmp")), testStrip());
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("stone.bmp"))));
    groups.grouptilesmenuClick(QStringLiteral("stone"));
    QCOMPARE(groups.settingValue(), QStringLiteral("stone"));
    QCOMPARE(groups.picture(5).pixel(3, 3), qRgb(5, 100, 50));
    QCOMPARE(saves.count(), 2);
}

void TestBoard::theShippedGroupsAreInstalledAndReadable_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("wood") << "wood";
    QTest::newRow("stone") << "stone";
    QTest::newRow("highcontrast") << "highcontrast";
}

// The build copies the groups beside the program; each must be a full strip whose
// letters stand out from their tiles and whose marks let the letter show through.
void TestBoard::theShippedGroupsAreInstalledAndReadable()
{
    QFETCH(QString, name);
    const QString folder = QStringLiteral(WENDLEWICK_BINARY_DIR "/bin/") + TileGroups::folderName;
    TileGroups groups(folder);
    QVERIFY(groups.groupNames().contains(name));
    QVERIFY(groups.loadgrouptiles(name));
    QCOMPARE(QImage(folder + QLatin1Char('/') + name + QStringLiteral(".bmp")).size(), QSize(1302, 42));
    QCOMPARE(QImage(folder + QLatin1Char('/') + name + QStringLiteral("@2x.bmp")).size(), QSize(2604, 84));
    for (int code = 1; code <= 26; ++code) {
        const QImage tile = groups.picture(code);
        int lightest = 0;
        int darkest = 255;
        for (int y = 6; y < 36; ++y) {
            for (int x = 6; x < 36; ++x) {
                QCOMPARE(qAlpha(tile.pixel(x, y)), 255);
                lightest = qMax(lightest, qGray(tile.pixel(x, y)));
                darkest = qMin(darkest, qGray(tile.pixel(x, y)));
            }
        }
        QVERIFY2(lightest - darkest > 140, qPrintable(QStringLiteral("letter %1 is hard to read").arg(code)));
    }
    // The marks follow the tile's rounded outline at both sizes: the letter shows
    // through the middle, the board through the corners.
    for (const qreal ratio : {1.0, 2.0}) {
        groups.setDevicePixelRatio(ratio);
        const int k = int(ratio);
        for (int mark : {27, 28}) {
            const QImage picture = groups.picture(mark);
            QCOMPARE(picture.width(), 42 * k);
            QCOMPARE(qAlpha(picture.pixel(21 * k, 21 * k)), 0);
            QCOMPARE(qAlpha(picture.pixel(21 * k, 2 * k)), 255);
            for (const QPoint corner : {QPoint(2, 2), QPoint(39, 2), QPoint(2, 39), QPoint(39, 39)})
                QCOMPARE(qAlpha(picture.pixel(corner * k)), 0);
        }
    }
}

QTEST_MAIN(TestBoard)
#include "tst_board.moc"
