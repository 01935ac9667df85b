#include "boardpaintbox.h"
#include "boardpanel.h"
#include "definitionview.h"
#include "gamesummary.h"
#include "gamesummaryview.h"
#include "lazywordtrie.h"
#include "legibility.h"
#include "reviewboard.h"
#include "reviewplacement.h"
#include "roundreview.h"
#include "roundreviewer.h"
#include "roundreviewview.h"
#include "roundwordlist.h"
#include "tilegroups.h"
#include "twordslist.h"
#include "wordentry.h"
#include "wordgrid.h"
#include "wordnet.h"
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
        window.move(100, 100);
        wordslist = std::make_unique<Twordslist>(&board, trie.get(), &results, &window);
        wordslist->setBoardView(panel);
        wordslist->setDefinitions(&wordnet);
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
    QRect boardOnScreen() const { return QRect(panel->mapToGlobal(QPoint(0, 0)), panel->size()); }

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
    WordNet wordnet {QStringLiteral(WENDLEWICK_SOURCE_DIR "/tests/dict/wordnet")};
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

// True when every pixel of a displayed cell, leaving out a margin of `inset` pixels, is
// its old self under the path's veil: the cell is dimmed, nothing is drawn over it.
bool onlyDimmed(const QImage &before, const QImage &after, Cell shown, int inset = 0)
{
    const QColor veil = BoardPaintBox::pathVeil;
    const double keep = 1.0 - veil.alphaF();
    for (int y = shown.y * 42 + inset; y < shown.y * 42 + 42 - inset; ++y) {
        for (int x = shown.x * 42 + inset; x < shown.x * 42 + 42 - inset; ++x) {
            const QColor b = before.pixelColor(x, y);
            const QColor a = after.pixelColor(x, y);
            for (const auto &[was, is] : {std::pair {b.red(), a.red()}, std::pair {b.green(), a.green()},
                     std::pair {b.blue(), a.blue()}}) {
                if (std::abs(was * keep - is) > 2.0)
                    return false;
            }
        }
    }
    return true;
}

QColor meanColour(const QImage &image, const QRect &area)
{
    double sum[3] {};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            sum[0] += c.redF();
            sum[1] += c.greenF();
            sum[2] += c.blueF();
        }
    }
    const double n = double(area.width()) * area.height();
    return QColor::fromRgbF(float(sum[0] / n), float(sum[1] / n), float(sum[2] / n));
}

QString describe(const GameSummary::Round &r)
{
    return QStringLiteral("%1/%2/%3 %4 %5")
        .arg(r.yours)
        .arg(r.others)
        .arg(r.nobody)
        .arg(r.best.word, RoundReview::groupTitle(r.bestGroup));
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
    void thePathReadsOnEveryTileGroupAndScale_data();
    void thePathReadsOnEveryTileGroupAndScale();
    void theReviewStandsBesideTheBoard_data();
    void theReviewStandsBesideTheBoard();
    void openingTheReviewMovesTheWindowBesideTheBoard();
    void theLastRoundStaysReachableDuringTheNext();
    void theGameSummaryCountsEveryRound_data();
    void theGameSummaryCountsEveryRound();
    void theGameEndsOnItsSummary();
    void choosingAWordShowsItsMeaning_data();
    void choosingAWordShowsItsMeaning();
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
    // A is not on the path: its neighbours' frames touch its edges, its letter is only
    // dimmed, like every other cell off the path.
    QVERIFY(onlyDimmed(before, drawn, {1, 0}, 7));
    QVERIFY(onlyDimmed(before, drawn, {5, 5}));

    // Another word replaces it.
    s.clickWord(RoundReview::FoundByNobody, 4); // CAT
    QCOMPARE(s.board.pathOverlay(), (QList<Cell> {{0, 0}, {1, 0}, {2, 0}}));
    QVERIFY(changedShare(before, s.boardShot(), {1, 0}) > 0.2);
    QVERIFY(onlyDimmed(before, s.boardShot(), {0, 1}, 7));
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
    QVERIFY(onlyDimmed(before, drawn, {0, 0})); // host (0, 9) lies there: blank, off the path
    s.panel->paintbox()->showPath({});
    QCOMPARE(s.boardShot(), before);
}

void TestWordsList::thePathReadsOnEveryTileGroupAndScale_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("scale");
    for (const char *group : {"classic", "wood", "stone", "highcontrast"})
        for (int scale : {1, 2})
            QTest::addRow("%s at %dx", group, scale) << QString::fromLatin1(group) << scale;
}

void TestWordsList::thePathReadsOnEveryTileGroupAndScale()
{
    QFETCH(QString, group);
    QFETCH(int, scale);
    Screen s;
    TileGroups shipped(QStringLiteral(WENDLEWICK_SOURCE_DIR "/assets/tiles"));
    QVERIFY(shipped.loadgrouptiles(group));
    BoardPanel panel(&s.board, &s.entry, &shipped);
    auto shot = [&] {
        QImage image(BoardPaintBox::side * scale, BoardPaintBox::side * scale, QImage::Format_ARGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::black);
        panel.paintbox()->render(&image);
        return image;
    };
    const QImage before = shot();
    const QList<Cell> scent {{0, 1}, {0, 0}, {1, 1}, {2, 1}, {2, 0}};
    s.board.setPathOverlay(scent);
    const QImage after = shot();

    const int cell = 42 * scale;
    for (const Cell &c : scent) {
        const QRect tile(c.x * cell, c.y * cell, cell, cell);
        // The letter is left as it was: no arrow or ring crosses it.
        const QRect letter = tile.adjusted(cell * 3 / 10, cell * 3 / 10, -cell * 3 / 10, -cell * 3 / 10);
        QCOMPARE(after.copy(letter), before.copy(letter));
        // The ring around the tile stands out from the tile at 3:1 or better somewhere
        // across its width (a quarter down the tile's left side, where no arrow runs).
        const QColor tileColour = meanColour(before, tile.adjusted(2, 2, -2, -2));
        double best = 0;
        for (int x = tile.left(); x < tile.left() + cell / 5; ++x)
            best = std::max(
                best, Legibility::contrastRatio(after.pixelColor(x, tile.top() + cell / 4), tileColour));
        QVERIFY2(best >= 3.0, qPrintable(QString::number(best)));
    }
    // The tiles off the path are darker than those on it.
    const QRect off(5 * cell, 5 * cell, cell, cell);
    QVERIFY(meanColour(after, off).lightnessF() < meanColour(before, off).lightnessF());
}

void TestWordsList::theReviewStandsBesideTheBoard_data()
{
    QTest::addColumn<QRect>("work");
    QTest::addColumn<QRect>("board");
    QTest::addColumn<QPoint>("place");

    const QRect desk(0, 0, 1920, 1080);
    QTest::newRow("right of the board") << desk << QRect(50, 150, 420, 420) << QPoint(478, 150);
    QTest::newRow("left when the right is short")
        << desk << QRect(1450, 150, 420, 420) << QPoint(1450 - 8 - 437, 150);
    QTest::newRow("below when neither side has room")
        << QRect(0, 0, 800, 1080) << QRect(50, 100, 420, 420) << QPoint(50, 528);
    QTest::newRow("above when below is short")
        << QRect(0, 0, 800, 1000) << QRect(50, 560, 420, 420) << QPoint(50, 560 - 8 - 470);
    QTest::newRow("level with the board, kept on the screen")
        << desk << QRect(50, 900, 420, 170) << QPoint(478, 1080 - 470);
    QTest::newRow("on a second screen")
        << QRect(1920, 0, 1920, 1080) << QRect(1970, 150, 420, 420) << QPoint(2398, 150);
    QTest::newRow("no room anywhere: the roomiest side, on the screen")
        << QRect(0, 0, 800, 600) << QRect(50, 100, 420, 420) << QPoint(800 - 437, 100);
}

void TestWordsList::theReviewStandsBesideTheBoard()
{
    QFETCH(QRect, work);
    QFETCH(QRect, board);
    QFETCH(QPoint, place);
    const QSize frame(437, 470);
    QCOMPARE(ReviewPlacement::besideBoard(board, frame, work), place);
}

void TestWordsList::openingTheReviewMovesTheWindowBesideTheBoard()
{
    Screen s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    Twordslist &w = *s.wordslist;
    w.setPosition({150, 160}); // over the board
    s.endRound();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.pos(), QPoint(150, 160));

    w.pages()->setCurrentIndex(Twordslist::ReviewPage);
    QVERIFY(!w.frameGeometry().intersects(s.boardOnScreen()));
    QCOMPARE(w.position(), QPoint(150, 160)); // what the settings keep
    w.setPosition({170, 180}); // Reset Screen Location, say, while the review is open
    QVERIFY(!w.frameGeometry().intersects(s.boardOnScreen()));

    // The player moves the review further away; it goes there again next time.
    const QPoint moved = w.pos() + QPoint(60, 40);
    w.move(moved);
    w.pages()->setCurrentIndex(Twordslist::WordsPage);
    QCOMPARE(w.pos(), QPoint(170, 180));
    w.pages()->setCurrentIndex(Twordslist::ReviewPage);
    QCOMPARE(w.pos(), moved);

    // Shown again for the next round's words, on its own page, at its own place.
    w.roundStarted();
    w.pages()->setCurrentIndex(Twordslist::WordsPage);
    s.endRound();
    QCOMPARE(w.pos(), QPoint(170, 180));
}

void TestWordsList::theLastRoundStaysReachableDuringTheNext()
{
    Screen s;
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    Twordslist &w = *s.wordslist;
    QSignalSpy available(&w, &Twordslist::lastRoundChanged);
    QVERIFY(!w.hasLastRound());
    s.trie->trie();
    s.endRound();
    QVERIFY(w.hasLastRound());
    QCOMPARE(available.last().at(0).toBool(), true);

    // The next round: the window goes and stays away until it is asked for.
    w.roundStarted();
    s.board.loadboard(uniformGrid('e'));
    s.entry.startRound(true);
    QVERIFY(!w.isVisible());
    QVERIFY(w.hasLastRound());
    w.showLastRound();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.pages()->currentIndex(), int(Twordslist::ReviewPage));
    QVERIFY(!w.frameGeometry().intersects(s.boardOnScreen()));
    QCOMPARE(w.reviewer()->result().total(), 11);
    QVERIFY(w.findChild<QLabel *>(QStringLiteral("label_boardnote"))->isVisibleTo(&w));
    // Its words have no place on the new board, but their meanings still show.
    s.clickWord(RoundReview::FoundByNobody, 4); // CAT
    QVERIFY(s.board.pathOverlay().isEmpty());
    QVERIFY(w.definitionView()->toPlainText().contains(u"small furry animal"));
}

void TestWordsList::theGameSummaryCountsEveryRound_data()
{
    QTest::addColumn<QList<int>>("rounds"); // 0: this player's round, 1: others' only, 2: unsolved
    QTest::addColumn<QStringList>("rows"); // each round, then the total

    const QString mineRow = QStringLiteral("2/2/7 SCENT Found by you");
    const QString othersRow = QStringLiteral("0/1/9 SCENT Found by others");
    const QString unsolvedRow = QStringLiteral("2/1/-1 SCENT Found by you");
    QTest::newRow("one round") << QList<int> {0} << QStringList {mineRow, mineRow};
    QTest::newRow("a word found by the player beats the same found by others")
        << QList<int> {1, 0} << QStringList {othersRow, mineRow, QStringLiteral("2/3/16 SCENT Found by you")};
    QTest::newRow("an unsolved round leaves nobody's count unknown") << QList<int> {
        0, 2} << QStringList {mineRow, unsolvedRow, QStringLiteral("4/3/-1 SCENT Found by you")};
    QTest::newRow("no round") << QList<int> {} << QStringList {QStringLiteral("0/0/0  Found by nobody")};
}

void TestWordsList::theGameSummaryCountsEveryRound()
{
    QFETCH(QList<int>, rounds);
    QFETCH(QStringList, rows);

    QTemporaryDir dir;
    const auto spell = reviewDictionary(dir);
    const WordTrie trie = WordTrie::fromDictionary(*spell);
    const QList<SolvedWord> board = solveReviewBoard(trie);
    GameSummary summary;
    for (int kind : rounds) {
        const RoundReview review = kind == 0
            ? RoundReview::build(board, mine, {"NEAT", "SCENT", "TEN", "ZOO"}, 3)
            : kind == 1 ? RoundReview::build(board, {}, {"SCENT"}, 3)
                        : RoundReview::build({}, mine, {"NEAT", "SCENT", "TEN"}, 3, false);
        summary.addRound(review);
    }
    QStringList got;
    for (const GameSummary::Round &r : summary.rounds())
        got << describe(r);
    got << describe(summary.total());
    QCOMPARE(got, rows);
    for (qsizetype i = 0; i < summary.rounds().size(); ++i)
        QCOMPARE(summary.rounds().at(i).number, int(i + 1));
}

void TestWordsList::theGameEndsOnItsSummary()
{
    Screen s;
    Twordslist &w = *s.wordslist;
    QVERIFY(!w.pages()->isTabEnabled(Twordslist::GamePage));
    // The first round's review waits for the word list; the game ends meanwhile.
    s.endRound();
    w.gameOver();
    QCOMPARE(w.pages()->currentIndex(), int(Twordslist::WordsPage));
    QSignalSpy ready(w.reviewer(), &RoundReviewer::changed);
    QVERIFY(ready.wait());
    QCOMPARE(w.pages()->currentIndex(), int(Twordslist::GamePage));

    // A second game of two rounds.
    w.gameStarted();
    QVERIFY(!w.isVisible());
    QVERIFY(w.gameSummary().isEmpty());
    QVERIFY(!w.pages()->isTabEnabled(Twordslist::GamePage));
    for (int round = 0; round < 2; ++round) {
        w.roundStarted();
        s.results.startRound();
        s.endRound();
    }
    w.gameOver();
    QVERIFY(w.isVisible());
    QCOMPARE(w.pages()->currentIndex(), int(Twordslist::GamePage));
    GameSummaryView *view = w.summaryView();
    QCOMPARE(view->topLevelItemCount(), 3);
    for (int row = 0; row < 2; ++row) {
        QTreeWidgetItem *item = view->topLevelItem(row);
        QCOMPARE(item->text(GameSummaryView::RoundColumn), QString::number(row + 1));
        QCOMPARE(item->text(GameSummaryView::YoursColumn), QStringLiteral("2"));
        QCOMPARE(item->text(GameSummaryView::OthersColumn), QStringLiteral("2"));
        QCOMPARE(item->text(GameSummaryView::NobodyColumn), QStringLiteral("7"));
        QCOMPARE(item->text(GameSummaryView::BestColumn), VerdictMark::sign(Kind::FirstFinder) + u" SCENT");
        QCOMPARE(item->toolTip(GameSummaryView::YoursColumn), QStringLiteral("SCENT, TEN"));
    }
    QCOMPARE(view->topLevelItem(2)->text(GameSummaryView::RoundColumn), QStringLiteral("Game"));
    QCOMPARE(view->topLevelItem(2)->text(GameSummaryView::YoursColumn), QStringLiteral("4"));
    QVERIFY(view->topLevelItem(2)->font(0).bold());
}

void TestWordsList::choosingAWordShowsItsMeaning_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("shows");

    QTest::newRow("a base form") << true << int(RoundReview::FoundByYou) << 1
                                 << "ten \u00b7 noun\n1. the number that comes after nine";
    QTest::newRow("an inflected form")
        << true << int(RoundReview::FoundByNobody) << 3
        << "tea \u00b7 noun\n1. a drink made by pouring hot water on dried leaves";
    QTest::newRow("a word WordNet lacks")
        << true << int(RoundReview::FoundByYou) << 0 << "WordNet has no meaning for SCENT.";
    QTest::newRow("without WordNet") << false << int(RoundReview::FoundByYou) << 0
                                     << "sudo apt install wordnet-base";
}

void TestWordsList::choosingAWordShowsItsMeaning()
{
    QFETCH(bool, installed);
    QFETCH(int, group);
    QFETCH(int, n);
    QFETCH(QString, shows);

    Screen s;
    WordNet missing(s.dir.filePath(QStringLiteral("no-wordnet")));
    if (!installed)
        s.wordslist->setDefinitions(&missing);
    s.trie->trie();
    s.endRound();
    DefinitionView *meaning = s.wordslist->definitionView();
    QVERIFY(meaning->toPlainText().startsWith(u"Choose a word"));
    s.clickWord(RoundReview::Group(group), n);
    QVERIFY2(meaning->toPlainText().contains(shows), qPrintable(meaning->toPlainText()));
}

int main(int argc, char *argv[])
{
    // A desktop of 1920 by 1080 pixels: room beside the board for the review.
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == u"offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" WENDLEWICK_SOURCE_DIR "/tests/board/desktop.json");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestWordsList test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_wordslist.moc"
