#include "boardpaintbox.h"
#include "boardpanel.h"
#include "lazywordtrie.h"
#include "reviewboard.h"
#include "roundreview.h"
#include "roundreviewer.h"
#include "roundreviewview.h"
#include "roundwordlist.h"
#include "tilegroups.h"
#include "twordslist.h"
#include "wordentry.h"
#include "wordgrid.h"
#include "wordresults.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using Kind = VerdictMark::Kind;
using Group = RoundReview::Group;

Q_DECLARE_METATYPE(QList<Cell>)

namespace {

QByteArray numberedWords(int n, const char *stem = "WORD")
{
    QByteArrayList words;
    for (int i = 1; i <= n; ++i)
        words << stem + QByteArray::number(i).rightJustified(3, '0');
    return words.join('+');
}

QStringList wordsOf(const QList<RoundReview::Entry> &entries)
{
    QStringList words;
    for (const RoundReview::Entry &e : entries)
        words << e.word;
    return words;
}

QList<int> pointsOf(const QList<RoundReview::Entry> &entries)
{
    QList<int> points;
    for (const RoundReview::Entry &e : entries)
        points << e.points;
    return points;
}

// Every word the review board holds, as the solver finds them.
QList<SolvedWord> solveReviewBoard(const WordTrie &trie)
{
    const BoardModel::Grid grid = reviewGrid();
    BoardSolver::Board cells {};
    for (int r = 0; r < BoardModel::size; ++r)
        for (int c = 0; c < BoardModel::size; ++c)
            cells[size_t(r)][size_t(c)] = grid[size_t(r)][size_t(c)];
    return BoardSolver(trie).solve(cells);
}

// This player (slot 1) found SCENT first and TEN after someone else; others found NEAT
// and ZOO (a word the host accepted that the board does not show).
const QByteArray roundList = "NEAT+SCENT+TEN+ZOO";
const QList<AcceptedWord> mine {{QStringLiteral("SCENT"), 3, true}, {QStringLiteral("TEN"), 0, false}};

// The player's window after a round: the board with its paint box, the results and the
// words list window.
struct Screen
{
    Screen()
    {
        spell = reviewDictionary(dir);
        trie = std::make_unique<LazyWordTrie>(*spell);
        panel = new BoardPanel(&board, &entry, &tiles, &window);
        window.resize(480, 480);
        results.setMyslot(1);
        wordslist = std::make_unique<Twordslist>(&board, trie.get(), &results, &window);
        QObject::connect(
            wordslist.get(), &Twordslist::pathChosen, panel->paintbox(), &BoardPaintBox::showPath);
        board.loadboard(reviewGrid());
        entry.startRound(true);
    }

    // The round ends with this player's two words accepted.
    void endRound()
    {
        results.goodword("1+3+SCENT+5+1+");
        results.goodword("1+0+TEN+3+2+");
        entry.setEntryOpen(false);
        wordslist->thewords(roundList);
    }

    QImage boardShot() const { return panel->paintbox()->grab().toImage(); }

    // Clicks the n-th word of a group in the review page.
    void clickWord(Group g, int n)
    {
        wordslist->pages()->setCurrentIndex(1);
        RoundReviewView *view = wordslist->reviewView();
        QTreeWidgetItem *item = view->wordItem(g, n);
        QVERIFY(item);
        view->scrollToItem(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
    }

    QTemporaryDir dir;
    std::unique_ptr<TDictn> spell;
    std::unique_ptr<LazyWordTrie> trie;
    BoardModel board;
    WordEntry entry {&board};
    TileGroups tiles {QString()};
    WordResults results;
    QWidget window;
    BoardPanel *panel = nullptr;
    std::unique_ptr<Twordslist> wordslist;
};

// The share of a displayed cell's pixels that changed between two shots of the board,
// leaving out a margin of `inset` pixels.
double changedShare(const QImage &before, const QImage &after, Cell shown, int inset = 0)
{
    int changed = 0;
    int all = 0;
    for (int y = shown.y * 42 + inset; y < shown.y * 42 + 42 - inset; ++y)
        for (int x = shown.x * 42 + inset; x < shown.x * 42 + 42 - inset; ++x, ++all)
            changed += before.pixel(x, y) != after.pixel(x, y) ? 1 : 0;
    return double(changed) / all;
}

} // namespace

class TestWordsList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void theListIsReadItemByItem_data();
    void theListIsReadItemByItem();
    void sevenWordsFillThreeRows();
    void aRoundWithoutWordsSaysSo();
    void aShorterListAfterALongerOneLeavesNothingBehind();
    void aLongListScrollsAndAFloodIsBounded();
    void theGridDrawsPaleYellowOnGreen();
    void theDoneButtonHidesTheWindow();
    void theWindowKeepsItsPlace();
    void theReviewGroupsEveryWordOfTheBoard_data();
    void theReviewGroupsEveryWordOfTheBoard();
    void theReviewCarriesPathsThatSpellTheWords();
    void theReviewWaitsForTheWordListWithoutBlocking();
    void theReviewPageShowsGroupsCountsAndMarks();
    void clickingAWordDrawsItsPathOnTheBoard();
    void theNextRoundTakesThePathAway_data();
    void theNextRoundTakesThePathAway();
    void aClickAfterTheBoardChangedDrawsNothing();
    void thePathFollowsTheBoardsRotation();
};

void TestWordsList::initTestCase()
{
    qRegisterMetaType<QList<Cell>>();
}

void TestWordsList::theListIsReadItemByItem_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<bool>("noWords");

    QTest::newRow("words") << QByteArray("ANT+BEE+CAT") << QStringList {"ANT", "BEE", "CAT"} << false;
    QTest::newRow("no words") << QByteArray("No Words") << QStringList {} << true;
    QTest::newRow("nothing at all") << QByteArray() << QStringList {} << false;
    QTest::newRow("empty items skipped") << QByteArray("+ANT++BEE+") << QStringList {"ANT", "BEE"} << false;
    QTest::newRow("no words ends the list") << QByteArray("ANT+No Words+BEE") << QStringList {"ANT"} << false;
    QTest::newRow("a word too long is cut")
        << QByteArray(100, 'Q') << QStringList {QString(23, u'Q') + QChar(0x2026)} << false;
}

void TestWordsList::theListIsReadItemByItem()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, words);
    QFETCH(bool, noWords);

    const RoundWordList read = RoundWordList::fromWire(list);
    QCOMPARE(read.words(), words);
    QCOMPARE(read.noWords(), noWords);
}

void TestWordsList::sevenWordsFillThreeRows()
{
    Screen s;
    Twordslist &w = *s.wordslist;
    QCOMPARE(w.windowTitle(), QStringLiteral("Wendlewick - Words List"));
    QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!w.isVisible());

    w.thewords("ANT+BEE+CAT+DOG+EEL+FOX+GNU");
    QVERIFY(w.isVisible());
    WordGrid *grid = w.findChild<WordGrid *>(QStringLiteral("stringgrid_words"));
    QVERIFY(grid);
    QCOMPARE(grid->columnCount(), 3);
    for (int c = 0; c < 3; ++c)
        QCOMPARE(grid->columnWidth(c), 127);
    QVERIFY(!grid->showGrid());
    QCOMPARE(grid->rowCount(), 3);
    const QStringList expected {"ANT", "BEE", "CAT", "DOG", "EEL", "FOX", "GNU", "", ""};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(grid->cellText(i / 3, i % 3), expected.at(i));
    auto *found = w.findChild<QLabel *>(QStringLiteral("label_found"));
    QVERIFY(found);
    QCOMPARE(found->text(), QStringLiteral("Count: 7"));
    QCOMPARE(found->property("tag").toInt(), 7);
    QVERIFY(grid->isVisibleTo(&w));
    QVERIFY(!w.findChild<QLabel *>(QStringLiteral("label_nowords"))->isVisibleTo(&w));
}

void TestWordsList::aRoundWithoutWordsSaysSo()
{
    Screen s;
    Twordslist &w = *s.wordslist;
    w.thewords("ANT+BEE");
    w.thewords("No Words");
    auto *none = w.findChild<QLabel *>(QStringLiteral("label_nowords"));
    QVERIFY(none);
    QCOMPARE(none->text(), QStringLiteral("No Words Were Found"));
    QVERIFY(none->isVisibleTo(&w));
    QVERIFY(!w.grid()->isVisibleTo(&w));
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("label_found"))->text(), QStringLiteral("Count: 0"));
    QCOMPARE(w.grid()->rowCount(), 1);
    QCOMPARE(w.grid()->cellText(0, 0), QString());
    QVERIFY(w.isVisible());
}

void TestWordsList::aShorterListAfterALongerOneLeavesNothingBehind()
{
    Screen s;
    Twordslist &w = *s.wordslist;
    w.thewords(numberedWords(20));
    QCOMPARE(w.grid()->rowCount(), 7);
    w.thewords("ANT+BEE");
    QCOMPARE(w.grid()->rowCount(), 1);
    QCOMPARE(w.grid()->cellText(0, 0), QStringLiteral("ANT"));
    QCOMPARE(w.grid()->cellText(0, 1), QStringLiteral("BEE"));
    QCOMPARE(w.grid()->cellText(0, 2), QString());
    QCOMPARE(w.grid()->cellText(1, 0), QString());
    QCOMPARE(w.count(), 2);
}

void TestWordsList::aLongListScrollsAndAFloodIsBounded()
{
    Screen s;
    Twordslist &w = *s.wordslist;
    w.thewords(numberedWords(90));
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.grid()->rowCount(), 30);
    QTRY_VERIFY(w.grid()->verticalScrollBar()->maximum() > 0);

    // A hostile host's 100,000 words: the window shows a bounded number.
    QByteArray flood;
    for (int i = 0; i < 100000; ++i)
        flood += "AB+";
    w.thewords(flood);
    QCOMPARE(w.count(), RoundWordList::maxWords);
    QCOMPARE(w.grid()->rowCount(), RoundWordList::maxWords / 3 + 1);
}

void TestWordsList::theGridDrawsPaleYellowOnGreen()
{
    Screen s;
    Twordslist &w = *s.wordslist;
    w.thewords("MMMMMMMMMMMM+WWWWWWWWWWWW+ANT");
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.grid()->font().pixelSize(), 16);
    const QImage shot = w.grid()->viewport()->grab().toImage();
    int green = 0;
    int yellow = 0;
    for (int y = 0; y < WordGrid::rowHeight; ++y) {
        for (int x = 0; x < 3 * WordGrid::cellWidth; ++x) {
            const QColor c = shot.pixelColor(x, y);
            green += c == QColor(76, 106, 76) ? 1 : 0;
            yellow += c == QColor(255, 255, 198) ? 1 : 0;
        }
    }
    QVERIFY(green > 3 * WordGrid::cellWidth * WordGrid::rowHeight / 2);
    QVERIFY(yellow > 50);
    // A twelve-letter word is squeezed into its cell, not cut: ink reaches near the
    // cell's right edge but never crosses into the next cell's first pixels.
    auto inkInColumns = [&](int from, int to) {
        int n = 0;
        for (int y = 0; y < WordGrid::rowHeight; ++y)
            for (int x = from; x < to; ++x)
                n += shot.pixelColor(x, y) != QColor(76, 106, 76) ? 1 : 0;
        return n;
    };
    QVERIFY(inkInColumns(WordGrid::cellWidth - 20, WordGrid::cellWidth - 2) > 0);
    QCOMPARE(inkInColumns(WordGrid::cellWidth, WordGrid::cellWidth + 2), 0);
}

void TestWordsList::theDoneButtonHidesTheWindow()
{
    Screen s;
    s.wordslist->thewords("ANT");
    QVERIFY(s.wordslist->isVisible());
    auto *done = s.wordslist->findChild<QPushButton *>(QStringLiteral("button_allwords"));
    QVERIFY(done);
    QVERIFY(!done->icon().isNull());
    QTest::mouseClick(done, Qt::LeftButton);
    QVERIFY(!s.wordslist->isVisible());
}

void TestWordsList::theWindowKeepsItsPlace()
{
    Screen s;
    Twordslist &w = *s.wordslist;
    QCOMPARE(w.position(), QPoint(42, 98));
    QCOMPARE(Twordslist::leftKey, QStringLiteral("Wordslistleft"));
    QCOMPARE(Twordslist::topKey, QStringLiteral("Wordslisttop"));

    w.setPosition({120, 90});
    w.thewords("ANT");
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.position(), QPoint(120, 90));
    w.move(150, 110);
    QTRY_COMPARE(w.position(), QPoint(150, 110));
    w.button_allwordsClick();
    QCOMPARE(w.position(), QPoint(150, 110));
    w.thewords("BEE");
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.position(), QPoint(150, 110));

    // A place on a screen that is gone brings the window back within reach.
    w.hide();
    w.setPosition({-30000, -30000});
    w.thewords("CAT");
    QVERIFY(QGuiApplication::screenAt(w.position() + QPoint(40, 10)));
}

void TestWordsList::theReviewGroupsEveryWordOfTheBoard_data()
{
    QTest::addColumn<int>("minLetters");
    QTest::addColumn<QStringList>("nobody");
    QTest::addColumn<QList<int>>("nobodyPoints");
    QTest::addColumn<QString>("summary");

    QTest::newRow("minimum 3") << 3 << QStringList {"ANTE", "CANE", "SEAT", "TEAS", "CAT", "NET", "SEA"}
                               << QList<int> {2, 2, 2, 2, 1, 1, 1} << "You found 2 of 11 words";
    QTest::newRow("minimum 4") << 4 << QStringList {"ANTE", "CANE", "SEAT", "TEAS"} << QList<int> {2, 2, 2, 2}
                               << "You found 2 of 8 words";
    QTest::newRow("minimum 6") << 6 << QStringList {} << QList<int> {} << "You found 2 of 4 words";
}

void TestWordsList::theReviewGroupsEveryWordOfTheBoard()
{
    QFETCH(int, minLetters);
    QFETCH(QStringList, nobody);
    QFETCH(QList<int>, nobodyPoints);
    QFETCH(QString, summary);

    QTemporaryDir dir;
    const auto spell = reviewDictionary(dir);
    const WordTrie trie = WordTrie::fromDictionary(*spell);
    const RoundReview review = RoundReview::build(
        solveReviewBoard(trie), mine, RoundWordList::fromWire(roundList).words(), minLetters);

    QCOMPARE(wordsOf(review.group(RoundReview::FoundByYou)), (QStringList {"SCENT", "TEN"}));
    QCOMPARE(pointsOf(review.group(RoundReview::FoundByYou)), (QList<int> {3, 0}));
    QCOMPARE(review.group(RoundReview::FoundByYou).at(0).mark, Kind::FirstFinder);
    QCOMPARE(review.group(RoundReview::FoundByYou).at(1).mark, Kind::Accepted);
    QCOMPARE(wordsOf(review.group(RoundReview::FoundByOthers)), (QStringList {"NEAT", "ZOO"}));
    QCOMPARE(pointsOf(review.group(RoundReview::FoundByOthers)), (QList<int> {2, 1}));
    QVERIFY2(review.group(RoundReview::FoundByOthers).at(1).path.isEmpty(), "the board does not show ZOO");
    QCOMPARE(wordsOf(review.group(RoundReview::FoundByNobody)), nobody);
    QCOMPARE(pointsOf(review.group(RoundReview::FoundByNobody)), nobodyPoints);
    for (const RoundReview::Entry &e : review.group(RoundReview::FoundByNobody))
        QCOMPARE(e.mark, Kind::FoundByNobody);
    QCOMPARE(review.summary(), summary);
    QCOMPARE(review.groupHeading(RoundReview::FoundByYou), QStringLiteral("Found by you (2)"));
    QCOMPARE(review.groupHeading(RoundReview::FoundByNobody),
        QStringLiteral("Found by nobody (%1)").arg(nobody.size()));
}

void TestWordsList::theReviewCarriesPathsThatSpellTheWords()
{
    QTemporaryDir dir;
    const auto spell = reviewDictionary(dir);
    const WordTrie trie = WordTrie::fromDictionary(*spell);
    const RoundReview review = RoundReview::build(solveReviewBoard(trie), {}, {}, 3);
    const BoardModel::Grid grid = reviewGrid();
    QCOMPARE(review.count(RoundReview::FoundByNobody), 10);
    for (const RoundReview::Entry &e : review.group(RoundReview::FoundByNobody)) {
        QCOMPARE(e.path.size(), e.word.size());
        QString spelled;
        for (qsizetype i = 0; i < e.path.size(); ++i) {
            const Cell c = e.path.at(i);
            QVERIFY(c.inGrid());
            if (i > 0)
                QVERIFY(c.isNeighbourOf(e.path.at(i - 1)));
            QCOMPARE(e.path.count(c), 1);
            spelled += BoardModel::convertoletter(grid[size_t(c.x)][size_t(c.y)]).toUpper();
        }
        QCOMPARE(spelled, e.word);
    }
    QCOMPARE(review.summary(), QStringLiteral("You found 0 of 10 words"));

    // Without a solver only the words found are grouped, and the summary says so.
    const RoundReview unsolved = RoundReview::build({}, mine, {"NEAT", "SCENT", "TEN"}, 3, false);
    QCOMPARE(unsolved.total(), 3);
    QCOMPARE(unsolved.summary(), QStringLiteral("You found 2 of the 3 words found this round"));
}

void TestWordsList::theReviewWaitsForTheWordListWithoutBlocking()
{
    Screen s;
    RoundReviewer *reviewer = s.wordslist->reviewer();
    QVERIFY(!s.trie->isBuilt());
    s.endRound();
    QVERIFY(reviewer->isWaiting());
    QVERIFY(!reviewer->isReady());
    auto *summary = s.wordslist->findChild<QLabel *>(QStringLiteral("label_summary"));
    QVERIFY(summary->text().startsWith(u"Finding every word"));

    // A new round's board arriving meanwhile does not change what is reviewed.
    s.board.loadboard(uniformGrid('q'));
    QSignalSpy ready(reviewer, &RoundReviewer::changed);
    QVERIFY(ready.wait());
    QVERIFY(reviewer->isReady());
    QCOMPARE(reviewer->result().total(), 11);
    QCOMPARE(summary->text(), QStringLiteral("You found 2 of 11 words"));
    QVERIFY(!reviewer->reviewsCurrentBoard());
}

void TestWordsList::theReviewPageShowsGroupsCountsAndMarks()
{
    Screen s;
    s.trie->trie();
    s.endRound();
    QVERIFY(s.wordslist->reviewer()->isReady());
    QCOMPARE(s.wordslist->pages()->tabText(1), QStringLiteral("Every Word (11)"));
    QCOMPARE(s.wordslist->pages()->currentIndex(), 0);
    // The next round's list opens on its words again, though the review was left open.
    s.wordslist->pages()->setCurrentIndex(1);
    s.wordslist->thewords(roundList);
    QCOMPARE(s.wordslist->pages()->currentIndex(), 0);
    RoundReviewView *view = s.wordslist->reviewView();
    QCOMPARE(view->topLevelItemCount(), 3);
    QCOMPARE(view->groupItem(RoundReview::FoundByYou)->text(0), QStringLiteral("Found by you (2)"));
    QCOMPARE(view->groupItem(RoundReview::FoundByOthers)->text(0), QStringLiteral("Found by others (2)"));
    QCOMPARE(view->groupItem(RoundReview::FoundByNobody)->text(0), QStringLiteral("Found by nobody (7)"));

    struct Row
    {
        Group group;
        int n;
        const char *word;
        const char *points;
        Kind mark;
    };
    for (const Row &r : {Row {RoundReview::FoundByYou, 0, "SCENT", "3", Kind::FirstFinder},
             Row {RoundReview::FoundByYou, 1, "TEN", "0", Kind::Accepted},
             Row {RoundReview::FoundByOthers, 0, "NEAT", "2", Kind::FoundByOthers},
             Row {RoundReview::FoundByNobody, 0, "ANTE", "2", Kind::FoundByNobody}}) {
        QTreeWidgetItem *item = view->wordItem(r.group, r.n);
        QVERIFY(item);
        QCOMPARE(item->text(RoundReviewView::WordColumn), QString::fromLatin1(r.word));
        QCOMPARE(item->text(RoundReviewView::PointsColumn), QString::fromLatin1(r.points));
        QCOMPARE(item->text(RoundReviewView::MarkColumn), VerdictMark::sign(r.mark));
        QCOMPARE(item->foreground(RoundReviewView::WordColumn).color(), VerdictMark::colour(r.mark));
    }
    // Every sign is a different character, so no verdict leans on colour alone.
    QSet<QString> signs;
    for (Kind k : {Kind::FirstFinder, Kind::Accepted, Kind::TooShort, Kind::AlreadyFound, Kind::Invalid,
             Kind::FoundByOthers, Kind::FoundByNobody})
        signs.insert(VerdictMark::sign(k));
    QCOMPARE(signs.size(), 7);
    QVERIFY(QFontMetrics(QFont(VerdictMark::fontFamily()))
                .inFontUcs4(VerdictMark::sign(Kind::FirstFinder).at(0).unicode()));
}

void TestWordsList::clickingAWordDrawsItsPathOnTheBoard()
{
    Screen s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    s.trie->trie();
    s.endRound();
    QVERIFY(QTest::qWaitForWindowExposed(s.wordslist.get()));
    const QImage before = s.boardShot();
    QSignalSpy chosen(s.wordslist.get(), &Twordslist::pathChosen);

    s.clickWord(RoundReview::FoundByYou, 0); // SCENT
    QVERIFY(!chosen.isEmpty());
    const QList<Cell> scent {{0, 1}, {0, 0}, {1, 1}, {2, 1}, {2, 0}};
    QCOMPARE(chosen.last().at(0).value<QList<Cell>>(), scent);
    QCOMPARE(s.board.pathOverlay(), scent);
    const QImage drawn = s.boardShot();
    for (const Cell &c : scent)
        QVERIFY2(changedShare(before, drawn, c) > 0.2, "each tile of the path is drawn over");
    // A is not on the path: its neighbours' frames touch its edges, its letter stays as it was.
    QCOMPARE(changedShare(before, drawn, {1, 0}, 7), 0.0);
    QCOMPARE(changedShare(before, drawn, {5, 5}), 0.0);

    // Another word replaces it.
    s.clickWord(RoundReview::FoundByNobody, 4); // CAT
    QCOMPARE(s.board.pathOverlay(), (QList<Cell> {{0, 0}, {1, 0}, {2, 0}}));
    QVERIFY(changedShare(before, s.boardShot(), {1, 0}) > 0.2);
    QCOMPARE(changedShare(before, s.boardShot(), {0, 1}, 7), 0.0);
}

void TestWordsList::theNextRoundTakesThePathAway_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("the next board") << 0;
    QTest::newRow("the next round's start") << 1;
    QTest::newRow("a new game") << 2;
}

void TestWordsList::theNextRoundTakesThePathAway()
{
    QFETCH(int, how);
    Screen s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    s.trie->trie();
    const QImage plain = s.boardShot();
    s.endRound();
    s.clickWord(RoundReview::FoundByYou, 0);
    QVERIFY(!s.board.pathOverlay().isEmpty());

    switch (how) {
    case 0:
        s.board.loadboard(reviewGrid());
        break;
    case 1:
        s.entry.startRound(true);
        break;
    default:
        s.entry.clearall();
        s.board.loadboard(reviewGrid());
        break;
    }
    QVERIFY(s.board.pathOverlay().isEmpty());
    QCOMPARE(s.boardShot(), plain);
}

void TestWordsList::aClickAfterTheBoardChangedDrawsNothing()
{
    Screen s;
    s.trie->trie();
    s.endRound();
    s.board.loadboard(uniformGrid('e'));
    QSignalSpy chosen(s.wordslist.get(), &Twordslist::pathChosen);
    s.clickWord(RoundReview::FoundByYou, 0);
    QVERIFY(chosen.isEmpty());
    QVERIFY(s.board.pathOverlay().isEmpty());
}

void TestWordsList::thePathFollowsTheBoardsRotation()
{
    Screen s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    s.board.rotate();
    const QImage before = s.boardShot();
    s.panel->paintbox()->showPath({{0, 0}, {1, 0}, {2, 0}});
    const QImage drawn = s.boardShot();
    for (const Cell &real : {Cell {0, 0}, Cell {1, 0}, Cell {2, 0}}) {
        const auto shown = s.board.displayed(real);
        QVERIFY(shown);
        QVERIFY(changedShare(before, drawn, *shown) > 0.2);
    }
    QCOMPARE(changedShare(before, drawn, {0, 0}), 0.0); // host (0, 9) lies there: blank, off the path
    s.panel->paintbox()->showPath({});
    QCOMPARE(s.boardShot(), before);
}

QTEST_MAIN(TestWordsList)
#include "tst_wordslist.moc"
