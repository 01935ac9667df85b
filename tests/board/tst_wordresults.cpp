#include "boardtext.h"
#include "tallylist.h"
#include "verdict.h"
#include "verdictmark.h"
#include "wordentry.h"
#include "wordresults.h"
#include "wordspanel.h"
#include "wordsview.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

using Kind = VerdictMark::Kind;

namespace {

// The words panel as the main window shows it, for the player in slot 1.
struct Panel
{
    Panel()
    {
        results.setMyslot(1);
        panel = new WordsPanel(&results, &window);
        window.resize(200, 300);
    }

    WordsView *view() const { return panel->wordsView(); }
    QString label() const { return panel->foundLabel()->text(); }

    WordResults results;
    QWidget window;
    WordsPanel *panel = nullptr;
};

} // namespace

class TestWordResults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void anAcceptedWordShowsItsPointsAndCountsIt_data();
    void anAcceptedWordShowsItsPointsAndCountsIt();
    void aRejectedWordShowsItsReasonAndPlaysInvalid_data();
    void aRejectedWordShowsItsReasonAndPlaysInvalid();
    void answersForAnotherSlotOrWithBadNumbersChangeNothing_data();
    void answersForAnotherSlotOrWithBadNumbersChangeNothing();
    void aRejectionWithoutAWordAddsNoLine();
    void onlyTwelveLetterWordsRaiseTheLongWordsTally_data();
    void onlyTwelveLetterWordsRaiseTheLongWordsTally();
    void aRejectionEmptiesTheWordStartedSince();
    void theClientsOwnVerdictsGetTheirColoursAndMarks_data();
    void theClientsOwnVerdictsGetTheirColoursAndMarks();
    void theRoundStartEmptiesThePanelAndTheCount();
    void thePanelCarriesItsControlsAndLooks();
    void marksStandBesideTheLinesWithoutChangingThem();
    void aHostileWordStaysOnOneShortLine();
    void thePanelKeepsItsNewestLines();
};

void TestWordResults::anAcceptedWordShowsItsPointsAndCountsIt_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<Kind>("mark");
    QTest::addColumn<QString>("status");

    QTest::newRow("found first") << QByteArray("1+3+TABLE+5+1+") << "3 : TABLE" << QColor(255, 255, 198)
                                 << Kind::FirstFinder << "You made TABLE for 3 points!";
    QTest::newRow("found before") << QByteArray("1+2+TABLE+5+2+") << "2 : TABLE" << QColor(255, 255, 255)
                                  << Kind::Accepted << "You made TABLE for 2 points!";
    QTest::newRow("no points") << QByteArray("1+0+SEA+3+2+") << "0 : SEA" << QColor(255, 255, 255)
                               << Kind::Accepted << "You made SEA for 0 points!";
}

void TestWordResults::anAcceptedWordShowsItsPointsAndCountsIt()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, line);
    QFETCH(QColor, colour);
    QFETCH(Kind, mark);
    QFETCH(QString, status);

    Panel p;
    p.results.goodword("1+1+CAT+3+1+");
    QSignalSpy statusSpy(&p.results, &WordResults::statusChanged);
    QSignalSpy sounds(&p.results, &WordResults::soundRequested);
    p.results.goodword(data);

    QCOMPARE(statusSpy.size(), 1);
    QCOMPARE(statusSpy.at(0).at(0).toString(), status);
    QVERIFY2(sounds.isEmpty(), "the send already played its sound");
    QCOMPARE(p.results.count(), 2);
    QCOMPARE(p.label(), QStringLiteral("Count: 2"));
    QCOMPARE(p.view()->lineCount(), 2);
    QCOMPARE(p.view()->lineText(0), QStringLiteral("1 : CAT"));
    QCOMPARE(p.view()->lineText(1), line);
    QCOMPARE(p.view()->lineColour(1), colour);
    QCOMPARE(p.view()->lineMark(1), mark);
    const AcceptedWord &kept = p.results.acceptedWords().constLast();
    QCOMPARE(kept.points, line.section(u' ', 0, 0).toInt());
    QCOMPARE(kept.first, mark == Kind::FirstFinder);
}

void TestWordResults::aRejectedWordShowsItsReasonAndPlaysInvalid_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<Kind>("mark");
    // Black and maroon are too dark, orange too light, to read on the panel's green without a band.
    QTest::addColumn<bool>("backdrop");

    QTest::newRow("not a word") << QByteArray("1+1+XQZ+") << "Invalid Word." << QColor(0, 0, 0)
                                << Kind::Invalid << true;
    QTest::newRow("already found") << QByteArray("1+2+TABLE+") << "You have already found that word."
                                   << QColor(128, 0, 0) << Kind::AlreadyFound << true;
    QTest::newRow("too short") << QByteArray("1+3+CAT+") << "Not enough letters." << QColor(255, 128, 0)
                               << Kind::TooShort << true;
    QTest::newRow("unknown reason") << QByteArray("1+9+CAT+") << QString() << QColor() << Kind::None << false;
    QTest::newRow("reason 0") << QByteArray("1+0+CAT+") << QString() << QColor() << Kind::None << false;
}

void TestWordResults::aRejectedWordShowsItsReasonAndPlaysInvalid()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, status);
    QFETCH(QColor, colour);
    QFETCH(Kind, mark);
    QFETCH(bool, backdrop);

    Panel p;
    QSignalSpy statusSpy(&p.results, &WordResults::statusChanged);
    QSignalSpy sounds(&p.results, &WordResults::soundRequested);
    QSignalSpy clears(&p.results, &WordResults::clearWordRequested);
    p.results.notvalid(data);

    QCOMPARE(sounds.size(), 1);
    QCOMPARE(sounds.at(0).at(0).toString(), QStringLiteral("invalid"));
    QCOMPARE(clears.size(), 1);
    QCOMPARE(p.results.count(), 0);
    if (status.isEmpty()) {
        QVERIFY(statusSpy.isEmpty());
        QCOMPARE(p.view()->lineCount(), 0);
        return;
    }
    QCOMPARE(statusSpy.size(), 1);
    QCOMPARE(statusSpy.at(0).at(0).toString(), status);
    QCOMPARE(p.view()->lineCount(), 1);
    QCOMPARE(p.view()->lineText(0), QString::fromLatin1(data.split('+').at(2)));
    QCOMPARE(p.view()->lineColour(0), colour);
    QCOMPARE(p.view()->lineMark(0), mark);
    QCOMPARE(p.view()->lineBackdrop(0).isValid(), backdrop);
}

void TestWordResults::answersForAnotherSlotOrWithBadNumbersChangeNothing_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("goodword, another slot") << true << QByteArray("2+5+TABLE+5+1+");
    QTest::newRow("goodword, slot not a number") << true << QByteArray("one+5+TABLE+5+1+");
    QTest::newRow("goodword, points not a number") << true << QByteArray("1+five+TABLE+5+1+");
    QTest::newRow("goodword, tiles not a number") << true << QByteArray("1+5+TABLE+5x+1+");
    QTest::newRow("goodword, first flag not a number") << true << QByteArray("1+5+TABLE+5+ +");
    QTest::newRow("goodword, fields missing") << true << QByteArray("1+5+TABLE");
    QTest::newRow("goodword, empty") << true << QByteArray();
    QTest::newRow("notvalid, another slot") << false << QByteArray("3+1+CAT+");
    QTest::newRow("notvalid, slot not a number") << false << QByteArray("+1+CAT+");
    QTest::newRow("notvalid, reason not a number") << false << QByteArray("1+a+CAT+");
}

void TestWordResults::answersForAnotherSlotOrWithBadNumbersChangeNothing()
{
    QFETCH(bool, accepted);
    QFETCH(QByteArray, data);

    Panel p;
    QSignalSpy statusSpy(&p.results, &WordResults::statusChanged);
    QSignalSpy sounds(&p.results, &WordResults::soundRequested);
    QSignalSpy clears(&p.results, &WordResults::clearWordRequested);
    QSignalSpy lines(&p.results, &WordResults::lineAdded);
    if (accepted)
        p.results.goodword(data);
    else
        p.results.notvalid(data);

    QVERIFY(statusSpy.isEmpty());
    QVERIFY(sounds.isEmpty());
    QVERIFY(clears.isEmpty());
    QVERIFY(lines.isEmpty());
    QCOMPARE(p.results.count(), 0);
    QCOMPARE(p.label(), QStringLiteral("Count: 0"));
}

void TestWordResults::aRejectionWithoutAWordAddsNoLine()
{
    Panel p;
    QSignalSpy statusSpy(&p.results, &WordResults::statusChanged);
    QSignalSpy sounds(&p.results, &WordResults::soundRequested);
    p.results.notvalid("1+1++");
    QCOMPARE(statusSpy.size(), 1);
    QCOMPARE(sounds.size(), 1);
    QCOMPARE(p.view()->lineCount(), 0);
}

void TestWordResults::onlyTwelveLetterWordsRaiseTheLongWordsTally_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<int>("raised");

    QTest::newRow("12 letters") << QByteArray("ABCDEFGHIJKL") << 1;
    QTest::newRow("11 letters") << QByteArray("ABCDEFGHIJK") << 0;
    QTest::newRow("5 letters") << QByteArray("TABLE") << 0;
    // No claim makes a word of 13 letters or of other characters.
    QTest::newRow("13 letters") << QByteArray("ABCDEFGHIJKLM") << 0;
    QTest::newRow("12 characters, not letters") << QByteArray("ABCDEF GHIJK") << 0;
}

void TestWordResults::onlyTwelveLetterWordsRaiseTheLongWordsTally()
{
    QFETCH(QByteArray, word);
    QFETCH(int, raised);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TallyList tally(dir.path());
    tally.load();
    const qint64 before = tally.ownTotal(TallyList::longWords).toLongLong();
    Panel p;
    p.results.setTally(&tally);
    p.results.goodword(QByteArray("1+13+" + word + "+12+1+"));
    QCOMPARE(p.results.count(), 1);
    QCOMPARE(tally.ownTotal(TallyList::longWords).toLongLong(), before + raised);
}

void TestWordResults::aRejectionEmptiesTheWordStartedSince()
{
    BoardModel board;
    board.loadboard(gridFromText({"CAT", "SEN"}));
    WordEntry entry(&board);
    entry.setMinLetters(3);
    entry.startRound(true);
    WordResults results;
    results.setMyslot(4);
    connect(&results, &WordResults::clearWordRequested, &entry, &WordEntry::pressclear);

    entry.typetheletter(19); // S
    entry.typetheletter(5); // E
    QCOMPARE(entry.length(), 2);
    results.notvalid("4+1+CAT+");
    QCOMPARE(entry.length(), 0);
    QCOMPARE(board.mark({0, 1}), BoardModel::noMark);
}

void TestWordResults::theClientsOwnVerdictsGetTheirColoursAndMarks_data()
{
    QTest::addColumn<int>("letters");
    QTest::addColumn<bool>("tried");
    QTest::addColumn<bool>("isWord");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<Kind>("mark");

    QTest::newRow("below the minimum") << 3 << false << true << QColor(255, 128, 0) << Kind::TooShort;
    QTest::newRow("tried before") << 4 << true << true << QColor(128, 0, 0) << Kind::AlreadyFound;
    QTest::newRow("not a word") << 4 << false << false << QColor(0, 0, 0) << Kind::Invalid;
}

void TestWordResults::theClientsOwnVerdictsGetTheirColoursAndMarks()
{
    QFETCH(int, letters);
    QFETCH(bool, tried);
    QFETCH(bool, isWord);
    QFETCH(QColor, colour);
    QFETCH(Kind, mark);

    const Verdict v = Verdict::judge(QStringLiteral("seat"), letters, 4, tried, isWord, true);
    QVERIFY(v.panelColour);
    Panel p;
    p.results.addword(v.word, *v.panelColour);
    QCOMPARE(p.view()->lineText(0), QStringLiteral("seat"));
    QCOMPARE(p.view()->lineColour(0), colour);
    QCOMPARE(p.view()->lineMark(0), mark);
    QCOMPARE(p.results.count(), 0);
}

void TestWordResults::theRoundStartEmptiesThePanelAndTheCount()
{
    Panel p;
    p.results.goodword("1+2+TABLE+5+1+");
    p.results.notvalid("1+1+XQZ+");
    QCOMPARE(p.view()->lineCount(), 2);
    p.results.startRound();
    QCOMPARE(p.view()->lineCount(), 0);
    QCOMPARE(p.view()->toPlainText(), QString());
    QCOMPARE(p.results.count(), 0);
    QCOMPARE(p.label(), QStringLiteral("Count: 0"));
    QVERIFY(p.results.acceptedWords().isEmpty());

    p.results.goodword("1+1+CAT+3+1+");
    QCOMPARE(p.view()->toPlainText(), QStringLiteral("1 : CAT"));
    QCOMPARE(p.label(), QStringLiteral("Count: 1"));
}

void TestWordResults::thePanelCarriesItsControlsAndLooks()
{
    Panel p;
    QCOMPARE(p.panel->objectName(), QStringLiteral("panel_words"));
    QCOMPARE(p.panel->size(), QSize(139, 250));
    auto *label = p.panel->findChild<QLabel *>(QStringLiteral("label_found"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Count: 0"));
    auto *view = p.panel->findChild<QTextEdit *>(QStringLiteral("richedit_words"));
    QVERIFY(view);
    QVERIFY(view->isReadOnly());
    QCOMPARE(view->frameShape(), QFrame::NoFrame);
    QCOMPARE(view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(view->font().pixelSize(), 13);
    QCOMPARE(view->palette().color(QPalette::Base), QColor(76, 106, 76));
    QCOMPARE(view->palette().color(QPalette::Text), QColor(255, 128, 0));

    // Read-only: keys typed into the panel change nothing.
    p.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.window));
    p.results.goodword("1+2+TABLE+5+1+");
    view->setFocus();
    QTest::keyClicks(view->viewport(), "xyz");
    QCOMPARE(view->toPlainText(), QStringLiteral("2 : TABLE"));
}

void TestWordResults::marksStandBesideTheLinesWithoutChangingThem()
{
    Panel p;
    p.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.window));
    p.results.goodword("1+2+TABLE+5+1+");
    p.results.notvalid("1+1+XQZ+");
    p.results.addword(QStringLiteral("plain"), QColor(10, 20, 30));
    QCOMPARE(p.view()->toPlainText(), QStringLiteral("2 : TABLE\nXQZ\nplain"));
    QCOMPARE(p.view()->lineMark(2), Kind::None);

    // The signs are drawn in the column left of the text: light strokes on the green
    // beside a marked line, plain green beside an unmarked one.
    auto *column = p.view()->findChild<QWidget *>(QStringLiteral("words_marks"));
    QVERIFY(column);
    QCOMPARE(column->width(), WordsView::markColumnWidth);
    const QImage shot = column->grab().toImage();
    const int lineHeight = p.view()->fontMetrics().height();
    auto lightPixels = [&](int line) {
        int n = 0;
        const int top = int(p.view()->document()->documentMargin()) + line * lineHeight;
        for (int y = top; y < top + lineHeight && y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += qGray(shot.pixel(x, y)) > 170 ? 1 : 0;
        return n;
    };
    QVERIFY(lightPixels(0) > 3);
    QVERIFY(lightPixels(1) > 3);
    QCOMPARE(lightPixels(2), 0);
}

void TestWordResults::aHostileWordStaysOnOneShortLine()
{
    Panel p;
    p.results.goodword(QByteArray("1+5+" + QByteArray(64 * 1024, 'W') + "+5+1+"));
    p.results.notvalid("1+1+BAD\r\nWORD\t+");
    QCOMPARE(p.view()->lineCount(), 2);
    const QString first = p.view()->lineText(0);
    QVERIFY(first.startsWith(u"5 : WWW"));
    QCOMPARE(first.size(), 4 + WordResults::maxShownChars);
    QVERIFY(first.endsWith(QChar(0x2026)));
    QCOMPARE(p.view()->lineText(1), QStringLiteral("BAD??WORD?"));
    QVERIFY2(p.results.acceptedWords().isEmpty(), "no board holds such a word");
}

void TestWordResults::thePanelKeepsItsNewestLines()
{
    Panel p;
    for (int i = 0; i < WordsView::maxLines + 20; ++i)
        p.results.addword(QString::number(i), VerdictMark::black);
    QCOMPARE(p.view()->lineCount(), WordsView::maxLines);
    QCOMPARE(p.view()->lineText(WordsView::maxLines - 1), QString::number(WordsView::maxLines + 19));
    QCOMPARE(p.view()->lineMark(0), Kind::Invalid);
}

QTEST_MAIN(TestWordResults)
#include "tst_wordresults.moc"
