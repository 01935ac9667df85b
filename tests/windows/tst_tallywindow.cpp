#include "tallylist.h"
#include "ttallylist.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class TestTallyWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void windowShowsTheSavedTally();
    void choosingAnOpponentShowsTheirRecord();
    void tickingAPlayerInTheCurrentGameTalliesThem();
    void untickingATalliedPlayerAsksFirst_data();
    void untickingATalliedPlayerAsksFirst();
    void resetAsksFirst_data();
    void resetAsksFirst();
    void doneHidesTheWindow();
    void aCountedGameRefreshesTheChosenOpponent();
    void longNamesDoNotStretchTheWindow();

private:
    template<typename T>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QString text(const char *label) const { return child<QLabel>(label)->text(); }
    QStringList entries(const char *list) const;
    void clickCheckBox(const char *list, const QString &name);
    void clickName(const char *list, const QString &name);
    void answer(QMessageBox::StandardButton button, const QString &expectedText);
    void openWith(const QStringList &tallied);

    QScopedPointer<QTemporaryDir> dir;
    QScopedPointer<Ttallylist> window;
    const TallyRoster game {{"Me", "Ben", "Cara", TallyRoster::waiting}, 1};
};

void TestTallyWindow::init()
{
    dir.reset(new QTemporaryDir);
}

void TestTallyWindow::cleanup()
{
    window.reset();
}

QStringList TestTallyWindow::entries(const char *list) const
{
    QStringList out;
    auto *widget = child<QListWidget>(list);
    for (int i = 0; i < widget->count(); ++i)
        out.append(widget->item(i)->text() + (widget->item(i)->checkState() == Qt::Checked ? "+" : "-"));
    return out;
}

void TestTallyWindow::clickCheckBox(const char *list, const QString &name)
{
    auto *widget = child<QListWidget>(list);
    const auto found = widget->findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    QStyleOptionViewItem option;
    option.initFrom(widget->viewport());
    option.rect = widget->visualItemRect(found.first());
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect box = widget->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, widget);
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, box.center());
}

void TestTallyWindow::clickName(const char *list, const QString &name)
{
    auto *widget = child<QListWidget>(list);
    const auto found = widget->findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    const QRect rect = widget->visualItemRect(found.first());
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, QPoint(rect.right() - 10, rect.center().y()));
}

void TestTallyWindow::answer(QMessageBox::StandardButton button, const QString &expectedText)
{
    QMessageBox *box = nullptr;
    QTRY_VERIFY((box = child<QMessageBox>("confirmation")) && box->isVisible());
    QCOMPARE(box->text(), expectedText);
    QVERIFY(box->isModal());
    QTest::mouseClick(box->button(button), Qt::LeftButton);
    QTRY_VERIFY(!child<QMessageBox>("confirmation"));
}

void TestTallyWindow::openWith(const QStringList &tallied)
{
    {
        TallyList list(dir->path());
        list.load();
        list.loadchecklist({QStringList {"Me"} + tallied, 1});
        for (const QString &name : tallied)
            list.checklistClickCheck(name, true);
    }
    window.reset(new Ttallylist(dir->path()));
    window->loadchecklist(game);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestTallyWindow::windowShowsTheSavedTally()
{
    {
        TallyList list(dir->path());
        list.load();
        list.loadchecklist(game);
        list.checklistClickCheck(QStringLiteral("Ben"), true);
        list.addgame(QStringLiteral("Me"), game);
        list.addtomineset(TallyList::mostWordsInRound, 23);
        list.addtomineincrease(TallyList::longWords);
    }
    window.reset(new Ttallylist(dir->path()));
    QVERIFY(!window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Wendlewick - Tally List"));
    QCOMPARE(window->loadReport(), QString());
    QCOMPARE(text("mylabel_1"), QStringLiteral("1"));
    QCOMPARE(text("mylabel_2"), QStringLiteral("1"));
    QCOMPARE(text("mylabel_3"), QStringLiteral("23"));
    QCOMPARE(text("mylabel_4"), QStringLiteral("1"));
    QCOMPARE(entries("listbox_tally"), QStringList {"Ben+"});
    QCOMPARE(entries("checklist"), QStringList {});
    QCOMPARE(text("label_hisnametop"), QStringLiteral("XX's Tally"));
    QCOMPARE(text("label_hisname"), QStringLiteral("XX Wins:"));
    auto *grid = child<QTableView>("stringgrid_scores");
    QVERIFY(grid && grid->isHidden());
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->columnCount(), 9);

    window->loadchecklist(game);
    QCOMPARE(entries("checklist"), (QStringList {"Ben+", "Cara-"}));
}

void TestTallyWindow::choosingAnOpponentShowsTheirRecord()
{
    openWith({QStringLiteral("Ben"), QStringLiteral("Cara")});
    window->addgame(QStringLiteral("Ben"), game);
    window->addgame(QStringLiteral("Me"), game);
    window->addgame(QStringLiteral("Me"), game);

    clickName("listbox_tally", QStringLiteral("Cara"));
    QCOMPARE(text("label_hisnametop"), QStringLiteral("Cara's Tally"));
    QCOMPARE(text("label_hisname"), QStringLiteral("Cara Wins:"));
    const char *totals[]
        = {"label_1", "label_2", "label_3", "label_4", "label_5", "label_6", "label_7", "label_8"};
    QStringList shown;
    for (const char *label : totals)
        shown.append(text(label));
    QCOMPARE(shown, (QStringList {"3", "0", "2", "1", "3", "0", "2", "1"}));

    clickName("listbox_tally", QStringLiteral("Ben"));
    QCOMPARE(text("label_hisnametop"), QStringLiteral("Ben's Tally"));
    QCOMPARE(text("label_2"), QStringLiteral("1"));
    QCOMPARE(text("label_3"), QStringLiteral("2"));
}

void TestTallyWindow::tickingAPlayerInTheCurrentGameTalliesThem()
{
    openWith({QStringLiteral("Ben")});
    QCOMPARE(entries("checklist"), (QStringList {"Ben+", "Cara-"}));
    clickCheckBox("checklist", QStringLiteral("Cara"));
    QCOMPARE(entries("checklist"), (QStringList {"Ben+", "Cara+"}));
    QCOMPARE(entries("listbox_tally"), (QStringList {"Ben+", "Cara+"}));
    QCOMPARE(window->tally()->table()->rowOf(QStringLiteral("Cara")), 2);

    // Unticking and ticking again changes nothing in the tally.
    clickCheckBox("checklist", QStringLiteral("Ben"));
    QCOMPARE(entries("checklist"), (QStringList {"Ben-", "Cara+"}));
    clickCheckBox("checklist", QStringLiteral("Ben"));
    QCOMPARE(entries("listbox_tally"), (QStringList {"Ben+", "Cara+"}));
    QCOMPARE(window->tally()->table()->rows(), 3);
}

void TestTallyWindow::untickingATalliedPlayerAsksFirst_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("button");
    QTest::addColumn<QStringList>("tallied");
    QTest::addColumn<QStringList>("current");
    QTest::newRow("yes deletes the record")
        << QMessageBox::Yes << QStringList {"Cara+"} << QStringList {"Ben-", "Cara+"};
    QTest::newRow("no keeps it") << QMessageBox::No << QStringList {"Ben+", "Cara+"}
                                 << QStringList {"Ben+", "Cara+"};
}

void TestTallyWindow::untickingATalliedPlayerAsksFirst()
{
    QFETCH(QMessageBox::StandardButton, button);
    QFETCH(QStringList, tallied);
    QFETCH(QStringList, current);
    openWith({QStringLiteral("Ben"), QStringLiteral("Cara")});
    window->addgame(QStringLiteral("Ben"), game);

    clickCheckBox("listbox_tally", QStringLiteral("Ben"));
    answer(button, QStringLiteral("This will delete Ben's Tally, Are you want to delete it?"));
    QCOMPARE(entries("listbox_tally"), tallied);
    QCOMPARE(entries("checklist"), current);
    QCOMPARE(window->tally()->talliedNames().size(), tallied.size());
    QCOMPARE(window->tally()->table()->rowOf(QStringLiteral("Cara")), tallied.size());
}

void TestTallyWindow::resetAsksFirst_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("button");
    QTest::addColumn<QString>("games");
    QTest::addColumn<QStringList>("tallied");
    QTest::newRow("yes resets") << QMessageBox::Yes << "0" << QStringList {};
    QTest::newRow("no keeps the tally") << QMessageBox::No << "1" << QStringList {"Ben+"};
}

void TestTallyWindow::resetAsksFirst()
{
    QFETCH(QMessageBox::StandardButton, button);
    QFETCH(QString, games);
    QFETCH(QStringList, tallied);
    openWith({QStringLiteral("Ben")});
    window->addgame(QStringLiteral("Me"), game);
    clickName("listbox_tally", QStringLiteral("Ben"));
    QCOMPARE(text("label_1"), QStringLiteral("1"));

    QTest::mouseClick(child<QPushButton>("button_reset"), Qt::LeftButton);
    answer(button, QStringLiteral("Are you sure you want to reset the Tally?"));
    QCOMPARE(text("mylabel_1"), games);
    QCOMPARE(text("mylabel_2"), games);
    QCOMPARE(text("label_1"), games);
    QCOMPARE(text("label_7"), games);
    QCOMPARE(entries("listbox_tally"), tallied);
}

void TestTallyWindow::doneHidesTheWindow()
{
    openWith({QStringLiteral("Ben")});
    QTest::mouseClick(child<QPushButton>("button_done"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    window->show();
    QCOMPARE(entries("listbox_tally"), QStringList {"Ben+"});
}

void TestTallyWindow::aCountedGameRefreshesTheChosenOpponent()
{
    openWith({QStringLiteral("Ben")});
    clickName("listbox_tally", QStringLiteral("Ben"));
    QCOMPARE(text("label_2"), QStringLiteral("0"));
    window->addgame(QStringLiteral("Ben"), game);
    QCOMPARE(text("label_2"), QStringLiteral("1"));
    QCOMPARE(text("label_6"), QStringLiteral("1"));
    QCOMPARE(text("mylabel_1"), QStringLiteral("1"));
    QCOMPARE(text("mylabel_2"), QStringLiteral("0"));
    window->addtomineincrease(TallyList::longWords);
    QCOMPARE(text("mylabel_4"), QStringLiteral("1"));
}

void TestTallyWindow::longNamesDoNotStretchTheWindow()
{
    openWith({QStringLiteral("Ben")});
    const QSize before = window->size();
    const QString longName = QStringLiteral("<b>Loud</b>") + QString(300, u'W');
    window->loadchecklist({{"Me", longName}, 1});
    clickCheckBox("checklist", longName);
    clickName("listbox_tally", longName);
    QVERIFY(text("label_hisnametop").startsWith(QStringLiteral("<b>Loud</b>")));
    QVERIFY(text("label_hisnametop").endsWith(QStringLiteral("'s Tally")));
    QCOMPARE(child<QLabel>("label_hisnametop")->textFormat(), Qt::PlainText);
    QVERIFY(text("label_hisname").endsWith(QStringLiteral(" Wins:")));
    QCOMPARE(window->size(), before);
}

QTEST_MAIN(TestTallyWindow)
#include "tst_tallywindow.moc"
