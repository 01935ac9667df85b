// Every text the issue of legibility names must read on what lies behind it: the real
// windows are drawn headless, once with a text and once without it, and the text's
// colour is compared with every pixel under and beside its letters by the WCAG
// contrast ratio. CTest runs this at scale 1 and again with QT_SCALE_FACTOR=2.
#include "clientdispatch.h"
#include "gamesession.h"
#include "legibility.h"
#include "playarea.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "tchat.h"
#include "tspylist.h"
#include "ttallylist.h"
#include "twordslist.h"
#include "verdictmark.h"
#include "windowsetup.h"
#include "wordresults.h"
#include "wordspanel.h"
#include "wordsview.h"

#include <QAbstractTextDocumentLayout>
#include <QFrame>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <memory>

namespace {

struct Reading
{
    QColor text; // the colour of the letters, as drawn
    double worst = 0; // the lowest contrast of that colour with the ground beside them
};

// `with` and `without` are the same place drawn with and without the text. Letters
// are where the two differ; the text's colour is the letter pixel that stands out
// most from the ground under it, and the ground is every pixel of `without` under a
// letter or next to one.
Reading read(const QImage &with, const QImage &without)
{
    Reading reading;
    const QImage a = with.convertToFormat(QImage::Format_RGB32);
    const QImage b = without.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull())
        return reading;
    QList<QPoint> ink;
    double strongest = 1.0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const double c = Legibility::contrastRatio(QColor(a.pixel(x, y)), QColor(b.pixel(x, y)));
            if (c <= 1.05)
                continue;
            ink.append(QPoint(x, y));
            if (c > strongest) {
                strongest = c;
                reading.text = QColor(a.pixel(x, y));
            }
        }
    }
    if (ink.isEmpty())
        return reading;
    reading.worst = 21.0;
    for (const QPoint &p : ink) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint q = p + QPoint(dx, dy);
                if (b.rect().contains(q))
                    reading.worst
                        = qMin(reading.worst, Legibility::contrastRatio(reading.text, QColor(b.pixel(q))));
            }
        }
    }
    return reading;
}

// The place of `widget` as its window draws it, siblings and parents behind it included.
QImage drawn(QWidget *widget, const QRect &area = QRect())
{
    QWidget *window = widget->window();
    const QRect place = area.isNull() ? widget->rect() : area;
    return window->grab(QRect(widget->mapTo(window, place.topLeft()), place.size())).toImage();
}

// Reads a label's text by drawing it with its letters made transparent.
Reading readLabel(QLabel *label)
{
    const QImage with = drawn(label);
    const QString sheet = label->styleSheet();
    label->setStyleSheet(QStringLiteral("color: transparent;"));
    const QImage without = drawn(label);
    label->setStyleSheet(sheet);
    return read(with, without);
}

QString describe(const QString &what, const Reading &r)
{
    return QStringLiteral("%1: %2 reads at %3:1").arg(what, r.text.name()).arg(r.worst, 0, 'f', 2);
}

} // namespace

class TestLegibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void theRoundClockReadsAtEverySecond_data();
    void theRoundClockReadsAtEverySecond();
    void everyWordsPanelLineReads_data();
    void everyWordsPanelLineReads();
    void theGameSettingsRead();
    void noWordsWereFoundReads();
    void theTallyWindowReads();

private:
    QTemporaryDir dir_;
    std::unique_ptr<Tchat> chat_;
};

void TestLegibility::initTestCase()
{
    QVERIFY(dir_.isValid());
    qputenv("WENDLEWICK_DATA_DIR", dir_.path().toLocal8Bit());
    Tchat::Setup setup = windowSetup(dir_.path());
    // Two arguments take no role: nothing connects.
    setup.arguments = QStringList {QStringLiteral("Ann"), QStringLiteral("127.0.0.1")};
    chat_ = std::make_unique<Tchat>(setup);
    chat_->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat_.get()));
    chat_->dispatch()->processsocktimer("CMD_sendlogininfo+1");
    chat_->roster()->setName(1, QStringLiteral("Ann"));
}

void TestLegibility::theRoundClockReadsAtEverySecond_data()
{
    QTest::addColumn<int>("roundLength");
    QTest::addColumn<int>("left");
    // The bar runs under the whole text, under part of it, and is gone; the text is
    // pale yellow from the start down to 20 seconds, red below.
    for (const auto &[length, lefts] : {std::pair {45, QList<int> {44, 30, 20, 19, 10, 1, 0}},
             std::pair {180, QList<int> {179, 120, 60, 21, 20, 19, 15, 5, 2, 1}}}) {
        for (int left : lefts)
            QTest::addRow("%d-second round, %d left", length, left) << length << left;
    }
}

void TestLegibility::theRoundClockReadsAtEverySecond()
{
    QFETCH(int, roundLength);
    QFETCH(int, left);
    chat_->dispatch()->processsocktimer(
        "CMD_startgame+Ann+30+" + QByteArray::number(roundLength) + "+7+4+0+");
    chat_->dispatch()->processsocktimer("CMD_nextplayer+1+");
    while (chat_->state().secondsleft > left)
        chat_->session()->turntimeTimer();

    QLabel *clock = chat_->playArea()->label_timer;
    const Reading r = readLabel(clock);
    QVERIFY2(r.worst >= Legibility::minimumTextContrast, qPrintable(describe(clock->text(), r)));
    // The text keeps its colours: pale yellow, then red below 20 seconds.
    const QColor expected = left < PlayArea::redBelow && left > 0 ? PlayArea::lastSecondsColour
        : left > 0                                                ? PlayArea::clockColour
                                                                  : r.text;
    QVERIFY2(Legibility::contrastRatio(r.text, expected) < 1.2, qPrintable(describe(clock->text(), r)));
}

void TestLegibility::everyWordsPanelLineReads_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::newRow("found first") << VerdictMark::lightYellow;
    QTest::newRow("found before") << VerdictMark::white;
    QTest::newRow("not enough letters") << VerdictMark::orange;
    QTest::newRow("already tried") << VerdictMark::maroon;
    QTest::newRow("not a word") << VerdictMark::black;
}

void TestLegibility::everyWordsPanelLineReads()
{
    QFETCH(QColor, colour);
    WordResults *results = chat_->wordResults();
    results->startRound();
    results->addword(QStringLiteral("WWW MMM"), colour);
    WordsView *view = chat_->wordsPanel()->wordsView();
    const QTextBlock line = view->document()->firstBlock();
    const QRect place = view->document()->documentLayout()->blockBoundingRect(line).toAlignedRect();
    QWidget *viewport = view->viewport();
    const QImage with = drawn(viewport, place);
    QTextCursor cursor(line);
    cursor.select(QTextCursor::BlockUnderCursor);
    QTextCharFormat invisible;
    invisible.setForeground(Qt::transparent);
    cursor.mergeCharFormat(invisible);
    const Reading r = read(with, drawn(viewport, place));
    QVERIFY2(r.worst >= Legibility::minimumTextContrast, qPrintable(describe(colour.name(), r)));
    QVERIFY2(Legibility::contrastRatio(r.text, colour) < 1.2, qPrintable(describe(colour.name(), r)));
    // A band behind a line runs across the whole panel, past the end of its letters.
    const QColor band = view->lineBackdrop(0).isValid() ? view->lineBackdrop(0) : WordsView::background;
    const QImage end = drawn(viewport, QRect(place.right() - 2, place.center().y(), 1, 1));
    QCOMPARE(QColor(end.pixel(0, 0)), band);
}

void TestLegibility::theGameSettingsRead()
{
    chat_->dispatch()->processsocktimer("CMD_startgame+Ann+10000+180+7+4+0+");
    RosterView *roster = chat_->rosterView();
    for (QLabel *label : {roster->label_playtoscore, roster->label_timeperturn, roster->label_boardsize,
             roster->label_minletters}) {
        const Reading r = readLabel(label);
        QVERIFY2(r.worst >= Legibility::minimumTextContrast, qPrintable(describe(label->text(), r)));
    }
    // They stand clear of the last roster row and of the phrase buttons.
    const QRect lastRow = roster->name(RosterModel::slotCount)->geometry();
    QFrame *panel = chat_->boardPanel();
    auto *phrase = panel->findChild<QWidget *>(QStringLiteral("b_phrase1"));
    const QRect phrases(phrase->mapTo(panel, QPoint(0, 0)), phrase->size());
    const QRect settings = roster->label_playtoscore->geometry().united(roster->label_minletters->geometry());
    QVERIFY(settings.top() - lastRow.bottom() >= 4);
    QVERIFY(phrases.top() - settings.bottom() >= 4);
}

void TestLegibility::noWordsWereFoundReads()
{
    Twordslist *list = chat_->wordsList();
    list->thewords("No Words");
    QVERIFY(QTest::qWaitForWindowExposed(list));
    auto *label = list->findChild<QLabel *>(QStringLiteral("label_nowords"));
    QVERIFY(label && label->isVisible());
    const Reading r = readLabel(label);
    QVERIFY2(r.worst >= Legibility::minimumTextContrast, qPrintable(describe(label->text(), r)));
    list->hide();
}

void TestLegibility::theTallyWindowReads()
{
    Ttallylist *tally = chat_->tallylist();
    tally->show();
    QVERIFY(QTest::qWaitForWindowExposed(tally));
    int labels = 0;
    for (QLabel *label : tally->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const Reading r = readLabel(label);
        QVERIFY2(r.worst >= Legibility::minimumTextContrast, qPrintable(describe(label->text(), r)));
        ++labels;
    }
    QVERIFY(labels >= 20);
    // It shows the same background as the other side windows.
    Tspylist *spylist = chat_->spylist();
    spylist->show();
    QVERIFY(QTest::qWaitForWindowExposed(spylist));
    QCOMPARE(drawn(tally, QRect(0, 0, 6, 6)), drawn(spylist, QRect(0, 0, 6, 6)));
    spylist->hide();
    tally->hide();
}

QTEST_MAIN(TestLegibility)
#include "tst_legibility.moc"
