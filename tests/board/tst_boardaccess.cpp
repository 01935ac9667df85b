// The board as a screen reader meets it: a table of the played square as the player
// sees it, turned or not, each cell named by its letter, the word's tiles selected and
// the tile under the keyboard's cursor focused; and the change events a reader hears,
// taken from Qt's update handler.
#include "announcementline.h"
#include "announcer.h"
#include "boardaccessible.h"
#include "boardcellaccessible.h"
#include "boardcursor.h"
#include "boardmodel.h"
#include "boardpaintbox.h"
#include "boardpanel.h"
#include "boardtext.h"
#include "entrystrip.h"
#include "tilegroups.h"
#include "wordentry.h"

#include <QAccessible>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>

namespace {

struct Screen
{
    QTemporaryDir folder;
    BoardModel board;
    WordEntry entry {&board};
    TileGroups tiles {folder.path()};
    BoardPanel panel {&board, &entry, &tiles};
    EntryStrip strip {&entry, &tiles};
    Announcer announcer;
    AnnouncementLine news {&announcer};

    QAccessibleTableInterface *table()
    {
        return QAccessible::queryAccessibleInterface(panel.paintbox())->tableInterface();
    }
    QStringList rows()
    {
        QStringList text;
        for (int r = 0; r < table()->rowCount(); ++r) {
            text.append(QString());
            for (int c = 0; c < table()->columnCount(); ++c)
                text.last() += table()->cellAt(r, c)->text(QAccessible::Name);
        }
        return text;
    }
};

// The events of the kinds a reader follows, each as its kind and what it names: a
// cell's letter, or a widget's object name.
QStringList *heard = nullptr;

void hear(QAccessibleEvent *event)
{
    QString kind;
    switch (event->type()) {
    case QAccessible::TableModelChanged:
        kind = QStringLiteral("reset");
        break;
    case QAccessible::Focus:
        kind = QStringLiteral("focus");
        break;
    case QAccessible::SelectionAdd:
        kind = QStringLiteral("selected");
        break;
    case QAccessible::NameChanged:
        kind = QStringLiteral("name");
        break;
    default:
        return;
    }
    QAccessibleInterface *iface = event->accessibleInterface();
    const bool cell = iface && iface->role() == QAccessible::Cell;
    heard->append(kind + u' '
        + (cell                   ? iface->text(QAccessible::Name)
                : event->object() ? event->object()->objectName()
                                  : QString()));
}

using Action = std::function<void(Screen &)>;

} // namespace

class TestBoardAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theTableReadsAsThePlayerSeesTheBoard_data();
    void theTableReadsAsThePlayerSeesTheBoard();
    void theWordIsSelectedAndTheCursorIsTheFocusedCell();
    void theStripReadsAsTheWordSoFar();
    void changesAreReported_data();
    void changesAreReported();
};

void TestBoardAccess::theTableReadsAsThePlayerSeesTheBoard_data()
{
    QTest::addColumn<bool>("odd");
    QTest::addColumn<int>("turns");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("4 by 4") << false << 0 << QStringList {"CATS", "DOGE", "LIMB", "UNKY"};
    QTest::newRow("a quarter turn") << false << 1 << QStringList {"ULDC", "NIOA", "KMGT", "YBES"};
    QTest::newRow("half way") << false << 2 << QStringList {"YKNU", "BMIL", "EGOD", "STAC"};
    QTest::newRow("three quarters") << false << 3 << QStringList {"SEBY", "TGMK", "AOIN", "CDLU"};
    QTest::newRow("5 by 5, a quarter turn")
        << true << 1 << QStringList {"UPKFA", "VQLGB", "WRMHC", "XSNID", "YTOJE"};
}

void TestBoardAccess::theTableReadsAsThePlayerSeesTheBoard()
{
    QFETCH(bool, odd);
    QFETCH(int, turns);
    QFETCH(QStringList, rows);
    Screen s;
    if (odd) {
        s.board.setOddboard(true);
        s.board.loadboard(gridFromText({"", "", "..abcde", "..fghij", "..klmno", "..pqrst", "..uvwxy"}));
    } else {
        s.board.loadboard(gridFromText({"", "", "", "...cats", "...doge", "...limb", "...unky"}));
    }
    for (int k = 0; k < turns; ++k)
        s.board.rotate();
    QCOMPARE(s.rows(), rows);
    QAccessibleInterface *cell = s.table()->cellAt(1, 2);
    QCOMPARE(cell->text(QAccessible::Description), QStringLiteral("row 2, column 3"));
    QCOMPARE(cell->tableCellInterface()->rowIndex(), 1);
    QCOMPARE(cell->tableCellInterface()->columnIndex(), 2);
    QCOMPARE(s.table()->cellAt(rows.size(), 0), nullptr);
    QCOMPARE(
        QAccessible::queryAccessibleInterface(s.panel.paintbox())->childCount(), rows.size() * rows.size());
}

void TestBoardAccess::theWordIsSelectedAndTheCursorIsTheFocusedCell()
{
    Screen s;
    s.board.loadboard(gridFromText({"", "", "", "...cats", "...doge", "...limb", "...unky"}));
    s.entry.startRound(true);
    for (int letter : {3, 1, 20})
        s.entry.typetheletter(letter);
    QStringList selected;
    for (QAccessibleInterface *cell : s.table()->selectedCells())
        selected << cell->text(QAccessible::Name);
    QCOMPARE(selected, (QStringList {"C", "A", "T"}));
    QVERIFY(s.table()->cellAt(0, 2)->state().selected);
    QVERIFY(!s.table()->cellAt(1, 0)->state().selected);

    // The keyboard's walk: the first step shows the cursor on the top-left tile, the
    // next ones move it, and the tile under it is the focused cell.
    s.panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.panel));
    for (int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right})
        QVERIFY(s.entry.FormShortCut(key, Qt::NoModifier));
    QCOMPARE(s.entry.cursor()->cell(), (Cell {6, 4}));
    QVERIFY(s.panel.paintbox()->hasFocus());
    QAccessibleInterface *focused = QAccessible::queryAccessibleInterface(s.panel.paintbox())->focusChild();
    QVERIFY(focused);
    QCOMPARE(focused->text(QAccessible::Name), QStringLiteral("E"));
    QVERIFY(focused->state().focused);

    // A turn abandons the word; the cursor stays on its tile.
    s.entry.rotateboard();
    QCOMPARE(s.table()->selectedCellCount(), 0);
    QCOMPARE(QAccessible::queryAccessibleInterface(s.panel.paintbox())->focusChild()->text(QAccessible::Name),
        QStringLiteral("E"));
}

void TestBoardAccess::theStripReadsAsTheWordSoFar()
{
    Screen s;
    s.board.loadboard(gridFromText({"", "", "", "...cats", "...doge", "...limb", "...unky"}));
    s.entry.startRound(true);
    QAccessibleInterface *strip = QAccessible::queryAccessibleInterface(&s.strip);
    QCOMPARE(strip->text(QAccessible::Name), QStringLiteral("Word: empty"));
    for (int letter : {3, 1, 26})
        s.entry.typetheletter(letter);
    QCOMPARE(strip->text(QAccessible::Name), QStringLiteral("Word: CA, then not on the board: Z"));
}

void TestBoardAccess::changesAreReported_data()
{
    QTest::addColumn<bool>("walking");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QStringList>("events");
    const auto press
        = [](int key) { return Action([key](Screen &s) { s.entry.FormShortCut(key, Qt::NoModifier); }); };
    QTest::newRow("a new board") << false << Action([](Screen &s) {
        s.board.loadboard(gridFromText({"", "", "", "...dogs", "...cate", "...limb", "...unky"}));
    }) << QStringList {"reset paintbox_board"};
    QTest::newRow("a new board, the cursor on the focused board") << true << Action([](Screen &s) {
        s.board.loadboard(gridFromText({"", "", "", "...dogs", "...cate", "...limb", "...unky"}));
    }) << QStringList {"reset paintbox_board", "focus D"};
    QTest::newRow("a turn") << false << Action([](Screen &s) { s.entry.rotateboard(); })
                            << QStringList {"reset paintbox_board"};
    QTest::newRow("a turn, the cursor on the focused board")
        << true << Action([](Screen &s) { s.entry.rotateboard(); })
        << QStringList {"reset paintbox_board", "focus C"};
    QTest::newRow("the first step: the cell is told once")
        << false << press(Qt::Key_Down) << QStringList {"focus paintbox_board", "focus C"};
    QTest::newRow("a step") << true << press(Qt::Key_Right) << QStringList {"focus A"};
    QTest::newRow("a letter of the word") << false << Action([](Screen &s) { s.entry.typetheletter(3); })
                                          << QStringList {"selected C", "name entrystrip"};
    QTest::newRow("the news") << false << Action([](Screen &s) { s.announcer.roundEnded(); })
                              << QStringList {"name label_announce"};
}

void TestBoardAccess::changesAreReported()
{
    QFETCH(bool, walking);
    QFETCH(Action, action);
    QFETCH(QStringList, events);
    Screen s;
    s.board.loadboard(gridFromText({"", "", "", "...cats", "...doge", "...limb", "...unky"}));
    s.entry.startRound(true);
    s.panel.show();
    s.panel.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.panel));
    // The first step shows the cursor on the top-left tile and gives the board the focus.
    if (walking)
        QVERIFY(s.entry.FormShortCut(Qt::Key_Right, Qt::NoModifier));
    else
        s.panel.paintbox()->clearFocus();
    QCOMPARE(s.panel.paintbox()->hasFocus(), walking);
    // What the window's opening left to do is done before listening.
    QCoreApplication::sendPostedEvents();
    // Qt passes events on only while a reader listens; a headless platform has none,
    // so the test stands in for one.
    QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform);
    const bool wasActive = platform->isActive();
    platform->setActive(true);
    QStringList recorded;
    heard = &recorded;
    const QAccessible::UpdateHandler before = QAccessible::installUpdateHandler(hear);
    const auto restore = qScopeGuard([&] {
        QAccessible::installUpdateHandler(before);
        platform->setActive(wasActive);
        heard = nullptr;
    });
    action(s);
    // The last event a reader hears is where it stays.
    QTRY_COMPARE(recorded, events);
}

QTEST_MAIN(TestBoardAccess)
#include "tst_boardaccess.moc"
