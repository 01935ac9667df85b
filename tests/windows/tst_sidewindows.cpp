#include "appversion.h"
#include "fakeshell.h"
#include "optionpicture.h"
#include "tabout.h"
#include "tgamestart.h"
#include "thelp.h"
#include "tphrases.h"
#include "tsolo.h"
#include "tspylist.h"
#include "weblinks.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

class TestSideWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpOpensOnTheOverview();
    void helpPageButtonsBringTheirPageToTheFront_data();
    void helpPageButtonsBringTheirPageToTheFront();
    void helpKeepsTheLastPageAfterHiding();
    void helpAboutButtonAsksForTheAboutWindow();

    void aboutShowsTheVersionTheLoginSends();
    void aboutLinkPictureAndDone();
    void soloPictureAndBothLinesOpenTheSoloPage();

    void optionsPictureSendsItsSizeCode_data();
    void optionsPictureSendsItsSizeCode();
    void optionsStartingValuesAndMinimumLength();
    void optionsArrowsStopAtTheEndsOfTheirRanges_data();
    void optionsArrowsStopAtTheEndsOfTheirRanges();
    void optionsScoreTakesATypedNumberAndTheRoundTimeDoesNot_data();
    void optionsScoreTakesATypedNumberAndTheRoundTimeDoesNot();
    void optionsRestoredValues_data();
    void optionsRestoredValues();
    void optionsUnknownPictureNamesFallBack_data();
    void optionsUnknownPictureNamesFallBack();
    void optionsChoicesSurviveReopening();

    void spyRemoveTargetsTheEntryUnderThePointer();
    void spyRightClickBelowTheLastEntryTargetsNothing();
    void spyRemoveIsDisabledOutsideTheHostingWindow();
    void spyEntryThatLeavesWhileTheMenuIsOpenIsNotRemovedAgain();
    void spyDisconnectRemovesOnlyAnExactEntry();

    void phrasesDoneHandsBackTheNinePhrases();
    void phrasesClosedOtherwiseHandBackNothing();

private:
    static OptionPicture *picture(Tgamestart &dialog, const QString &name)
    {
        return dialog.findChild<OptionPicture *>(name);
    }
    static QStringList checkedPictures(Tgamestart &dialog);
    static void openSpyMenuAt(Tspylist &spies, const QPoint &position);
};

void TestSideWindows::helpOpensOnTheOverview()
{
    Thelp help(nullptr, QDate(2031, 2, 3));
    QCOMPARE(help.windowTitle(), QStringLiteral("Wendlewick - Help File"));
    QCOMPARE(help.findChild<QLabel *>("label_caption")->text(), QStringLiteral("Overview"));
    QCOMPARE(help.findChild<QStackedWidget *>()->currentWidget()->objectName(), QStringLiteral("memo1"));
    QCOMPARE(help.findChild<QLabel *>("label_year")->text(), QStringLiteral("2031"));
}

void TestSideWindows::helpPageButtonsBringTheirPageToTheFront_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Connecting") << 2 << "Connecting";
    QTest::newRow("Game Play") << 3 << "Game Play";
    QTest::newRow("Scoring") << 4 << "Scoring";
    QTest::newRow("Documentation") << 5 << "Documentation";
    QTest::newRow("License") << 6 << "License";
    QTest::newRow("The Lobby") << 11 << "The Lobby";
    QTest::newRow("Overview again") << 1 << "Overview";
}

void TestSideWindows::helpPageButtonsBringTheirPageToTheFront()
{
    QFETCH(int, tag);
    QFETCH(QString, caption);
    Thelp help;
    help.showPage(6);
    auto *button = help.findChild<QPushButton *>(QStringLiteral("SelButton") + QString::number(tag));
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(help.findChild<QLabel *>("label_caption")->text(), caption);
    QCOMPARE(help.findChild<QStackedWidget *>()->currentWidget()->objectName(),
        QStringLiteral("memo") + QString::number(tag));
    QCOMPARE(help.currentTag(), tag);
}

void TestSideWindows::helpKeepsTheLastPageAfterHiding()
{
    Thelp help;
    help.show();
    QTest::mouseClick(help.findChild<QPushButton *>("SelButton4"), Qt::LeftButton);
    QTest::mouseClick(help.findChild<QPushButton *>("button_done"), Qt::LeftButton);
    QVERIFY(!help.isVisible());
    help.show();
    QCOMPARE(help.findChild<QLabel *>("label_caption")->text(), QStringLiteral("Scoring"));
    QCOMPARE(help.findChild<QStackedWidget *>()->currentWidget()->objectName(), QStringLiteral("memo4"));
}

void TestSideWindows::helpAboutButtonAsksForTheAboutWindow()
{
    Thelp help;
    QSignalSpy about(&help, &Thelp::aboutRequested);
    QTest::mouseClick(help.findChild<QPushButton *>("button_about"), Qt::LeftButton);
    QCOMPARE(about.size(), 1);
}

void TestSideWindows::aboutShowsTheVersionTheLoginSends()
{
    FakeShell shell;
    Tabout about(nullptr, &shell, QDate(2030, 12, 31));
    QCOMPARE(about.windowTitle(), QStringLiteral("Wendlewick - About"));
    QCOMPARE(about.findChild<QLabel *>("version")->text(), QStringLiteral("1.0.7"));
    QCOMPARE(about.findChild<QLabel *>("label_build")->text(), QStringLiteral(".6"));
    QCOMPARE(about.versionText(), AppVersion::text());
    QCOMPARE(about.findChild<QLabel *>("label_year")->text(), QStringLiteral("2030"));
}

void TestSideWindows::aboutLinkPictureAndDone()
{
    FakeShell shell;
    Tabout about(nullptr, &shell);
    about.show();
    QTest::mouseClick(about.findChild<QLabel *>("Label7"), Qt::LeftButton);
    QCOMPARE(shell.urls, QList<QUrl> {WebLinks::homePage()});
    QTest::mouseClick(about.findChild<QLabel *>("Image1"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
    about.show();
    QTest::mouseClick(about.findChild<QPushButton *>("Button1"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QCOMPARE(shell.urls.size(), 1);
}

void TestSideWindows::soloPictureAndBothLinesOpenTheSoloPage()
{
    FakeShell shell;
    Tsolo solo(nullptr, &shell);
    QCOMPARE(solo.windowTitle(), QStringLiteral("Wendlewick - Solo"));
    QCOMPARE(solo.findChild<QLabel *>("Label6")->text(),
        QStringLiteral("Click HERE to learn how to Play Wendlewick Solo!"));
    solo.show();
    for (const char *name : {"Image1", "Label5", "Label6"})
        QTest::mouseClick(solo.findChild<QLabel *>(name), Qt::LeftButton);
    QCOMPARE(shell.urls, (QList<QUrl> {WebLinks::soloPage(), WebLinks::soloPage(), WebLinks::soloPage()}));
    QTest::mouseClick(solo.findChild<QPushButton *>("button_done"), Qt::LeftButton);
    QVERIFY(!solo.isVisible());
}

QStringList TestSideWindows::checkedPictures(Tgamestart &dialog)
{
    QStringList names;
    for (OptionPicture *option : dialog.findChildren<OptionPicture *>())
        if (option->tag() == 1)
            names << option->objectName();
    names.sort();
    return names;
}

void TestSideWindows::optionsPictureSendsItsSizeCode_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("code");
    QTest::newRow("4X4") << "4X4" << 4;
    QTest::newRow("5X5") << "5X5" << 9;
    QTest::newRow("6X6") << "6X6" << 5;
    QTest::newRow("7X7") << "7X7" << 10;
    QTest::newRow("8X8") << "8X8" << 6;
    QTest::newRow("9X9") << "9X9" << 11;
    QTest::newRow("10X10") << "10X10" << 7;
    QTest::newRow("Random") << "Random" << 8;
}

void TestSideWindows::optionsPictureSendsItsSizeCode()
{
    QFETCH(QString, caption);
    QFETCH(int, code);
    Tgamestart dialog;
    dialog.show();
    QSignalSpy starts(&dialog, &Tgamestart::startRequested);
    OptionPicture *choice = nullptr;
    for (OptionPicture *option : dialog.findChildren<OptionPicture *>())
        if (option->text() == caption)
            choice = option;
    QVERIFY(choice);
    QCOMPARE(choice->objectName(), QStringLiteral("image_size") + QString::number(code));

    QTest::mouseClick(choice, Qt::LeftButton);
    QCOMPARE(checkedPictures(dialog), (QStringList {"image_min4", choice->objectName()}));
    QTest::mouseClick(dialog.findChild<QToolButton *>("button_start"), Qt::LeftButton);

    QCOMPARE(starts.size(), 1);
    const auto options = starts.at(0).at(0).value<GameOptions>();
    QCOMPARE(options.sizeCode, code);
    QCOMPARE(options.startGameFields(QStringLiteral("Ann")).at(3), QString::number(code));
    QVERIFY(!dialog.isVisible());
}

void TestSideWindows::optionsStartingValuesAndMinimumLength()
{
    Tgamestart dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Wendlewick - Game Start"));
    QSignalSpy starts(&dialog, &Tgamestart::startRequested);
    dialog.show();
    QTest::mouseClick(dialog.findChild<QToolButton *>("button_start"), Qt::LeftButton);
    QCOMPARE(starts.at(0).at(0).value<GameOptions>().startGameFields(QStringLiteral("Ann")),
        (QStringList {"Ann", "100", "60", "7", "4", "0"}));

    dialog.show();
    QTest::mouseClick(picture(dialog, "image_min6"), Qt::LeftButton);
    QCOMPARE(dialog.minLetters(), 6);
    QCOMPARE(checkedPictures(dialog), (QStringList {"image_min6", "image_size7"}));
}

void TestSideWindows::optionsArrowsStopAtTheEndsOfTheirRanges_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("oneUp");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::newRow("play to score") << "edit_playtoscore" << 100 << 200 << 10000 << 0;
    QTest::newRow("round time") << "edit_creationtime" << 60 << 65 << 180 << 45;
}

void TestSideWindows::optionsArrowsStopAtTheEndsOfTheirRanges()
{
    QFETCH(QString, box);
    QFETCH(int, start);
    QFETCH(int, oneUp);
    QFETCH(int, top);
    QFETCH(int, bottom);
    Tgamestart dialog;
    dialog.show();
    auto *spin = dialog.findChild<QSpinBox *>(box);
    QCOMPARE(spin->value(), start);
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), oneUp);
    for (int i = 0; i < 120; ++i)
        QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), top);
    for (int i = 0; i < 120; ++i)
        QTest::keyClick(spin, Qt::Key_Down);
    QCOMPARE(spin->value(), bottom);
    QCOMPARE(spin->text(), QString::number(bottom));
    const GameOptions options = dialog.options();
    QCOMPARE(box == "edit_playtoscore" ? options.playToScore : options.roundTime, bottom);
}

void TestSideWindows::optionsScoreTakesATypedNumberAndTheRoundTimeDoesNot_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    // Steps of 100 from 100 never reach these again.
    QTest::newRow("score: the default 30") << "edit_playtoscore"
                                           << "30" << 30;
    QTest::newRow("score: 50") << "edit_playtoscore"
                               << "50" << 50;
    QTest::newRow("score: 0, one round") << "edit_playtoscore"
                                         << "0" << 0;
    QTest::newRow("score: past the top, the last digit refused") << "edit_playtoscore"
                                                                 << "20000" << 2000;
    QTest::newRow("score: letters refused") << "edit_playtoscore"
                                            << "abc" << 100;
    QTest::newRow("round time: no typing") << "edit_creationtime"
                                           << "90" << 60;
}

void TestSideWindows::optionsScoreTakesATypedNumberAndTheRoundTimeDoesNot()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, value);
    Tgamestart dialog;
    dialog.show();
    auto *edit = dialog.findChild<QSpinBox *>(box);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->value(), value);
    QSignalSpy start(&dialog, &Tgamestart::startRequested);
    QTest::mouseClick(dialog.findChild<QToolButton *>("button_start"), Qt::LeftButton);
    QCOMPARE(start.size(), 1);
    const GameOptions sent = start.at(0).at(0).value<GameOptions>();
    QCOMPARE(box == QLatin1String("edit_playtoscore") ? sent.playToScore : sent.roundTime, value);
    // The arrows keep their steps.
    dialog.show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(edit->value(), value + (box == QLatin1String("edit_playtoscore") ? 100 : 5));
}

void TestSideWindows::optionsRestoredValues_data()
{
    QTest::addColumn<QString>("score");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("expectedScore");
    QTest::addColumn<int>("expectedTime");
    QTest::newRow("missing keys: 30 and 1") << "30"
                                            << "1" << 30 << 45;
    QTest::newRow("within range") << "2500"
                                  << "95" << 2500 << 95;
    QTest::newRow("above range") << "20000"
                                 << "400" << 10000 << 180;
    QTest::newRow("below range") << "-5"
                                 << "0" << 0 << 45;
    QTest::newRow("not numbers leave the choices") << "lots"
                                                   << "1.5" << 100 << 60;
}

void TestSideWindows::optionsRestoredValues()
{
    QFETCH(QString, score);
    QFETCH(QString, time);
    QFETCH(int, expectedScore);
    QFETCH(int, expectedTime);
    Tgamestart dialog;
    dialog.restorePlayToScore(score);
    dialog.restoreRoundTime(time);
    QCOMPARE(dialog.playToScore(), expectedScore);
    QCOMPARE(dialog.roundTime(), expectedTime);
    QCOMPARE(dialog.findChild<QSpinBox *>("edit_creationtime")->value(), expectedTime);
}

void TestSideWindows::optionsUnknownPictureNamesFallBack_data()
{
    QTest::addColumn<QString>("sizeName");
    QTest::addColumn<QString>("minName");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("letters");
    QTest::newRow("stored values") << "image_size9"
                                   << "image_min5" << 9 << 5;
    QTest::newRow("any letter case") << "IMAGE_SIZE11"
                                     << "Image_Min7" << 11 << 7;
    QTest::newRow("out of range") << "image_size12"
                                  << "image_min8" << 8 << 3;
    QTest::newRow("empty values") << "image_size"
                                  << "image_min" << 8 << 3;
    QTest::newRow("leading zero") << "image_size09"
                                  << "image_min04" << 8 << 3;
}

void TestSideWindows::optionsUnknownPictureNamesFallBack()
{
    QFETCH(QString, sizeName);
    QFETCH(QString, minName);
    QFETCH(int, code);
    QFETCH(int, letters);
    Tgamestart dialog;
    dialog.clicksize(sizeName);
    dialog.clickmin(minName);
    QCOMPARE(dialog.sizeCode(), code);
    QCOMPARE(dialog.minLetters(), letters);
    QCOMPARE(checkedPictures(dialog),
        (QStringList {QStringLiteral("image_min") + QString::number(letters),
            QStringLiteral("image_size") + QString::number(code)}));
}

void TestSideWindows::optionsChoicesSurviveReopening()
{
    Tgamestart dialog;
    dialog.show();
    dialog.setPlayToScore(700);
    QTest::mouseClick(picture(dialog, "image_size10"), Qt::LeftButton);
    QTest::mouseClick(picture(dialog, "image_min3"), Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QToolButton *>("button_start"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    dialog.show();
    QCOMPARE(dialog.findChild<QSpinBox *>("edit_playtoscore")->value(), 700);
    QCOMPARE(checkedPictures(dialog), (QStringList {"image_min3", "image_size10"}));
    QCOMPARE(dialog.options().startGameFields(QStringLiteral("You")),
        (QStringList {"You", "700", "60", "10", "3", "0"}));
}

void TestSideWindows::openSpyMenuAt(Tspylist &spies, const QPoint &position)
{
    auto *list = spies.findChild<QListWidget *>("listbox_spys");
    QWidget *viewport = list->viewport();
    QTest::mouseMove(viewport, position);
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, viewport->mapToGlobal(position));
    QCoreApplication::sendEvent(viewport, &event);
}

void TestSideWindows::spyRemoveTargetsTheEntryUnderThePointer()
{
    Tspylist spies;
    QCOMPARE(spies.windowTitle(), QStringLiteral("Wendlewick - Spys"));
    QVERIFY(spies.windowFlags() & Qt::WindowStaysOnTopHint);
    spies.addspy(11, QStringLiteral("Ann"));
    spies.addspy(12, QStringLiteral("Bob: the second"));
    spies.addspy(13, QStringLiteral("Cy"));
    spies.setHosting(true);
    spies.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spies));
    QSignalSpy kicks(&spies, &Tspylist::kickRequested);

    auto *list = spies.findChild<QListWidget *>("listbox_spys");
    list->setCurrentRow(0); // the selected entry is not the target
    const QPoint second = list->visualItemRect(list->item(1)).center();
    QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(2)).center());
    QTest::mouseMove(list->viewport(), second);
    QCOMPARE(spies.hoveredIndex(), 1);
    openSpyMenuAt(spies, second);
    auto *menu = spies.findChild<QMenu *>("popup_kick");
    QTRY_VERIFY(menu->isVisible());
    auto *remove = menu->findChild<QAction *>("popup_kickhim");
    QCOMPARE(remove->text(), QStringLiteral("Remove From Game"));
    remove->trigger();
    QCOMPARE(kicks.size(), 1);
    QCOMPARE(kicks.at(0).at(0).toInt(), 12);
}

void TestSideWindows::spyRightClickBelowTheLastEntryTargetsNothing()
{
    Tspylist spies;
    spies.addspy(11, QStringLiteral("Ann"));
    spies.addspy(12, QStringLiteral("Bob"));
    spies.setHosting(true);
    spies.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spies));
    QSignalSpy kicks(&spies, &Tspylist::kickRequested);

    auto *list = spies.findChild<QListWidget *>("listbox_spys");
    const QRect last = list->visualItemRect(list->item(1));
    const QPoint below(last.center().x(), last.bottom() + last.height() * 2);
    QVERIFY(below.y() < list->viewport()->height());
    QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(0)).center());
    QCOMPARE(spies.hoveredIndex(), 0);
    QTest::mouseMove(list->viewport(), last.center());
    QCOMPARE(spies.hoveredIndex(), 1);
    QTest::mouseMove(list->viewport(), below);
    QCOMPARE(spies.hoveredIndex(), -1);
    openSpyMenuAt(spies, below);
    spies.findChild<QAction *>("popup_kickhim")->trigger();
    QCOMPARE(kicks.size(), 0);
}

void TestSideWindows::spyRemoveIsDisabledOutsideTheHostingWindow()
{
    Tspylist spies;
    spies.addspy(11, QStringLiteral("Ann"));
    spies.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spies));
    QSignalSpy kicks(&spies, &Tspylist::kickRequested);
    auto *list = spies.findChild<QListWidget *>("listbox_spys");
    openSpyMenuAt(spies, list->visualItemRect(list->item(0)).center());
    auto *remove = spies.findChild<QAction *>("popup_kickhim");
    QVERIFY(!remove->isEnabled());
    remove->trigger();
    spies.popup_kickhimClick();
    QCOMPARE(kicks.size(), 0);
}

void TestSideWindows::spyEntryThatLeavesWhileTheMenuIsOpenIsNotRemovedAgain()
{
    Tspylist spies;
    spies.addspy(11, QStringLiteral("Ann"));
    spies.addspy(12, QStringLiteral("Bob"));
    spies.setHosting(true);
    spies.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spies));
    QSignalSpy kicks(&spies, &Tspylist::kickRequested);
    auto *list = spies.findChild<QListWidget *>("listbox_spys");
    openSpyMenuAt(spies, list->visualItemRect(list->item(0)).center());
    QVERIFY(spies.removespy(11, QStringLiteral("Ann")));
    spies.findChild<QAction *>("popup_kickhim")->trigger();
    QCOMPARE(kicks.size(), 0); // and not Bob, who now stands where Ann stood
}

void TestSideWindows::spyDisconnectRemovesOnlyAnExactEntry()
{
    Tspylist spies;
    spies.addspy(11, QStringLiteral("Ann"));
    spies.addspy(14, QStringLiteral("Ann"));
    QVERIFY(!spies.removespy(11, QStringLiteral("ann")));
    QVERIFY(!spies.removespy(12, QStringLiteral("Ann")));
    QVERIFY(!spies.removespy(11, QStringLiteral("Ann ")));
    QVERIFY(spies.hasspy(14, QStringLiteral("Ann")));
    QVERIFY(spies.removespy(11, QStringLiteral("Ann")));
    QCOMPARE(spies.entries(), QStringList {QStringLiteral("14: Ann")});
    QCOMPARE(spies.findChild<QListWidget *>("listbox_spys")->item(0)->text(), QStringLiteral("14: Ann"));
}

void TestSideWindows::phrasesDoneHandsBackTheNinePhrases()
{
    Tphrases editor;
    QCOMPARE(editor.windowTitle(), QStringLiteral("Wendlewick - Phrase Buttons "));
    QSignalSpy done(&editor, &Tphrases::phrasesDone);
    QStringList phrases {"Way To Go!", "Good One!", "Nice Try!", "Excellent!", "Brilliant!", "Wow, WTG!",
        "Thanks!", "Way To Go Teamie!", "Good Game Everyone!"};
    editor.openWith(phrases);
    auto *second = editor.findChild<QLineEdit *>("phrase2");
    second->clear();
    QTest::keyClicks(second, "/me dances");
    auto *ninth = editor.findChild<QLineEdit *>("phrase9");
    ninth->clear();
    QTest::keyClicks(ninth, QString(60, QLatin1Char('x')));
    QTest::mouseClick(editor.findChild<QPushButton *>("button_done"), Qt::LeftButton);

    QVERIFY(!editor.isVisible());
    QCOMPARE(done.size(), 1);
    phrases[1] = QStringLiteral("/me dances");
    phrases[8] = QString(50, QLatin1Char('x'));
    QCOMPARE(done.at(0).at(0).toStringList(), phrases);
}

void TestSideWindows::phrasesClosedOtherwiseHandBackNothing()
{
    Tphrases editor;
    QSignalSpy done(&editor, &Tphrases::phrasesDone);
    const QStringList phrases {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    editor.openWith(phrases);
    QTest::keyClicks(editor.findChild<QLineEdit *>("phrase1"), "bc");
    editor.close();
    QVERIFY(!editor.isVisible());
    editor.openWith(phrases);
    QTest::keyClick(&editor, Qt::Key_Escape);
    QVERIFY(!editor.isVisible());
    QCOMPARE(done.size(), 0);
    editor.openWith(phrases);
    QCOMPARE(editor.phrases(), phrases);
}

QTEST_MAIN(TestSideWindows)
#include "tst_sidewindows.moc"
