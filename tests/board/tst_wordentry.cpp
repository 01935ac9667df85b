#include "boardtext.h"
#include "smalldictionary.h"
#include "tdictn.h"
#include "wordentry.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QPoint centre(Cell c)
{
    return {c.x * 42 + 21, c.y * 42 + 21};
}

// A word entry on a board, with this player's round running.
struct Play
{
    explicit Play(const BoardModel::Grid &grid)
        : spell(smallDictionary(dir))
    {
        board.loadboard(grid);
        entry.setDictionary(spell.get());
        entry.setMinLetters(3);
        entry.setConnected(true);
        entry.startRound(true);
    }

    void press(Cell c, Qt::MouseButton button = Qt::LeftButton)
    {
        entry.paintbox_boardMouseDown(button, centre(c));
    }
    // A press and a release in "Click Letters" mode.
    void click(Cell c)
    {
        entry.setClickLetters(true);
        press(c);
        entry.paintbox_boardMouseUp(centre(c));
    }
    void type(const char *letters)
    {
        for (const char *p = letters; *p; ++p)
            entry.typetheletter((*p | 0x20) - 'a' + 1);
    }
    std::vector<Cell> path() const
    {
        std::vector<Cell> cells;
        for (int k = 1; k <= entry.length(); ++k)
            cells.push_back(entry.wordpath(k));
        return cells;
    }
    QString lastStatus() const
    {
        return status.isEmpty() ? QStringLiteral("<none>") : status.last().first().toString();
    }
    QString lastSound() const { return sounds.isEmpty() ? QString() : sounds.last().first().toString(); }

    QTemporaryDir dir;
    std::unique_ptr<TDictn> spell;
    BoardModel board;
    WordEntry entry {&board};
    QSignalSpy status {&entry, &WordEntry::statusChanged};
    QSignalSpy sounds {&entry, &WordEntry::soundRequested};
    QSignalSpy judged {&entry, &WordEntry::wordJudged};
};

// C, A, T three times: the first C (1,1) has an A beside it but no T; complete chains
// start at (5,5) and at (8,0), the one at (5,5) first in column order.
const auto catBoard = gridFromText({
    "........c.",
    ".ca.....a.",
    "........t.",
    "..........",
    "..........",
    ".....cat..",
});

Verdict lastVerdict(const QSignalSpy &judged)
{
    return judged.last().first().value<Verdict>();
}

} // namespace

class TestWordEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tileChoiceRules_data();
    void tileChoiceRules();
    void marksFollowTheWord();
    void backingUpInADragIsRefused();
    void aThirteenthTileIsRefusedAndAThirteenthLetterIgnored();
    void theFirstTypedLetterTakesTheFirstTileInColumnOrder();
    void aTypedWordIsPlacedAnewOnTheFirstCompleteChain();
    void theSearchOrderFollowsTheRotatedBoard();
    void aMouseWordContinuedByTypingGrowsFromItsLastTile();
    void aTypedLetterNeverRetakesATile();
    void removingTheOnlyLetterFreesTheStart();
    void stripSlotClicksRemoveOnlyTheLastLetter();
    void aRefusedLetterHoldsBackTheRestUntilTakenBack_data();
    void aRefusedLetterHoldsBackTheRestUntilTakenBack();
    void keyTable_data();
    void keyTable();
    void dragModeSendsAtRelease();
    void aDragPassesCornersWithoutCatchingTiles();
    void clickModeReleasesSendNothing();
    void aSingleClickInDragModeIsTooShort();
    void aDragOutlivingTheRoundSendsNothing();
    void judgingTable_data();
    void judgingTable();
    void anInvalidWordTwiceIsAlreadyFound();
    void theClaimIsInTheHostsOrientation();
    void rotatingClearsTheWordOnlyInOwnRound();
    void justWatchingOnlySaysSo();
    void aWatchersTypedWordIsRefusedOnlyByTheButtons_data();
    void aWatchersTypedWordIsRefusedOnlyByTheButtons();
    void theMinimumBarShowsWhileTheWordIsShort();
    void optionsRoundTripThroughTheirSettings_data();
    void optionsRoundTripThroughTheirSettings();
    void onlyTheMenuItemsAskForASave();
    void aRoundStartEmptiesEverything();
};

void TestWordEntry::tileChoiceRules_data()
{
    QTest::addColumn<Cell>("second");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("beside") << Cell(5, 4) << true;
    QTest::newRow("diagonal") << Cell(5, 5) << true;
    QTest::newRow("two cells away") << Cell(6, 4) << false;
    QTest::newRow("two cells away diagonally") << Cell(6, 6) << false;
    QTest::newRow("the same tile") << Cell(4, 4) << false;
    QTest::newRow("a blank cell beside") << Cell(3, 4) << false;
}

void TestWordEntry::tileChoiceRules()
{
    QFETCH(Cell, second);
    QFETCH(bool, accepted);
    auto grid = uniformGrid('e');
    grid[3][4] = BoardModel::blankTile;
    Play play(grid);
    play.click({4, 4});
    QCOMPARE(play.lastSound(), QStringLiteral("click"));
    play.click(second);
    QCOMPARE(play.entry.length(), accepted ? 2 : 1);
    QCOMPARE(play.lastStatus(), accepted ? QString() : WordEntry::invalidSelection);
    QCOMPARE(play.lastSound(), accepted ? QStringLiteral("click") : QStringLiteral("invalid"));
    QCOMPARE(play.entry.lasttile(), accepted ? second : Cell(4, 4));
}

void TestWordEntry::marksFollowTheWord()
{
    Play play(uniformGrid('e'));
    for (Cell c : {Cell(1, 1), Cell(2, 1), Cell(3, 2)})
        play.click(c);
    QCOMPARE(play.board.mark({1, 1}), BoardModel::earlierTileMark);
    QCOMPARE(play.board.mark({2, 1}), BoardModel::earlierTileMark);
    QCOMPARE(play.board.mark({3, 2}), BoardModel::lastTileMark);
    QCOMPARE(play.entry.slotPicture(3), 5);
    QCOMPARE(play.entry.slotPicture(4), BoardModel::emptySlot);
    play.entry.deleteoneletter();
    QCOMPARE(play.board.mark({3, 2}), BoardModel::noMark);
    // The new last tile keeps the mark of an earlier tile.
    QCOMPARE(play.board.mark({2, 1}), BoardModel::earlierTileMark);
    QCOMPARE(play.entry.lasttile(), Cell(2, 1));
    QCOMPARE(play.entry.slotPicture(3), BoardModel::emptySlot);
}

void TestWordEntry::backingUpInADragIsRefused()
{
    Play play(uniformGrid('e'));
    play.press({4, 4});
    QVERIFY(play.entry.dragging());
    play.entry.paintbox_boardMouseMove(centre({5, 4}));
    play.entry.paintbox_boardMouseMove(centre({4, 4}));
    QCOMPARE(play.lastStatus(), WordEntry::invalidSelection);
    QCOMPARE(play.path(), (std::vector<Cell> {{4, 4}, {5, 4}}));
    // Staying on the refused tile judges it once only.
    const auto refusals = play.sounds.count();
    play.entry.paintbox_boardMouseMove(centre({4, 4}) + QPoint(3, 3));
    QCOMPARE(play.sounds.count(), refusals);
}

void TestWordEntry::aThirteenthTileIsRefusedAndAThirteenthLetterIgnored()
{
    Play play(uniformGrid('e'));
    for (int x = 0; x < 10; ++x)
        play.click({x, 0});
    play.click({9, 1});
    play.click({8, 1});
    QCOMPARE(play.entry.length(), 12);
    play.click({7, 1});
    QCOMPARE(play.entry.length(), 12);
    QCOMPARE(play.lastStatus(), WordEntry::invalidSelection);

    const auto statuses = play.status.count();
    const auto sounds = play.sounds.count();
    play.type("e");
    QCOMPARE(play.entry.length(), 12);
    QCOMPARE(play.status.count(), statuses);
    QCOMPARE(play.sounds.count(), sounds);
}

void TestWordEntry::theFirstTypedLetterTakesTheFirstTileInColumnOrder()
{
    Play play(gridFromText({
        ".....c....",
        "..........",
        "..........",
        "..........",
        "..........",
        "..........",
        "..........",
        "..........",
        ".c........",
    }));
    play.type("c");
    QCOMPARE(play.path(), (std::vector<Cell> {{1, 8}}));
    QCOMPARE(play.lastSound(), QStringLiteral("place"));
    QCOMPARE(play.board.mark({1, 8}), BoardModel::lastTileMark);

    // A letter no tile shows starts no word: it is refused where it can be seen.
    play.entry.pressclear();
    play.type("q");
    QCOMPARE(play.entry.length(), 0);
    QCOMPARE(play.entry.refusedLetter(1), 17);
    QCOMPARE(play.lastStatus(), WordEntry::invalidSelection);
}

void TestWordEntry::aTypedWordIsPlacedAnewOnTheFirstCompleteChain()
{
    Play play(catBoard);
    play.type("ca");
    QCOMPARE(play.path(), (std::vector<Cell> {{1, 1}, {2, 1}}));
    play.type("t");
    QCOMPARE(play.path(), (std::vector<Cell> {{5, 5}, {6, 5}, {7, 5}}));
    QCOMPARE(play.entry.word(), QStringLiteral("cat"));
    QCOMPARE(play.board.mark({1, 1}), BoardModel::noMark);
    QCOMPARE(play.board.mark({2, 1}), BoardModel::noMark);
    QCOMPARE(play.board.mark({5, 5}), BoardModel::earlierTileMark);
    QCOMPARE(play.board.mark({6, 5}), BoardModel::earlierTileMark);
    QCOMPARE(play.board.mark({7, 5}), BoardModel::lastTileMark);
    QCOMPARE(play.entry.slotPicture(3), 20);
    QCOMPARE(play.lastStatus(), QString());

    // No chain spells "cats": the word stays as it was.
    play.type("s");
    QCOMPARE(play.lastStatus(), WordEntry::invalidSelection);
    QCOMPARE(play.lastSound(), QStringLiteral("invalid"));
    QCOMPARE(play.path(), (std::vector<Cell> {{5, 5}, {6, 5}, {7, 5}}));
}

void TestWordEntry::theSearchOrderFollowsTheRotatedBoard()
{
    Play play(catBoard);
    play.entry.rotateboard();
    // One quarter turn shows the host's (i, j) at (9 - j, i): the chain of (5, 5) now
    // runs down column 4, the first column with a C.
    play.type("c");
    QCOMPARE(play.path(), (std::vector<Cell> {{4, 5}}));
    play.entry.rotateboard();
    // Half a turn shows (i, j) at (9 - i, 9 - j). Start on the lone C, now (8, 8), and
    // its A: the search for T now meets the chain of (8, 0) first, in column 1.
    play.click({8, 8});
    play.click({7, 8});
    play.type("t");
    QCOMPARE(play.path(), (std::vector<Cell> {{1, 9}, {1, 8}, {1, 7}}));
    for (int k = 1; k <= 3; ++k)
        QCOMPARE(play.board.getreal(play.entry.wordpath(k)), std::optional<Cell>(Cell(8, k - 1)));
}

void TestWordEntry::aMouseWordContinuedByTypingGrowsFromItsLastTile()
{
    // Chains of "cat" at x = 0 (first in search order) and along row 5.
    Play play(gridFromText({
        "..........",
        "..........",
        "..........",
        "..........",
        "..........",
        "c....cat..",
        "a.........",
        "t.........",
    }));
    play.click({5, 5});
    play.click({6, 5});
    // A letter no placement can take leaves the word, and where it grows, as it was
    // once the refusal is taken back.
    play.type("z");
    QCOMPARE(play.lastStatus(), WordEntry::invalidSelection);
    QVERIFY(play.entry.FormShortCut(Qt::Key_Backspace, Qt::NoModifier));
    play.type("t");
    QCOMPARE(play.path(), (std::vector<Cell> {{5, 5}, {6, 5}, {7, 5}}));
    QCOMPARE(play.lastSound(), QStringLiteral("place"));
}

void TestWordEntry::aTypedLetterNeverRetakesATile()
{
    // "aaa" would need the first A twice.
    Play pair(gridFromText({".aa.......", "..........", "..........", ".....a...."}));
    pair.type("aa");
    QCOMPARE(pair.path(), (std::vector<Cell> {{1, 0}, {2, 0}}));
    pair.type("a");
    QCOMPARE(pair.lastStatus(), WordEntry::invalidSelection);
    QCOMPARE(pair.path(), (std::vector<Cell> {{1, 0}, {2, 0}}));

    // A removed tile stays taken for the neighbour step of the next typed letter.
    Play play(gridFromText({"..........", ".ca.......", "..a......."}));
    play.type("ca");
    QCOMPARE(play.path(), (std::vector<Cell> {{1, 1}, {2, 1}}));
    play.entry.deleteoneletter();
    play.type("a");
    QCOMPARE(play.path(), (std::vector<Cell> {{1, 1}, {2, 2}}));
}

void TestWordEntry::removingTheOnlyLetterFreesTheStart()
{
    Play play(uniformGrid('e'));
    play.click({1, 1});
    QVERIFY(play.entry.FormShortCut(Qt::Key_Backspace, Qt::NoModifier));
    QCOMPARE(play.entry.length(), 0);
    QCOMPARE(play.entry.lasttile(), Cell());
    QCOMPARE(play.board.mark({1, 1}), BoardModel::noMark);
    play.click({8, 8});
    QCOMPARE(play.path(), (std::vector<Cell> {{8, 8}}));
}

void TestWordEntry::stripSlotClicksRemoveOnlyTheLastLetter()
{
    Play play(uniformGrid('e'));
    play.click({1, 1});
    play.click({2, 2});
    play.entry.image_lettersClick(1);
    QCOMPARE(play.entry.length(), 2);
    play.entry.image_lettersClick(3);
    QCOMPARE(play.entry.length(), 2);
    play.entry.image_lettersClick(2);
    QCOMPARE(play.entry.length(), 1);
    play.entry.setEntryOpen(false);
    play.entry.image_lettersClick(1);
    QCOMPARE(play.entry.length(), 1);
}

void TestWordEntry::aRefusedLetterHoldsBackTheRestUntilTakenBack_data()
{
    // Typed letters; "<" is Backspace, "!" Escape, "#" a click on the strip's last slot.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("refused");
    // No B anywhere: R and A would fit after ZE, making a word never typed (ZERA).
    QTest::newRow("the rest of the word waits behind the refusal") << "zebra"
                                                                   << "ze"
                                                                   << "bra";
    QTest::newRow("taken back, typing goes on") << "zebra<<<r"
                                                << "zer"
                                                << "";
    QTest::newRow("Backspace takes the refusals back first") << "zeb<<"
                                                             << "z"
                                                             << "";
    QTest::newRow("a click on the last slot takes one back") << "zebr#"
                                                             << "ze"
                                                             << "b";
    QTest::newRow("Escape clears both") << "zebra!"
                                        << ""
                                        << "";
    QTest::newRow("a first letter nowhere on the board") << "bzera"
                                                         << ""
                                                         << "bzera";
    QTest::newRow("twelve slots in all, then nothing") << "zebbbbbbbbbbbbb"
                                                       << "ze"
                                                       << "bbbbbbbbbb";
}

void TestWordEntry::aRefusedLetterHoldsBackTheRestUntilTakenBack()
{
    QFETCH(QString, typed);
    QFETCH(QString, word);
    QFETCH(QString, refused);
    Play play(gridFromText({"zera......"}));
    for (const QChar c : typed) {
        if (c == QLatin1Char('<'))
            QVERIFY(play.entry.FormShortCut(Qt::Key_Backspace, Qt::NoModifier));
        else if (c == QLatin1Char('!'))
            QVERIFY(play.entry.FormShortCut(Qt::Key_Escape, Qt::NoModifier));
        else if (c == QLatin1Char('#'))
            play.entry.image_lettersClick(play.entry.length() + play.entry.refusedCount());
        else
            play.type(QByteArray(1, c.toLatin1()).constData());
    }
    QCOMPARE(play.entry.word(), word);
    QString shown;
    for (int k = 1; k <= WordEntry::maxLetters; ++k)
        if (const int letter = play.entry.refusedLetter(k))
            shown += QChar(u'a' + letter - 1);
    QCOMPARE(shown, refused);
    QCOMPARE(play.entry.refusedCount(), refused.size());
    if (!refused.isEmpty())
        QCOMPARE(play.lastStatus(), WordEntry::invalidSelection);

    // What is sent is the word as placed, never the refused letters.
    QVERIFY(play.entry.FormShortCut(Qt::Key_Return, Qt::NoModifier));
    QCOMPARE(play.entry.refusedCount(), 0);
    if (!word.isEmpty())
        QCOMPARE(lastVerdict(play.judged).word, word);
}

void TestWordEntry::keyTable_data()
{
    QTest::addColumn<bool>("typing");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("consumed");
    QTest::addColumn<int>("length"); // of the word "te" after the key
    QTest::addColumn<int>("rotation");
    QTest::addColumn<bool>("typingAfter");
    QTest::addColumn<int>("judged");
    QTest::addColumn<uint>("scanCode");

    const int none = Qt::NoModifier;
    const int keypad = Qt::KeypadModifier;
    QTest::newRow("R types R") << true << int(Qt::Key_R) << none << true << 3 << 0 << true << 0 << 0u;
    QTest::newRow("Shift+R types R") << true << int(Qt::Key_R) << int(Qt::ShiftModifier) << true << 3 << 0
                                     << true << 0 << 0u;
    QTest::newRow("Ctrl+R rotates") << true << int(Qt::Key_R) << int(Qt::ControlModifier) << true << 0 << 1
                                    << true << 0 << 0u;
    QTest::newRow("Ctrl+E does nothing")
        << true << int(Qt::Key_E) << int(Qt::ControlModifier) << true << 2 << 0 << true << 0 << 0u;
    QTest::newRow("0 rotates") << true << int(Qt::Key_0) << none << true << 0 << 1 << true << 0 << 0u;
    QTest::newRow("1 clears") << true << int(Qt::Key_1) << none << true << 0 << 0 << true << 0 << 0u;
    QTest::newRow("Escape clears") << true << int(Qt::Key_Escape) << none << true << 0 << 0 << true << 0
                                   << 0u;
    QTest::newRow("Ctrl+1 clears") << true << int(Qt::Key_1) << int(Qt::ControlModifier) << true << 0 << 0
                                   << true << 0 << 0u;
    QTest::newRow("Ctrl+0 rotates") << true << int(Qt::Key_0) << int(Qt::ControlModifier) << true << 0 << 1
                                    << true << 0 << 0u;
    // By the key's place (X11 key codes 10 and 19), whatever character it gives.
    QTest::newRow("Shift+1 (!) clears")
        << true << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << true << 0 << 0 << true << 0 << 10u;
    QTest::newRow("French 1 key (&) clears")
        << true << int(Qt::Key_Ampersand) << none << true << 0 << 0 << true << 0 << 10u;
    QTest::newRow("French 0 key (à) rotates")
        << true << int(Qt::Key_Agrave) << none << true << 0 << 1 << true << 0 << 19u;
    QTest::newRow("Shift+0 ()) rotates")
        << true << int(Qt::Key_ParenRight) << int(Qt::ShiftModifier) << true << 0 << 1 << true << 0 << 19u;
    QTest::newRow("keypad 1 does nothing")
        << true << int(Qt::Key_1) << keypad << true << 2 << 0 << true << 0 << 0u;
    QTest::newRow("keypad 0 does nothing")
        << true << int(Qt::Key_0) << keypad << true << 2 << 0 << true << 0 << 0u;
    QTest::newRow("keypad Enter sends")
        << true << int(Qt::Key_Enter) << keypad << true << 0 << 0 << true << 1 << 0u;
    QTest::newRow("keypad 5 does nothing")
        << true << int(Qt::Key_5) << keypad << true << 2 << 0 << true << 0 << 0u;
    QTest::newRow("Backspace removes a letter")
        << true << int(Qt::Key_Backspace) << none << true << 1 << 0 << true << 0 << 0u;
    QTest::newRow("Return sends") << true << int(Qt::Key_Return) << none << true << 0 << 0 << true << 1 << 0u;
    QTest::newRow("F5 is swallowed") << true << int(Qt::Key_F5) << none << true << 2 << 0 << true << 0 << 0u;
    QTest::newRow("Space is swallowed")
        << true << int(Qt::Key_Space) << none << true << 2 << 0 << true << 0 << 0u;
    QTest::newRow("Tab switches typing off")
        << true << int(Qt::Key_Tab) << none << true << 2 << 0 << false << 0 << 0u;
    QTest::newRow("typing off: R reaches the chat")
        << false << int(Qt::Key_R) << none << false << 2 << 0 << false << 0 << 0u;
    QTest::newRow("typing off: Return reaches the chat")
        << false << int(Qt::Key_Return) << none << false << 2 << 0 << false << 0 << 0u;
    QTest::newRow("typing off: 0 reaches the chat")
        << false << int(Qt::Key_0) << none << false << 2 << 0 << false << 0 << 0u;
    QTest::newRow("typing off: Backspace reaches the chat")
        << false << int(Qt::Key_Backspace) << none << false << 2 << 0 << false << 0 << 0u;
    QTest::newRow("typing off: Tab switches typing on")
        << false << int(Qt::Key_Tab) << none << true << 2 << 0 << true << 0 << 0u;
}

void TestWordEntry::keyTable()
{
    QFETCH(bool, typing);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, consumed);
    QFETCH(int, length);
    QFETCH(int, rotation);
    QFETCH(bool, typingAfter);
    QFETCH(int, judged);
    QFETCH(uint, scanCode);

    Play play(gridFromText({"tern......"}));
    play.type("te");
    if (!typing)
        QVERIFY(play.entry.FormShortCut(Qt::Key_Tab, Qt::NoModifier));
    QCOMPARE(play.entry.typingOn(), typing);
    QCOMPARE(play.entry.takesKey(key), consumed);
    QCOMPARE(play.entry.FormShortCut(key, Qt::KeyboardModifiers(modifiers), scanCode), consumed);
    QCOMPARE(play.entry.length(), length);
    QCOMPARE(play.board.rotation(), rotation);
    QCOMPARE(play.entry.typingOn(), typingAfter);
    QCOMPARE(
        play.entry.typingCaption(), typingAfter ? WordEntry::typingOnCaption : WordEntry::typingOffCaption);
    QCOMPARE(play.judged.count(), judged);
}

void TestWordEntry::dragModeSendsAtRelease()
{
    Play play(gridFromText({"..cat....."}));
    play.press({2, 0});
    play.entry.paintbox_boardMouseMove(centre({3, 0}));
    play.entry.paintbox_boardMouseMove(centre({4, 0}));
    QCOMPARE(play.entry.word(), QStringLiteral("cat"));
    QCOMPARE(play.judged.count(), 0);
    play.entry.paintbox_boardMouseUp(centre({4, 0}));
    QVERIFY(!play.entry.dragging());
    QCOMPARE(play.judged.count(), 1);
    const Verdict verdict = lastVerdict(play.judged);
    QCOMPARE(verdict.word, QStringLiteral("cat"));
    QVERIFY(verdict.send);
    QCOMPARE(verdict.claim, (std::vector<Verdict::Tile> {{2, 0}, {3, 0}, {4, 0}}));
    QCOMPARE(play.entry.length(), 0);
    QCOMPARE(play.board.mark({4, 0}), BoardModel::noMark);
}

void TestWordEntry::aDragPassesCornersWithoutCatchingTiles()
{
    Play play(uniformGrid('e'));
    play.press({4, 4});
    // Towards (5, 5) through the corner where four cells meet: (5, 4), (4, 5) and the
    // corner pixels of (5, 5) itself are all within 7 pixels of their edges.
    for (const QPoint p : {QPoint(208, 211), QPoint(211, 208), QPoint(213, 213), QPoint(216, 216)})
        play.entry.paintbox_boardMouseMove(p);
    QCOMPARE(play.entry.length(), 1);
    play.entry.paintbox_boardMouseMove(QPoint(217, 217));
    QCOMPARE(play.path(), (std::vector<Cell> {{4, 4}, {5, 5}}));
    // Past the far edge of the inner square, or off the board, nothing is caught.
    play.entry.paintbox_boardMouseMove(QPoint(6 * 42 + 36, 5 * 42 + 20));
    play.entry.paintbox_boardMouseMove(QPoint(-5, 20));
    play.entry.paintbox_boardMouseMove(QPoint(430, 20));
    QCOMPARE(play.entry.length(), 2);
}

void TestWordEntry::clickModeReleasesSendNothing()
{
    Play play(gridFromText({"..cat....."}));
    play.click({2, 0});
    play.click({3, 0});
    play.click({4, 0});
    QVERIFY(!play.entry.dragging());
    QCOMPARE(play.judged.count(), 0);
    play.press({0, 9}, Qt::RightButton);
    QCOMPARE(play.judged.count(), 1);
    QVERIFY(lastVerdict(play.judged).send);
}

void TestWordEntry::aSingleClickInDragModeIsTooShort()
{
    Play play(gridFromText({"..cat....."}));
    play.press({2, 0});
    play.entry.paintbox_boardMouseUp(centre({2, 0}));
    const Verdict verdict = lastVerdict(play.judged);
    QCOMPARE(verdict.row, Verdict::Row::TooFewLetters);
    QCOMPARE(verdict.status, std::optional<QString>(Verdict::notEnoughLetters));
    QVERIFY(!verdict.panelColour);
    QCOMPARE(verdict.sound, QStringLiteral("invalid"));
    QVERIFY(!verdict.send);
}

void TestWordEntry::aDragOutlivingTheRoundSendsNothing()
{
    Play play(gridFromText({"..cat....."}));
    play.press({2, 0});
    play.entry.setEntryOpen(false);
    play.entry.paintbox_boardMouseMove(centre({3, 0}));
    QCOMPARE(play.entry.length(), 2);
    play.entry.paintbox_boardMouseUp(centre({3, 0}));
    QVERIFY(!play.entry.dragging());
    QCOMPARE(play.judged.count(), 0);
}

void TestWordEntry::judgingTable_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("minletters");
    QTest::addColumn<bool>("triedBefore");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("sound");
    QTest::addColumn<bool>("sent");

    const QColor none;
    const QString unchanged = QStringLiteral("<unchanged>");
    QTest::newRow("two letters") << "ca" << 3 << false << true << int(Verdict::Row::TooFewLetters)
                                 << "Not enough letters." << none << "invalid" << false;
    QTest::newRow("below the minimum") << "cat" << 4 << false << true << int(Verdict::Row::BelowMinimum)
                                       << "Not enough letters." << QColor(255, 128, 0) << "invalid" << false;
    QTest::newRow("already found") << "cat" << 3 << true << true << int(Verdict::Row::AlreadyFound)
                                   << "You have already found that word." << QColor(128, 0, 0) << "invalid"
                                   << false;
    QTest::newRow("not a word") << "tac" << 3 << false << true << int(Verdict::Row::NotAWord)
                                << "Invalid Word." << QColor(0, 0, 0) << "invalid" << false;
    QTest::newRow("a word") << "cat" << 3 << false << true << int(Verdict::Row::Passed) << unchanged << none
                            << "sendword" << true;
    QTest::newRow("a word at the minimum") << "cats" << 4 << false << true << int(Verdict::Row::Passed)
                                           << unchanged << none << "sendword" << true;
    QTest::newRow("a word, not connected")
        << "cat" << 3 << false << false << int(Verdict::Row::Passed) << unchanged << none << "" << false;
}

void TestWordEntry::judgingTable()
{
    QFETCH(QString, typed);
    QFETCH(int, minletters);
    QFETCH(bool, triedBefore);
    QFETCH(bool, connected);
    QFETCH(int, row);
    QFETCH(QString, status);
    QFETCH(QColor, colour);
    QFETCH(QString, sound);
    QFETCH(bool, sent);

    Play play(gridFromText({"cats......"}));
    play.entry.setMinLetters(minletters);
    play.entry.setConnected(connected);
    if (triedBefore) {
        play.type(qPrintable(typed));
        play.entry.pressdone();
    }
    QSignalSpy buttons(&play.entry, &WordEntry::wordButtonsVisible);
    play.type(qPrintable(typed));
    QCOMPARE(play.entry.word(), typed);
    const Verdict verdict = play.entry.pressdone();

    QCOMPARE(int(verdict.row), row);
    QCOMPARE(verdict.word, typed);
    QCOMPARE(verdict.status.value_or(QStringLiteral("<unchanged>")), status);
    QCOMPARE(verdict.panelColour.value_or(QColor()), colour);
    QCOMPARE(verdict.sound, sound);
    QCOMPARE(verdict.send, sent);
    QCOMPARE(verdict.claim.size(), sent ? std::size_t(typed.size()) : 0u);
    // In every case the word is remembered, the buttons hide and the word empties.
    QVERIFY(play.entry.wordsfound().contains(typed));
    QCOMPARE(buttons.last().first().toBool(), false);
    QCOMPARE(play.entry.length(), 0);
    QCOMPARE(play.judged.count(), triedBefore ? 2 : 1);
}

void TestWordEntry::anInvalidWordTwiceIsAlreadyFound()
{
    Play play(gridFromText({"tac......."}));
    play.type("tac");
    QCOMPARE(play.entry.pressdone().row, Verdict::Row::NotAWord);
    play.type("tac");
    QCOMPARE(play.entry.pressdone().row, Verdict::Row::AlreadyFound);
}

void TestWordEntry::theClaimIsInTheHostsOrientation()
{
    // The host's "cat" runs down from (2, 3); after two quarter turns it reads upwards
    // from (7, 6) on this player's screen.
    Play play(gridFromText({
        "..........",
        "..........",
        "..........",
        "..c.......",
        "..a.......",
        "..t.......",
    }));
    play.entry.rotateboard();
    play.entry.rotateboard();
    play.click({7, 6});
    play.click({7, 5});
    play.click({7, 4});
    const Verdict verdict = play.entry.pressdone();
    QCOMPARE(verdict.word, QStringLiteral("cat"));
    QCOMPARE(verdict.claim, (std::vector<Verdict::Tile> {{2, 3}, {2, 4}, {2, 5}}));
}

void TestWordEntry::rotatingClearsTheWordOnlyInOwnRound()
{
    Play play(uniformGrid('e'));
    play.click({1, 1});
    play.click({2, 2});
    play.entry.rotateboard();
    QCOMPARE(play.board.rotation(), 1);
    QCOMPARE(play.entry.length(), 0);
    QCOMPARE(play.board.mark({2, 2}), BoardModel::noMark);
    QCOMPARE(play.entry.slotPicture(1), BoardModel::emptySlot);
    QCOMPARE(play.lastSound(), QStringLiteral("rotate"));

    play.click({1, 1});
    play.entry.setEntryOpen(false);
    const auto sounds = play.sounds.count();
    play.entry.rotateboard();
    QCOMPARE(play.board.rotation(), 1);
    QCOMPARE(play.entry.length(), 1);
    QCOMPARE(play.sounds.count(), sounds);
}

void TestWordEntry::justWatchingOnlySaysSo()
{
    Play play(uniformGrid('e'));
    play.click({1, 1});
    play.entry.setJustWatching(true);
    QSignalSpy notices(&play.entry, &WordEntry::justWatchingNotice);
    play.press({2, 2});
    play.press({2, 2}, Qt::RightButton);
    play.entry.button_sendClick();
    play.entry.button_clearClick();
    QCOMPARE(notices.count(), 4);
    QCOMPARE(play.entry.length(), 1);
    QCOMPARE(play.judged.count(), 0);

    play.entry.setJustWatching(false);
    play.entry.button_clearClick();
    QCOMPARE(play.entry.length(), 0);
    QCOMPARE(play.lastSound(), QStringLiteral("clear"));
}

void TestWordEntry::aWatchersTypedWordIsRefusedOnlyByTheButtons_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("sent");
    QTest::newRow("Return") << "Return" << true;
    QTest::newRow("keypad Enter") << "Enter" << true;
    QTest::newRow("release after a refused press") << "release" << true;
    QTest::newRow("Send button") << "Send" << false;
    QTest::newRow("right button") << "right" << false;
}

// Typing builds a word while the player watches; the Send button and a press on the
// board say "You are just watching right now." and keep it, the keys send it.
void TestWordEntry::aWatchersTypedWordIsRefusedOnlyByTheButtons()
{
    QFETCH(QString, how);
    QFETCH(bool, sent);
    Play play(gridFromText({"cat......."}));
    play.entry.setJustWatching(true);
    play.type("cat");
    QCOMPARE(play.entry.length(), 3);
    QSignalSpy notices(&play.entry, &WordEntry::justWatchingNotice);

    if (how == "Return")
        QVERIFY(play.entry.FormShortCut(Qt::Key_Return, Qt::NoModifier));
    else if (how == "Enter")
        QVERIFY(play.entry.FormShortCut(Qt::Key_Enter, Qt::KeypadModifier));
    else if (how == "Send")
        play.entry.button_sendClick();
    else if (how == "right")
        play.press({5, 5}, Qt::RightButton);
    else {
        play.press({5, 5});
        play.entry.paintbox_boardMouseUp(centre({5, 5}));
    }

    QCOMPARE(play.judged.count(), sent ? 1 : 0);
    QCOMPARE(play.entry.length(), sent ? 0 : 3);
    QCOMPARE(notices.count(), how == "release" || !sent ? 1 : 0);
}

void TestWordEntry::theMinimumBarShowsWhileTheWordIsShort()
{
    Play play(uniformGrid('e'));
    play.entry.setMinLetters(4);
    QVERIFY(play.entry.minLettersVisible());
    for (int x = 0; x < 3; ++x)
        play.click({x, 0});
    QVERIFY(play.entry.minLettersVisible());
    play.click({3, 0});
    QVERIFY(!play.entry.minLettersVisible());
    play.entry.deleteoneletter();
    QVERIFY(play.entry.minLettersVisible());
}

void TestWordEntry::optionsRoundTripThroughTheirSettings_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("written");
    QTest::newRow("1: off") << "1" << false << "1";
    QTest::newRow("0: on") << "0" << true << "0";
    QTest::newRow("anything else: on") << "yes" << true << "0";
}

void TestWordEntry::optionsRoundTripThroughTheirSettings()
{
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    QFETCH(QString, written);
    BoardModel board;
    WordEntry entry(&board);
    QCOMPARE(WordEntry::clickLettersKey, QStringLiteral("Clickletters"));
    QCOMPARE(WordEntry::disableTypingKey, QStringLiteral("Disabletyping"));
    entry.applyClickLettersSetting(stored);
    entry.applyDisableTypingSetting(stored);
    QCOMPARE(entry.clickLetters(), checked);
    QCOMPARE(entry.disableTyping(), checked);
    QCOMPARE(entry.typingLabelVisible(), !checked);
    QCOMPARE(entry.clickLettersSetting(), written);
    QCOMPARE(entry.disableTypingSetting(), written);
}

void TestWordEntry::onlyTheMenuItemsAskForASave()
{
    Play play(gridFromText({"tenr......"}));
    QSignalSpy saves(&play.entry, &WordEntry::saveRequested);
    play.entry.applyClickLettersSetting(QStringLiteral("0"));
    play.entry.applyDisableTypingSetting(QStringLiteral("1"));
    QCOMPARE(saves.count(), 0);
    play.entry.ClickLetters1Click();
    QVERIFY(!play.entry.clickLetters());
    play.entry.DisableTyping1Click();
    QVERIFY(play.entry.disableTyping());
    QCOMPARE(saves.count(), 2);
    // With typing disabled the board takes no keys at all, Tab included.
    QVERIFY(!play.entry.FormShortCut(Qt::Key_Tab, Qt::NoModifier));
    QVERIFY(!play.entry.FormShortCut(Qt::Key_R, Qt::NoModifier));
    QCOMPARE(play.entry.length(), 0);
}

void TestWordEntry::aRoundStartEmptiesEverything()
{
    Play play(gridFromText({"tenr......"}));
    play.type("te");
    play.entry.pressdone();
    play.type("ten");
    QVERIFY(play.entry.FormShortCut(Qt::Key_Tab, Qt::NoModifier));
    QVERIFY(!play.entry.typingOn());

    play.entry.startRound(false);
    QCOMPARE(play.entry.length(), 0);
    QVERIFY(play.entry.wordsfound().isEmpty());
    QCOMPARE(play.board.mark({2, 0}), BoardModel::noMark);
    QVERIFY(!play.entry.entryOpen());
    QVERIFY(!play.entry.FormShortCut(Qt::Key_R, Qt::NoModifier));
    play.press({0, 0});
    QCOMPARE(play.entry.length(), 0);

    play.entry.startRound(true);
    QVERIFY(play.entry.typingOn());
    QCOMPARE(play.entry.typingTag(), 1);
    QVERIFY(play.entry.FormShortCut(Qt::Key_T, Qt::NoModifier));
    QCOMPARE(play.entry.length(), 1);

    // Before any round of this player's, typing is not on and no key is taken.
    BoardModel board;
    WordEntry fresh(&board);
    fresh.setEntryOpen(true);
    QCOMPARE(fresh.typingTag(), 0);
    QVERIFY(!fresh.FormShortCut(Qt::Key_Tab, Qt::NoModifier));
}

QTEST_GUILESS_MAIN(TestWordEntry)
#include "tst_wordentry.moc"
