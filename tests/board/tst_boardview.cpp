#include "boardpaintbox.h"
#include "boardpanel.h"
#include "boardtext.h"
#include "entrystrip.h"
#include "smalldictionary.h"
#include "teststrip.h"
#include "tilegroups.h"
#include "tilesmenu.h"
#include "wordentry.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QPoint centre(Cell c)
{
    return {c.x * 42 + 21, c.y * 42 + 21};
}

// The board subsystem as the main window holds it, with a tile folder of two groups.
struct Screen
{
    explicit Screen(const BoardModel::Grid &grid)
    {
        saveStrip(dir.filePath(QStringLiteral("wood.bmp")), testStrip());
        saveStrip(dir.filePath(QStringLiteral("stone.bmp")), testStrip());
        tiles = std::make_unique<TileGroups>(dir.path());
        panel = new BoardPanel(&board, &entry, tiles.get(), &window);
        strip = new EntryStrip(&entry, tiles.get(), &window);
        strip->move(0, 0);
        panel->move(45, 100);
        window.resize(640, 540);
        board.loadboard(grid);
        spell = smallDictionary(dir);
        entry.setDictionary(spell.get());
        entry.setMinLetters(3);
        entry.setConnected(true);
        entry.startRound(true);
    }

    BoardPaintBox *paintbox() const { return panel->paintbox(); }
    QImage shot() const { return paintbox()->grab().toImage(); }

    QTemporaryDir dir;
    std::unique_ptr<TDictn> spell;
    BoardModel board;
    WordEntry entry {&board};
    std::unique_ptr<TileGroups> tiles;
    QWidget window;
    BoardPanel *panel = nullptr;
    EntryStrip *strip = nullptr;
};

} // namespace

class TestBoardView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theWidgetsCarryTheirControlNames();
    void aDragAcrossTheBoardSendsTheWordAtRelease();
    void clickModeBuildsTheWordTileByTile();
    void thePaintBoxDrawsTilesAndMarks();
    void theStripShowsTheWordAndTakesBackItsLastLetter();
    void theTypingSwitchFollowsClicksAndTheOption();
    void theTilesMenuListsAndSwitchesGroups();
    void aTileGroupNameWithAnAmpersandShowsIt();
};

void TestBoardView::theWidgetsCarryTheirControlNames()
{
    Screen screen(uniformGrid('e'));
    QCOMPARE(screen.panel->objectName(), QStringLiteral("panel_boardback"));
    auto *paintbox = screen.panel->findChild<QWidget *>(QStringLiteral("paintbox_board"));
    QVERIFY(paintbox);
    QCOMPARE(paintbox->size(), QSize(420, 420));
    for (int k = 1; k <= 12; ++k) {
        auto *slot = screen.strip->findChild<QLabel *>(QStringLiteral("image_letters%1").arg(k));
        QVERIFY(slot);
        QCOMPARE(slot->geometry(), QRect(5 + 43 * (k - 1), 8, 42, 42));
    }
    QVERIFY(screen.strip->findChild<QLabel *>(QStringLiteral("image_minletters")));
    auto *typing = screen.strip->findChild<QLabel *>(QStringLiteral("label_typingoff"));
    QVERIFY(typing);
    QCOMPARE(typing->pos(), QPoint(527, 12));
}

void TestBoardView::aDragAcrossTheBoardSendsTheWordAtRelease()
{
    Screen screen(gridFromText({"..........", "..cat....."}));
    screen.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen.window));
    QSignalSpy judged(&screen.entry, &WordEntry::wordJudged);
    QSignalSpy sounds(&screen.entry, &WordEntry::soundRequested);

    QTest::mousePress(screen.paintbox(), Qt::LeftButton, {}, centre({2, 1}));
    QTest::mouseMove(screen.paintbox(), centre({3, 1}) - QPoint(18, 0)); // the edge of (3, 1): not yet
    QCOMPARE(screen.entry.length(), 1);
    QTest::mouseMove(screen.paintbox(), centre({3, 1}));
    QTest::mouseMove(screen.paintbox(), centre({4, 1}));
    QCOMPARE(screen.entry.word(), QStringLiteral("cat"));
    QCOMPARE(judged.count(), 0);
    QTest::mouseRelease(screen.paintbox(), Qt::LeftButton, {}, centre({4, 1}));

    QCOMPARE(judged.count(), 1);
    const Verdict verdict = judged.first().first().value<Verdict>();
    QCOMPARE(verdict.word, QStringLiteral("cat"));
    QVERIFY(verdict.send);
    QCOMPARE(verdict.claim, (std::vector<Verdict::Tile> {{2, 1}, {3, 1}, {4, 1}}));
    QCOMPARE(verdict.sound, QStringLiteral("sendword"));
    QCOMPARE(sounds.last().first().toString(), QStringLiteral("click"));
    QCOMPARE(screen.entry.length(), 0);
}

void TestBoardView::clickModeBuildsTheWordTileByTile()
{
    Screen screen(gridFromText({"..........", "..cat....."}));
    screen.entry.ClickLetters1Click();
    screen.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen.window));
    QSignalSpy judged(&screen.entry, &WordEntry::wordJudged);
    for (Cell c : {Cell(2, 1), Cell(3, 1), Cell(4, 1)})
        QTest::mouseClick(screen.paintbox(), Qt::LeftButton, {}, centre(c));
    QCOMPARE(screen.entry.word(), QStringLiteral("cat"));
    QCOMPARE(judged.count(), 0);
    QTest::mouseClick(screen.paintbox(), Qt::RightButton, {}, centre({9, 9}));
    QCOMPARE(judged.count(), 1);
}

void TestBoardView::thePaintBoxDrawsTilesAndMarks()
{
    Screen screen(gridFromText({"..........", "..cat....."}));
    QVERIFY(screen.tiles->loadgrouptiles(QStringLiteral("wood")));
    const QImage before = screen.shot();
    // Each cell shows its picture: the test strip colours picture i as (i, 100, 50).
    QCOMPARE(before.pixel(centre({2, 1}) - QPoint(15, 15)), qRgb(3, 100, 50));
    QCOMPARE(before.pixel(centre({0, 0}) - QPoint(15, 15)), qRgb(29, 100, 50));
    // The white middle of a picture is transparent: the panel shows through.
    QCOMPARE(before.pixel(centre({2, 1})), qRgb(52, 76, 52));

    screen.entry.typetheletter(3);
    screen.entry.typetheletter(1);
    const QImage marked = screen.shot();
    QCOMPARE(marked.pixel(centre({2, 1}) - QPoint(15, 15)), qRgb(28, 100, 50));
    QCOMPARE(marked.pixel(centre({3, 1}) - QPoint(15, 15)), qRgb(27, 100, 50));
    QCOMPARE(marked.pixel(centre({4, 1}) - QPoint(15, 15)), qRgb(20, 100, 50));

    screen.entry.rotateboard();
    const QImage turned = screen.shot();
    // A quarter turn shows (2, 1) at (8, 2), without marks.
    QCOMPARE(turned.pixel(centre({8, 2}) - QPoint(15, 15)), qRgb(3, 100, 50));
}

void TestBoardView::theStripShowsTheWordAndTakesBackItsLastLetter()
{
    Screen screen(gridFromText({"..........", "..cat....."}));
    QVERIFY(screen.tiles->loadgrouptiles(QStringLiteral("stone")));
    screen.entry.setMinLetters(4);
    screen.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen.window));
    QLabel *minBar = screen.strip->minLettersBar();
    QVERIFY(minBar->isVisible());
    QCOMPARE(minBar->width(), 4 * 43 - 1);

    screen.entry.typetheletter(3);
    screen.entry.typetheletter(1);
    auto slotColour = [&](int k) { return screen.strip->letterSlot(k)->grab().toImage().pixel(5, 5); };
    QCOMPARE(slotColour(1), qRgb(3, 100, 50));
    QCOMPARE(slotColour(2), qRgb(1, 100, 50));
    QCOMPARE(slotColour(3), qRgb(30, 100, 50));

    QTest::mouseClick(screen.strip->letterSlot(1), Qt::LeftButton);
    QCOMPARE(screen.entry.length(), 2);
    QTest::mouseClick(screen.strip->letterSlot(2), Qt::LeftButton);
    QCOMPARE(screen.entry.length(), 1);
    QCOMPARE(slotColour(2), qRgb(30, 100, 50));

    screen.entry.typetheletter(1);
    screen.entry.typetheletter(20);
    screen.entry.typetheletter(19); // no S on the board: refused, after the word
    QVERIFY(minBar->isVisible());
    // The S tile (19, 100, 50) under a red veil.
    const QRgb refused = slotColour(4);
    QVERIFY2(qRed(refused) > 80 && qRed(refused) > qGreen(refused), qPrintable(QString::number(refused, 16)));
    QVERIFY(!screen.strip->letterSlot(4)->toolTip().isEmpty());
    QTest::mouseClick(screen.strip->letterSlot(4), Qt::LeftButton);
    QCOMPARE(slotColour(4), qRgb(30, 100, 50));
    QCOMPARE(screen.entry.length(), 3);
    screen.board.loadboard(gridFromText({"..........", "..cats...."}));
    screen.entry.typetheletter(19);
    QCOMPARE(screen.entry.length(), 4);
    QVERIFY(!minBar->isVisible());

    // A letter is drawn over the empty-slot picture: where the letter is transparent
    // (white in the file), the slot's own picture shows.
    QImage holes = testStrip();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            holes.setPixel(3 * 42 + x, y, qRgb(255, 255, 255));
    saveStrip(screen.dir.filePath(QStringLiteral("holes.bmp")), holes);
    QVERIFY(screen.tiles->loadgrouptiles(QStringLiteral("holes")));
    QCOMPARE(screen.strip->letterSlot(1)->grab().toImage().pixel(5, 5), qRgb(30, 100, 50));
    QCOMPARE(screen.strip->letterSlot(1)->grab().toImage().pixel(15, 5), qRgb(3, 100, 50));
}

void TestBoardView::theTypingSwitchFollowsClicksAndTheOption()
{
    Screen screen(uniformGrid('e'));
    screen.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen.window));
    QLabel *typing = screen.strip->typingLabel();
    QCOMPARE(typing->text(), QStringLiteral("TYPING ON"));
    QTest::mouseClick(typing, Qt::LeftButton);
    QCOMPARE(typing->text(), QStringLiteral("TYPING OFF"));
    QVERIFY(!screen.entry.FormShortCut(Qt::Key_E, Qt::NoModifier));
    QTest::mouseClick(typing, Qt::LeftButton);
    QCOMPARE(typing->text(), QStringLiteral("TYPING ON"));

    screen.entry.DisableTyping1Click();
    QVERIFY(!typing->isVisible());
    screen.entry.DisableTyping1Click();
    QVERIFY(typing->isVisible());
}

void TestBoardView::theTilesMenuListsAndSwitchesGroups()
{
    Screen screen(gridFromText({"..........", "..cat....."}));
    QMenu menu;
    TilesMenu tilesMenu(&menu, screen.tiles.get());
    QStringList captions;
    for (QAction *action : menu.actions()) {
        if (!action->isSeparator())
            captions << action->text();
    }
    QCOMPARE(
        captions, (QStringList {QStringLiteral("Classic"), QStringLiteral("stone"), QStringLiteral("wood")}));
    QVERIFY(tilesMenu.item(TileGroups::classicName)->isChecked());
    QCOMPARE(tilesMenu.item(QStringLiteral("wood"))->toolTip(), QStringLiteral("wood"));

    QSignalSpy saves(screen.tiles.get(), &TileGroups::saveRequested);
    tilesMenu.item(QStringLiteral("wood"))->trigger();
    QVERIFY(tilesMenu.item(QStringLiteral("wood"))->isChecked());
    QVERIFY(!tilesMenu.item(TileGroups::classicName)->isChecked());
    QCOMPARE(screen.tiles->settingValue(), QStringLiteral("wood"));
    QCOMPARE(saves.count(), 1);
    QCOMPARE(screen.shot().pixel(centre({2, 1}) - QPoint(15, 15)), qRgb(3, 100, 50));

    // A group loaded from the settings moves the check mark too, without a save; the
    // stored name finds its file and item whatever its case.
    screen.tiles->applySetting(QStringLiteral("Stone"));
    QVERIFY(tilesMenu.item(QStringLiteral("stone"))->isChecked());
    QCOMPARE(saves.count(), 1);

    tilesMenu.item(TileGroups::classicName)->trigger();
    QCOMPARE(
        screen.shot().pixel(centre({2, 1}) - QPoint(15, 15)), TileGroup::builtin().picture(3).pixel(6, 6));
}

void TestBoardView::aTileGroupNameWithAnAmpersandShowsIt()
{
    QTemporaryDir dir;
    saveStrip(dir.filePath(QStringLiteral("R&B.bmp")), testStrip());
    TileGroups tiles(dir.path());
    QMenu menu;
    TilesMenu tilesMenu(&menu, &tiles);
    QAction *item = tilesMenu.item(QStringLiteral("R&B"));
    QVERIFY(item);
    QCOMPARE(item->iconText(), QStringLiteral("R&B"));
    item->trigger();
    QCOMPARE(tiles.settingValue(), QStringLiteral("R&B"));
}

QTEST_MAIN(TestBoardView)
#include "tst_boardview.moc"
