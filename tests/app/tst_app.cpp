#include "chatpanel.h"
#include "chatview.h"
#include "clientdispatch.h"
#include "fakeshell.h"
#include "gamesession.h"
#include "instanceguard.h"
#include "mainmenus.h"
#include "phrasebar.h"
#include "playarea.h"
#include "processmarker.h"
#include "recordingsoundplayer.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "soundoptions.h"
#include "tabout.h"
#include "tallylist.h"
#include "tchat.h"
#include "tdictn.h"
#include "tdownload.h"
#include "tgamestart.h"
#include "thelp.h"
#include "tphrases.h"
#include "ttallylist.h"
#include "twordslist.h"
#include "weblinks.h"
#include "wordspanel.h"

#include <QAction>
#include <QColorDialog>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The value of one key in the file's Wendlewick section (keys are unique in our files).
QByteArray storedValue(const QString &path, const QByteArray &key)
{
    const QByteArray text = readAll(path);
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith(QByteArray(key + "=")))
            return line.mid(key.size() + 1).trimmed();
    }
    return QByteArray("<absent>");
}

QStringList itemsOf(const QWidget *menuOrBar)
{
    QStringList items;
    for (const QAction *action : menuOrBar->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return items;
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void mainWindowOwnsAnOpenDictionary();
    void missingWordListIsReportedWithoutBlocking();

    void everyRegionSitsAtItsPlace_data();
    void everyRegionSitsAtItsPlace();
    void rosterRowsStartEmpty();
    void controlsStartInTheirFirstState();
    void menuItemsAreBuiltWithTheirShortcutsAndMarks_data();
    void menuItemsAreBuiltWithTheirShortcutsAndMarks();
    void menusHoldTheirItemsAndSeparatorsInOrder_data();
    void menusHoldTheirItemsAndSeparatorsInOrder();
    void windowFloorKeepsTheBoardPanelInside_data();
    void windowFloorKeepsTheBoardPanelInside();

    void firstRunShowsTheDefaults();
    void storedSettingsDriveTheControls();
    void everyKeyRoundTripsThroughItsControl();
    void menuChoicesAreSavedAtOnce();
    void closingRightAfterStartKeepsEveryStoredSetting();
    void closingSavesTheWindowsPlace();
    void closingAMovedWindowWiderThanTheWorkAreaShrinksItOneStep();
    void closingAnUnmovedWindowStoresItAsItWasRead();
    void resetScreenLocationPutsBothWindowsBack();
    void windowsStoredOffEveryScreenOpenAtTheDefaultPlace_data();
    void windowsStoredOffEveryScreenOpenAtTheDefaultPlace();

    void phraseEditorPhrasesGoOnTheButtonsAndIntoTheirKeysOnly();
    void exitClosesTheWindow();
    void bothScrollChatOffItemsShareOneMark();
    void justWatchMarkFollowsTheHostNotTheClick();
    void rosterMenuOffersItsItemsToTheHostOnly_data();
    void rosterMenuOffersItsItemsToTheHostOnly();
    void rosterShowsTheModel();
    void aRealWidgetTakesThePlaceOfItsPlaceholder();
    void anotherCopyRestoresAMinimisedWindow();
    void aChosenTextColourColoursTheInputAndIsSaved();
    void theRunningGameMarkerLivesWithTheWindow();

    void menusOpenTheirSideWindows_data();
    void menusOpenTheirSideWindows();
    void helpsAboutButtonAndTheLogoLeadOn();
    void theDownloadWindowsExitClosesTheProgram();
    void phraseEditorStartsWithTheButtonsPhrasesAndDoneSavesThem();
    void viewTallyListsTheOtherPlayersOfTheRoster();
    void aDamagedTallyFileIsReportedInTheChat();
    void startGameWithoutAConnectionSaysSo();

private:
    std::unique_ptr<Tchat> makeChat(const QString &resource = QString());

    QTemporaryDir dataDir_;
    RecordingSoundPlayer sounds_;
    FakeShell shell_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString iniPath_;
};

void TestApp::initTestCase()
{
    QVERIFY(dataDir_.isValid());
    // Nothing a test does may touch the build folder or the user's own files.
    qputenv("WENDLEWICK_DATA_DIR", dataDir_.path().toLocal8Bit());
}

void TestApp::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    iniPath_ = dir_->filePath(QStringLiteral("orinlobby.ini"));
}

std::unique_ptr<Tchat> TestApp::makeChat(const QString &resource)
{
    Tchat::Setup setup;
    setup.dictionaryFolder = dir_->path();
    setup.dictionaryResource = resource;
    setup.settingsPath = iniPath_;
    setup.markerFolder = dir_->path();
    setup.tallyFolder = dir_->path();
    // Two arguments take no role: nothing here touches the network.
    setup.arguments = QStringList {QStringLiteral("Ann"), QStringLiteral("127.0.0.1")};
    setup.soundPlayer = &sounds_;
    setup.shell = &shell_;
    return std::make_unique<Tchat>(setup);
}

void TestApp::mainWindowOwnsAnOpenDictionary()
{
    auto chat = makeChat();
    QCOMPARE(chat->windowTitle(), QStringLiteral("Wendlewick"));
    QVERIFY(chat->spell && chat->spell->isOpen());
    QVERIFY(chat->spell->isword(QStringLiteral("cat")));
    QVERIFY(chat->isword("CAT"));
    QVERIFY(!chat->findChild<QMessageBox *>(QStringLiteral("dictionaryMissingBox")));
}

void TestApp::missingWordListIsReportedWithoutBlocking()
{
    auto chat = makeChat(QStringLiteral(":/missing"));
    chat->show();
    auto *box = chat->findChild<QMessageBox *>(QStringLiteral("dictionaryMissingBox"));
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("English.dic dictionary not found!"));
    QVERIFY(box->isModal());
    QVERIFY(!chat->spell->isword(QStringLiteral("cat")));
}

void TestApp::everyRegionSitsAtItsPlace_data()
{
    // Places within the board panel; -1 where only the other values are fixed.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("first letter") << "image_letters1" << QRect(5, 8, 42, 42);
    QTest::newRow("last letter") << "image_letters12" << QRect(478, 8, 42, 42);
    QTest::newRow("typing toggle") << "label_typingoff" << QRect(527, 12, -1, -1);
    QTest::newRow("status") << "label_status" << QRect(6, 50, 515, -1);
    QTest::newRow("winner banner") << "panel_winner" << QRect(3, 2, 519, 49);
    QTest::newRow("clock bar") << "image_timer" << QRect(186, 68, 180, 29);
    QTest::newRow("clock text") << "label_timer" << QRect(186, 68, 180, 29);
    QTest::newRow("start") << "button_start" << QRect(186, 68, 180, 29);
    QTest::newRow("rotate") << "button_rotate" << QRect(0, 68, -1, -1);
    QTest::newRow("clear") << "button_clear" << QRect(96, 68, -1, -1);
    QTest::newRow("send") << "button_send" << QRect(372, 68, -1, -1);
    QTest::newRow("board back") << "panel_boardback" << QRect(45, 100, -1, -1);
    QTest::newRow("board") << "paintbox_board" << QRect(-1, -1, 420, 420);
    QTest::newRow("logo") << "image_logo" << QRect(4, 101, 38, 420);
    QTest::newRow("first name") << "label_playername1" << QRect(472, 71, 98, -1);
    QTest::newRow("last name") << "label_playername10" << QRect(472, 233, 98, -1);
    QTest::newRow("first score") << "label_score1" << QRect(575, 71, -1, -1);
    QTest::newRow("last bonus") << "label_bonus10" << QRect(602, 233, -1, -1);
    QTest::newRow("eyes") << "image_eyes5" << QRect(471, -1, -1, -1);
    QTest::newRow("play to score") << "label_playtoscore" << QRect(484, 257, -1, -1);
    QTest::newRow("settings card") << "panel_settings" << QRect(476, 254, 296, 32);
    QTest::newRow("words panel") << "panel_words" << QRect(638, 2, 139, 250);
    QTest::newRow("first phrase") << "b_phrase1" << QRect(475, 290, 26, 19);
    QTest::newRow("chatter sounds") << "b_phrase10" << QRect(745, 290, 26, 19);
    QTest::newRow("chat view") << "mainchat" << QRect(474, 312, 298, 185);
    QTest::newRow("chat input") << "mychat" << QRect(474, 499, 268, 22);
    QTest::newRow("smilies") << "button_smilies" << QRect(744, 499, 28, 22);
}

void TestApp::everyRegionSitsAtItsPlace()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);
    auto chat = makeChat();
    QFrame *panel = chat->boardPanel();
    QCOMPARE(panel->objectName(), QStringLiteral("panel_board"));
    QCOMPARE(panel->size(), QSize(780, 525));
    auto *widget = panel->findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    const QPoint at = widget->mapTo(panel, QPoint(0, 0));
    if (place.x() >= 0)
        QCOMPARE(at.x(), place.x());
    if (place.y() >= 0)
        QCOMPARE(at.y(), place.y());
    if (place.width() >= 0)
        QCOMPARE(widget->width(), place.width());
    if (place.height() >= 0)
        QCOMPARE(widget->height(), place.height());
    // Every control lies inside the board panel.
    QVERIFY(QRect(QPoint(0, 0), panel->size()).contains(QRect(at, widget->size())));
}

void TestApp::rosterRowsStartEmpty()
{
    auto chat = makeChat();
    QFrame *panel = chat->boardPanel();
    for (int slot = 1; slot <= 10; ++slot) {
        const QString n = QString::number(slot);
        auto *name = panel->findChild<QLabel *>(QStringLiteral("label_playername") + n);
        auto *score = panel->findChild<QLabel *>(QStringLiteral("label_score") + n);
        auto *bonus = panel->findChild<QLabel *>(QStringLiteral("label_bonus") + n);
        auto *eyes = panel->findChild<QLabel *>(QStringLiteral("image_eyes") + n);
        QVERIFY(name && score && bonus && eyes);
        QCOMPARE(name->text(), QStringLiteral("<Waiting>"));
        QCOMPARE(name->property("tag").toInt(), slot);
        QCOMPARE(score->text(), QStringLiteral("0"));
        QCOMPARE(bonus->text(), QString());
        QVERIFY(eyes->isHidden());
        QCOMPARE(name->y(), 71 + (slot - 1) * 18);
    }
    for (const char *label :
        {"label_playtoscore", "label_timeperturn", "label_boardsize", "label_minletters"}) {
        auto *widget = panel->findChild<QLabel *>(QString::fromLatin1(label));
        QVERIFY2(widget, label);
        const QRect place(widget->pos(), widget->size());
        QVERIFY2(QRect(484, 257, 286, 28).contains(place), label);
    }
}

void TestApp::controlsStartInTheirFirstState()
{
    auto chat = makeChat();
    chat->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.get()));
    PlayArea *play = chat->playArea();
    QCOMPARE(play->label_status->text(), QStringLiteral("Welcome to Wendlewick"));
    QCOMPARE(play->label_status->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QVERIFY(!play->panel_winner->isVisible());
    QCOMPARE(play->label_winner1->parentWidget(), play->panel_winner);
    QCOMPARE(play->label_winner2->pos(), play->label_winner1->pos() + QPoint(1, -1));
    for (QWidget *hidden :
        {static_cast<QWidget *>(play->button_start), static_cast<QWidget *>(play->button_rotate),
            static_cast<QWidget *>(play->button_clear), static_cast<QWidget *>(play->button_send)})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
    QVERIFY(play->label_typingoff->isVisible());
    QCOMPARE(play->label_typingoff->text(), QStringLiteral("TYPING OFF"));
    QVERIFY(play->image_logo->isVisible());
    QCOMPARE(chat->wordsPanel()->foundLabel()->text(), QStringLiteral("Count: 0"));
    auto *input = chat->findChild<QLineEdit *>(QStringLiteral("mychat"));
    QVERIFY(input);
    QCOMPARE(input->placeholderText(), QStringLiteral("<Enter Chat Here>"));
    QCOMPARE(chat->phraseBar()->button(10)->toolTip(), QStringLiteral("Chatter Sounds"));
    QCOMPARE(chat->centralWidget()->palette().color(QPalette::Window), QColor(76, 106, 76));
    QCOMPARE(chat->size(), QSize(784, 590)); // 775 x 590 stored, widened by the floor
    QCOMPARE(chat->clientSize().width(), 784);
}

void TestApp::menuItemsAreBuiltWithTheirShortcutsAndMarks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    const QKeySequence none;
    QTest::newRow("Start Game") << "StartGame1"
                                << "Start Game" << none << false << false << false;
    QTest::newRow("Exit") << "Exit1"
                          << "Exit" << none << false << false << true;
    QTest::newRow("Play Sounds") << "PlaySounds1"
                                 << "Play Sounds" << none << true << true << true;
    QTest::newRow("Play Chatter Sounds") << "PlayChatterSounds1"
                                         << "Play Chatter Sounds" << none << true << false << true;
    QTest::newRow("Classic") << "Classic1"
                             << "Classic" << none << true << true << true;
    QTest::newRow("New") << "New1"
                         << "New" << none << true << false << true;
    QTest::newRow("Extra Long") << "ExtraLong1"
                                << "Extra Long" << none << true << false << true;
    QTest::newRow("Long") << "long"
                          << "Long" << none << true << false << true;
    QTest::newRow("Normal") << "Normal1"
                            << "Normal" << none << true << true << true;
    QTest::newRow("Quick") << "quick"
                           << "Quick" << none << true << false << true;
    QTest::newRow("autostart") << "autostart"
                               << "Automatically Start Next Game" << none << true << false << true;
    QTest::newRow("Text Color") << "TextColor1"
                                << "Text Color" << none << false << false << true;
    QTest::newRow("size 8") << "N8"
                            << "8" << none << true << false << true;
    QTest::newRow("size 10") << "N10"
                             << "10" << none << true << true << true;
    QTest::newRow("size 14") << "N14"
                             << "14" << none << true << false << true;
    QTest::newRow("Scroll Chat Off") << "ScrollChatOff2"
                                     << "Scroll Chat Off" << QKeySequence(Qt::CTRL | Qt::Key_S) << true
                                     << false << true;
    QTest::newRow("Clear Main Chat") << "ClearMainChat1"
                                     << "Clear Main Chat" << none << false << false << true;
    QTest::newRow("Reset Screen Location") << "ResetScreenLocation1"
                                           << "Reset Screen Location" << none << false << false << true;
    QTest::newRow("Just Watch") << "JustWatch1"
                                << "Just Watch" << none << true << false << true;
    QTest::newRow("Disable Typing") << "DisableTyping1"
                                    << "Disable Typing" << none << true << false << true;
    QTest::newRow("Click Letters") << "ClickLetters1"
                                   << "Click Letters" << none << true << false << true;
    QTest::newRow("View Tally") << "ViewTally1"
                                << "View Tally" << none << false << false << true;
    QTest::newRow("Spy List") << "SpyList1"
                              << "Spy List" << none << false << false << true;
    QTest::newRow("Phrase List") << "PrhaseList1"
                                 << "Phrase List" << none << false << false << true;
    QTest::newRow("Content") << "Help2"
                             << "Content" << QKeySequence(Qt::Key_F1) << false << false << true;
    QTest::newRow("About") << "About1"
                           << "About" << none << false << false << true;
    QTest::newRow("Solo") << "CheckoutWendlewickSolo1"
                          << "Check out Wendlewick Solo!" << none << false << false << true;
    QTest::newRow("Remove From Game") << "RemoveFromGame1"
                                      << "Remove From Game" << none << false << false << true;
    QTest::newRow("Set to Just Watch") << "SettoJustWatch1"
                                       << "Set to Just Watch" << none << false << false << true;
    QTest::newRow("Unset Just Watch") << "UnsetJustWatch1"
                                      << "Unset Just Watch" << none << false << false << true;
    QTest::newRow("Select All") << "SelectAll1"
                                << "Select All" << none << false << false << true;
    QTest::newRow("Copy") << "Copy1"
                          << "Copy" << QKeySequence(Qt::CTRL | Qt::Key_C) << false << false << true;
    QTest::newRow("chat Scroll Chat Off")
        << "ScrollChatOff1"
        << "Scroll Chat Off" << QKeySequence(Qt::CTRL | Qt::Key_S) << true << false << true;
    QTest::newRow("Paste") << "Paste1"
                           << "Paste" << QKeySequence(Qt::CTRL | Qt::Key_V) << false << false << true;
}

void TestApp::menuItemsAreBuiltWithTheirShortcutsAndMarks()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, checkable);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    // The menus as built, before any settings are applied.
    QMainWindow window;
    GameSounds sounds;
    SoundOptions soundOptions(sounds);
    auto *panel = new QWidget(&window);
    auto *chatPanel = new ChatPanel(panel);
    auto *phrases = new PhraseBar(panel);
    Q_UNUSED(phrases);
    MainMenus menus(&window,
        MainMenus::SharedItems {soundOptions.playSoundsAction(), soundOptions.playChatterSoundsAction(),
            soundOptions.turnSoundMenu(), chatPanel->textColorAction(), chatPanel->textSizeMenu(),
            chatPanel->scrollChatOffAction(), chatPanel->clearMainChatAction()});
    RosterModel roster;
    ClientState state;
    RosterView rosterView(panel, &roster, &state);
    auto *action = window.findChild<QAction *>(name);
    if (!action)
        action = soundOptions.findChild<QAction *>(name);
    if (!action)
        action = soundOptions.turnSoundMenu()->findChild<QAction *>(name);
    QVERIFY2(action, qPrintable(name));
    QCOMPARE(action->text(), text);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(action->isCheckable(), checkable);
    QCOMPARE(action->isChecked(), checked);
    QCOMPARE(action->isEnabled(), enabled);
}

void TestApp::menusHoldTheirItemsAndSeparatorsInOrder_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("bar") << "MainMenu1"
                         << QStringList {"File", "Options", "Tiles", "View", "Help", "-",
                                "Check out Wendlewick Solo!"};
    QTest::newRow("File") << "File1" << QStringList {"Start Game", "Add Computer Player", "-", "Exit"};
    QTest::newRow("Add Computer Player") << "AddComputerPlayer1" << QStringList {"Easy", "Medium", "Hard"};
    QTest::newRow("Options") << "Options1"
                             << QStringList {"Play Sounds", "Play Chatter Sounds", "Speak Announcements",
                                    "Turn Sound", "Time Between Rounds", "Automatically Start Next Game", "-",
                                    "Text Color", "Text Size", "Scroll Chat Off", "Clear Main Chat",
                                    "Reset Screen Location", "-", "Just Watch", "-", "Disable Typing",
                                    "Click Letters"};
    QTest::newRow("Turn Sound") << "TurnSound1" << QStringList {"Classic", "New"};
    QTest::newRow("Time Between Rounds")
        << "timebetweenrounds" << QStringList {"Extra Long", "Long", "Normal", "Quick"};
    QTest::newRow("Text Size") << "TextSize1" << QStringList {"8", "10", "12", "14"};
    QTest::newRow("Tiles") << "grouptilesitem" << QStringList {"Classic"};
    QTest::newRow("View") << "View1"
                          << QStringList {"View Tally", "Spy List", "Phrase List", "-", "Last Round's Words"};
    QTest::newRow("Help") << "Help1" << QStringList {"Content", "-", "About"};
    QTest::newRow("roster names") << "popup_kick"
                                  << QStringList {
                                         "Remove From Game", "Set to Just Watch", "Unset Just Watch"};
    QTest::newRow("chat view") << "popup_mainchat"
                               << QStringList {
                                      "Select All", "Copy", "Clear Main Chat", "-", "Scroll Chat Off"};
    QTest::newRow("chat input") << "popup_mychat" << QStringList {"Paste"};
    QTest::newRow("chatter sounds") << "popup_sounds"
                                    << QStringList {"<Cancel>", "Doh", "Cough", "Hello", "Thank You",
                                           "Where have you been?", "Snoring", "Sneezing", "Sorry", "Welcome",
                                           "Yeehaa", "Yippee", "Oh No", "Applause", "Honk", "Oooh",
                                           "Razzberry", "Cheer", "Woman Laughing", "Man Laughing", "Crying"};
}

void TestApp::menusHoldTheirItemsAndSeparatorsInOrder()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    auto chat = makeChat();
    auto *widget = chat->findChild<QWidget *>(menu);
    for (QAction *item : chat->menus()->optionsMenu->actions()) {
        if (!widget && item->menu() && item->menu()->objectName() == menu)
            widget = item->menu();
    }
    QVERIFY2(widget, qPrintable(menu));
    QCOMPARE(itemsOf(widget), items);
}

void TestApp::windowFloorKeepsTheBoardPanelInside_data()
{
    QTest::addColumn<QSize>("asked");
    QTest::newRow("too small both ways") << QSize(300, 200);
    QTest::newRow("too narrow") << QSize(500, 700);
    QTest::newRow("too low") << QSize(900, 300);
}

void TestApp::windowFloorKeepsTheBoardPanelInside()
{
    QFETCH(QSize, asked);
    auto chat = makeChat();
    chat->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.get()));
    chat->resize(asked);
    QTRY_VERIFY(chat->clientSize().width() >= 784 && chat->clientSize().height() >= 529);
    if (asked.width() >= 784)
        QCOMPARE(chat->width(), asked.width());
    const QRect panel(
        chat->boardPanel()->mapTo(chat->centralWidget(), QPoint(0, 0)), chat->boardPanel()->size());
    QVERIFY(chat->centralWidget()->rect().contains(panel));
}

void TestApp::firstRunShowsTheDefaults()
{
    auto chat = makeChat();
    MainMenus *menus = chat->menus();
    QCOMPARE(chat->pos(), QPoint(3, 3));
    QCOMPARE(chat->height(), 590);
    QVERIFY(menus->textSizes[0]->isChecked());
    QVERIFY(!menus->textSizes[1]->isChecked());
    QVERIFY(menus->Normal1->isChecked());
    QVERIFY(menus->Classic1->isChecked());
    QVERIFY(!menus->ClickLetters1->isChecked());
    QVERIFY(!menus->DisableTyping1->isChecked());
    QVERIFY(menus->PlaySounds1->isChecked());
    QVERIFY(menus->PlayChatterSounds1->isChecked());
    QVERIFY(!menus->autostart->isChecked());
    QCOMPARE(chat->settings().textColor, QColor(0, 0, 0));
    QCOMPARE(chat->settings().playToScore, 30);
    QCOMPARE(chat->settings().boardSize, 7);
    QCOMPARE(chat->settings().minLetters, 4);
    QCOMPARE(chat->settings().tiles, QString());
    QCOMPARE(chat->chatPanel()->textSize(), 8);
    QCOMPARE(chat->chatPanel()->chatColour(), QColor(0, 0, 0));
    QVERIFY(chat->sounds().playSounds());
    QVERIFY(chat->sounds().playChatterSounds());
    QCOMPARE(chat->sounds().turnSound(), GameSounds::Classic);
    QCOMPARE(chat->gamestart()->playToScore(), 30);
    QCOMPARE(chat->gamestart()->roundTime(), 45); // the stored "1" brought into the dialog's range
    QCOMPARE(chat->gamestart()->sizeCode(), 7);
    QCOMPARE(chat->gamestart()->minLetters(), 4);
    QCOMPARE(chat->pauseBetweenRounds(), 10);
    QVERIFY(!chat->autoStartNextGame());
    QCOMPARE(chat->phraseBar()->phrases().phrase(1), QStringLiteral("Way To Go!"));
    QCOMPARE(chat->phraseBar()->button(9)->toolTip(), QStringLiteral("Good Game Everyone!"));
    QVERIFY(!QFile::exists(iniPath_)); // reading writes nothing
}

void TestApp::storedSettingsDriveTheControls()
{
    writeAll(iniPath_,
        "[Wendlewick]\nLeft=40\nTop=30\nWidth=820\nHeight=600\nTextsize=9\nTimebetweenrounds=60\n"
        "Clickletters=0\nDisabletyping=0\nTurnsound=1\nPlaysounds=false\nChatterSounds=false\n"
        "Phrase3=/me dances\nTextcolor=clRed\nPlaytoscore=700\nTimeperturn=90\nBoardsize=9\nMinletters=5\n");
    auto chat = makeChat();
    MainMenus *menus = chat->menus();
    QCOMPARE(chat->pos(), QPoint(40, 30));
    QCOMPARE(chat->size(), QSize(820, 600));
    for (QAction *size : menus->textSizes)
        QVERIFY(!size->isChecked());
    QVERIFY(menus->ExtraLong1->isChecked());
    for (QAction *other : {menus->long_, menus->Normal1, menus->quick})
        QVERIFY(!other->isChecked());
    QCOMPARE(menus->timeBetweenRoundsMenu->property("tag").toInt(), 60);
    QVERIFY(menus->ClickLetters1->isChecked());
    QCOMPARE(menus->ClickLetters1->property("tag").toInt(), 0);
    QVERIFY(menus->DisableTyping1->isChecked());
    QVERIFY(chat->playArea()->label_typingoff->isHidden());
    QVERIFY(menus->New1->isChecked());
    QVERIFY(!menus->PlaySounds1->isChecked());
    QVERIFY(!menus->PlayChatterSounds1->isChecked());
    QCOMPARE(chat->phraseBar()->phrases().phrase(3), QStringLiteral("/me dances"));
    QCOMPARE(chat->phraseBar()->phrases().phrase(2), QStringLiteral("Good One!"));
    auto *input = chat->findChild<QLineEdit *>(QStringLiteral("mychat"));
    QCOMPARE(input->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(chat->chatPanel()->textSize(), 9);
    QCOMPARE(chat->chatPanel()->chatColour(), QColor(255, 0, 0));
    QVERIFY(!chat->sounds().playSounds());
    QVERIFY(!chat->sounds().playChatterSounds());
    QCOMPARE(chat->sounds().turnSound(), GameSounds::New);
    QCOMPARE(chat->phraseBar()->button(3)->toolTip(), QStringLiteral("/me dances"));
    QCOMPARE(chat->gamestart()->playToScore(), 700);
    QCOMPARE(chat->gamestart()->roundTime(), 90);
    QCOMPARE(chat->gamestart()->sizeCode(), 9);
    QCOMPARE(chat->gamestart()->minLetters(), 5);
    QCOMPARE(chat->pauseBetweenRounds(), 60);
}

void TestApp::everyKeyRoundTripsThroughItsControl()
{
    const QByteArray section = "[Wendlewick]\nWordslisttop=120\nWordslistleft=130\nTextsize=14\nTop=20\n"
                               "Left=25\nWidth=800\nHeight=620\nTextcolor=$00563412\nPlaytoscore=500\n"
                               "Timeperturn=120\nBoardsize=10\nMinletters=6\nTimebetweenrounds=5\n"
                               "Turnsound=1\nClickletters=0\nDisabletyping=0\nPhrase1=/me waves\n"
                               "Phrase9=Bye!\nPlaysounds=false\nChatterSounds=false\nTiles=wood\n";
    writeAll(iniPath_, section);
    {
        auto chat = makeChat();
        // Every key but the phrases is written again from the controls.
        chat->saveinifile();
    }
    for (const QByteArray &line : section.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        QCOMPARE(storedValue(iniPath_, line.left(equals)), line.mid(equals + 1));
    }
}

void TestApp::menuChoicesAreSavedAtOnce()
{
    auto chat = makeChat();
    MainMenus *menus = chat->menus();
    menus->textSizes[3]->trigger();
    QCOMPARE(storedValue(iniPath_, "Textsize"), QByteArray("14"));
    QVERIFY(menus->textSizes[3]->isChecked());
    QVERIFY(!menus->textSizes[0]->isChecked());

    menus->ExtraLong1->trigger();
    menus->long_->trigger();
    QVERIFY(menus->long_->isChecked());
    QVERIFY(!menus->ExtraLong1->isChecked());
    QCOMPARE(storedValue(iniPath_, "Timebetweenrounds"), QByteArray("15"));

    menus->New1->trigger();
    QCOMPARE(storedValue(iniPath_, "Turnsound"), QByteArray("1"));
    menus->ClickLetters1->trigger();
    QCOMPARE(storedValue(iniPath_, "Clickletters"), QByteArray("0"));
    menus->DisableTyping1->trigger();
    QCOMPARE(storedValue(iniPath_, "Disabletyping"), QByteArray("0"));
    QVERIFY(chat->playArea()->label_typingoff->isHidden());
    menus->PlaySounds1->trigger();
    QCOMPARE(storedValue(iniPath_, "Playsounds"), QByteArray("false"));
    menus->PlayChatterSounds1->trigger();
    QCOMPARE(storedValue(iniPath_, "ChatterSounds"), QByteArray("false"));
    menus->autostart->trigger();
    QCOMPARE(storedValue(iniPath_, "autostart"), QByteArray("<absent>"));
    QVERIFY(chat->state().autoStartNextGame);
}

void TestApp::closingRightAfterStartKeepsEveryStoredSetting()
{
    const QByteArray lobby = "[Lobby]\nTop=700\n";
    writeAll(iniPath_,
        lobby
            + "[Wendlewick]\nTextsize=12\nLeft=20\nTop=25\nTextcolor=$00563412\nTiles=wood\n"
              "Phrase1=Hi!\nPlaytoscore=700\nMinletters=5\n");
    auto chat = makeChat();
    chat->close();
    QVERIFY(readAll(iniPath_).startsWith(lobby));
    QCOMPARE(storedValue(iniPath_, "Textsize"), QByteArray("12"));
    QCOMPARE(storedValue(iniPath_, "Left"), QByteArray("20"));
    QCOMPARE(storedValue(iniPath_, "Textcolor"), QByteArray("$00563412"));
    QCOMPARE(storedValue(iniPath_, "Tiles"), QByteArray("wood"));
    QCOMPARE(storedValue(iniPath_, "Phrase1"), QByteArray("Hi!"));
    QCOMPARE(storedValue(iniPath_, "Playtoscore"), QByteArray("700"));
    QCOMPARE(storedValue(iniPath_, "Minletters"), QByteArray("5"));
}

void TestApp::closingSavesTheWindowsPlace()
{
    auto chat = makeChat();
    chat->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.get()));
    chat->move(50, 60);
    chat->resize(790, 560);
    QTRY_COMPARE(chat->size(), QSize(790, 560));
    QSignalSpy closed(chat.get(), &Tchat::closed);
    chat->close();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(storedValue(iniPath_, "Left"), QByteArray("50"));
    QCOMPARE(storedValue(iniPath_, "Top"), QByteArray("60"));
    QCOMPARE(storedValue(iniPath_, "Width"), QByteArray("790"));
    QCOMPARE(storedValue(iniPath_, "Height"), QByteArray("560"));
    QCOMPARE(storedValue(iniPath_, "Wordslisttop"), QByteArray("98"));
    QCOMPARE(storedValue(iniPath_, "Wordslistleft"), QByteArray("42"));
}

void TestApp::closingAMovedWindowWiderThanTheWorkAreaShrinksItOneStep()
{
    auto chat = makeChat();
    QWidget wordsList;
    wordsList.resize(300, 200);
    chat->setWordsListWindow(&wordsList);
    chat->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.get()));
    const QRect work = chat->screen()->availableGeometry();
    const QSize big(work.width() + 100, work.height() + 100);
    chat->resize(big);
    QTRY_COMPARE(chat->size(), big);
    wordsList.move(work.right() + 50, work.bottom() + 60);

    chat->close();
    QCOMPARE(storedValue(iniPath_, "Width"), QByteArray::number(big.width() - 15));
    QCOMPARE(storedValue(iniPath_, "Height"), QByteArray::number(big.height() - 15));
    const QRect list = wordsList.frameGeometry();
    QCOMPARE(list.x() + list.width(), work.x() + work.width());
    QCOMPARE(list.y() + list.height(), work.y() + work.height());
    QCOMPARE(storedValue(iniPath_, "Wordslistleft"), QByteArray::number(wordsList.x()));
    QCOMPARE(storedValue(iniPath_, "Wordslisttop"), QByteArray::number(wordsList.y()));
}

void TestApp::closingAnUnmovedWindowStoresItAsItWasRead()
{
    writeAll(iniPath_, "[Wendlewick]\nLeft=0\nTop=0\nWidth=3000\nHeight=2000\n");
    auto chat = makeChat();
    QCOMPARE(chat->size(), QSize(3000, 2000));
    chat->close();
    QCOMPARE(storedValue(iniPath_, "Width"), QByteArray("3000"));
    QCOMPARE(storedValue(iniPath_, "Height"), QByteArray("2000"));
}

void TestApp::resetScreenLocationPutsBothWindowsBack()
{
    auto chat = makeChat();
    QWidget wordsList;
    chat->setWordsListWindow(&wordsList);
    QCOMPARE(wordsList.pos(), QPoint(42, 98));
    chat->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.get()));
    chat->move(200, 100);
    chat->resize(900, 700);
    wordsList.move(500, 400);

    chat->menus()->ResetScreenLocation1->trigger();
    QCOMPARE(chat->pos(), QPoint(3, 3));
    QTRY_COMPARE(chat->size(), QSize(784, 590)); // 775 wide, widened by the floor
    QCOMPARE(wordsList.pos(), QPoint(52, 108));
    QVERIFY(!QFile::exists(iniPath_)); // stored at the next save
    chat->close();
    QCOMPARE(storedValue(iniPath_, "Wordslistleft"), QByteArray("52"));
    QCOMPARE(storedValue(iniPath_, "Wordslisttop"), QByteArray("108"));
}

void TestApp::windowsStoredOffEveryScreenOpenAtTheDefaultPlace_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QPoint>("window");
    QTest::addColumn<QPoint>("wordsList");
    QTest::newRow("both on the screen") << QByteArray("Left=20\nTop=25\nWordslistleft=130\nWordslisttop=120")
                                        << QPoint(20, 25) << QPoint(130, 120);
    QTest::newRow("both far right and below")
        << QByteArray("Left=9000\nTop=25\nWordslistleft=9000\nWordslisttop=7000") << QPoint(3, 3)
        << QPoint(42, 98);
    QTest::newRow("words list left of the screen")
        << QByteArray("Left=20\nTop=25\nWordslistleft=-5000\nWordslisttop=120") << QPoint(20, 25)
        << QPoint(42, 98);
}

void TestApp::windowsStoredOffEveryScreenOpenAtTheDefaultPlace()
{
    QFETCH(QByteArray, stored);
    QFETCH(QPoint, window);
    QFETCH(QPoint, wordsList);
    QVERIFY(!QGuiApplication::screens().isEmpty());
    writeAll(iniPath_, "[Wendlewick]\n" + stored + "\n");
    auto chat = makeChat();
    QCOMPARE(chat->pos(), window);
    QCOMPARE(chat->wordsList()->pos(), wordsList);
    chat->close();
    QCOMPARE(storedValue(iniPath_, "Wordslistleft"), QByteArray::number(wordsList.x()));
    QCOMPARE(storedValue(iniPath_, "Wordslisttop"), QByteArray::number(wordsList.y()));
}

void TestApp::phraseEditorPhrasesGoOnTheButtonsAndIntoTheirKeysOnly()
{
    auto chat = makeChat();
    QStringList phrases(SettingsValues::builtinPhrases.begin(), SettingsValues::builtinPhrases.end());
    phrases[0] = QStringLiteral("/me cheers");
    phrases[4] = QString();
    chat->setPhrases(phrases);
    QCOMPARE(chat->phraseBar()->phrases().phrase(1), QStringLiteral("/me cheers"));
    QCOMPARE(chat->phraseBar()->button(1)->toolTip(), QStringLiteral("/me cheers"));
    QCOMPARE(chat->phraseBar()->phrases().phrase(5), QString());
    QCOMPARE(storedValue(iniPath_, "Phrase1"), QByteArray("/me cheers"));
    QCOMPARE(storedValue(iniPath_, "Phrase5"), QByteArray());
    QCOMPARE(storedValue(iniPath_, "Phrase9"), QByteArray("Good Game Everyone!"));
    QCOMPARE(storedValue(iniPath_, "Textsize"), QByteArray("<absent>"));
}

void TestApp::exitClosesTheWindow()
{
    auto chat = makeChat();
    chat->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.get()));
    QSignalSpy closed(chat.get(), &Tchat::closed);
    chat->menus()->Exit1->trigger();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!chat->isVisible());
    QVERIFY(QFile::exists(iniPath_));
}

void TestApp::bothScrollChatOffItemsShareOneMark()
{
    auto chat = makeChat();
    ChatView *view = chat->chatPanel()->mainchat();
    chat->menus()->ScrollChatOff2->trigger();
    QVERIFY(view->scrollChatOffAction()->isChecked());
    QVERIFY(view->scrollChatOff());
    view->scrollChatOffAction()->trigger();
    QVERIFY(!chat->menus()->ScrollChatOff2->isChecked());
    QVERIFY(!view->scrollChatOff());
}

void TestApp::justWatchMarkFollowsTheHostNotTheClick()
{
    auto chat = makeChat();
    chat->menus()->JustWatch1->trigger();
    QVERIFY(!chat->menus()->JustWatch1->isChecked());
    chat->dispatch()->processsocktimer("CMD_sendlogininfo+1");
    chat->dispatch()->processsocktimer("CMD_justwatching+1+1");
    QVERIFY(chat->menus()->JustWatch1->isChecked());
    chat->menus()->JustWatch1->trigger();
    QVERIFY(chat->menus()->JustWatch1->isChecked());
}

void TestApp::rosterMenuOffersItsItemsToTheHostOnly_data()
{
    QTest::addColumn<bool>("host");
    QTest::addColumn<bool>("occupied");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<bool>("watchItems");
    QTest::newRow("host, empty slot") << true << false << false << true;
    QTest::newRow("host, a player") << true << true << true << true;
    QTest::newRow("joiner, a player") << false << true << false << false;
    QTest::newRow("joiner, empty slot") << false << false << false << false;
}

void TestApp::rosterMenuOffersItsItemsToTheHostOnly()
{
    QFETCH(bool, host);
    QFETCH(bool, occupied);
    QFETCH(bool, removable);
    QFETCH(bool, watchItems);
    auto chat = makeChat();
    chat->session()->takeRole(host);
    if (occupied)
        chat->roster()->setName(4, QStringLiteral("Ann"));
    RosterView *view = chat->rosterView();
    view->label_playername1ContextPopup(4);
    QCOMPARE(view->RemoveFromGame1->isEnabled(), removable);
    QCOMPARE(view->SettoJustWatch1->isEnabled(), watchItems);
    QCOMPARE(view->UnsetJustWatch1->isEnabled(), watchItems);
    QCOMPARE(view->popup_kick->property("tag").toInt(), 4);

    QSignalSpy kick(view, &RosterView::removeFromGameRequested);
    view->RemoveFromGame1->trigger();
    if (removable) {
        QCOMPARE(kick.count(), 1);
        QCOMPARE(kick.at(0).at(0).toInt(), 4);
    }
}

void TestApp::rosterShowsTheModel()
{
    auto chat = makeChat();
    RosterModel *roster = chat->roster();
    RosterView *view = chat->rosterView();
    roster->setName(2, QStringLiteral("Bob"));
    roster->setScore(2, QStringLiteral("17"));
    roster->setBonus(2, QStringLiteral("+5"), 3);
    roster->setWatching(2, true);
    QCOMPARE(view->name(2)->text(), QStringLiteral("Bob"));
    QCOMPARE(view->score(2)->text(), QStringLiteral("17"));
    QCOMPARE(view->bonus(2)->text(), QStringLiteral("+5"));
    QVERIFY(!view->eyes(2)->isHidden());

    const QString longName = QStringLiteral("Bartholomew the Magnificent");
    roster->setName(3, longName);
    QVERIFY(view->name(3)->text() != longName); // shortened to fit its row...
    QCOMPARE(view->name(3)->toolTip(), longName); // ...and shown whole on hover
    QCOMPARE(roster->row(3).name, longName);

    roster->setName(0, QStringLiteral("nobody"));
    roster->setName(11, QStringLiteral("nobody"));
    QCOMPARE(view->name(11), nullptr);
    roster->clearScores();
    QCOMPARE(view->score(2)->text(), QStringLiteral("0"));
    QCOMPARE(view->bonus(2)->text(), QString());
}

void TestApp::aRealWidgetTakesThePlaceOfItsPlaceholder()
{
    auto chat = makeChat();
    QFrame *panel = chat->boardPanel();
    auto *placeholder = panel->findChild<QWidget *>(QStringLiteral("richedit_words"));
    const QRect place(placeholder->mapTo(panel, QPoint(0, 0)), placeholder->size());
    auto *real = new QTextEdit;
    QVERIFY(chat->replaceControl(QStringLiteral("richedit_words"), real));
    QCOMPARE(panel->findChildren<QWidget *>(QStringLiteral("richedit_words")), QList<QWidget *> {real});
    QCOMPARE(QRect(real->mapTo(panel, QPoint(0, 0)), real->size()), place);

    auto *board = new QWidget;
    QVERIFY(chat->replaceControl(QStringLiteral("paintbox_board"), board));
    QCOMPARE(board->parentWidget(), chat->playArea()->panel_boardback);
    QCOMPARE(board->size(), QSize(420, 420));
    QVERIFY(!chat->replaceControl(QStringLiteral("no_such_control"), new QWidget(chat.get())));
}

void TestApp::anotherCopyRestoresAMinimisedWindow()
{
    InstanceGuard guard(InstanceGuard::defaultName, dir_->path());
    QVERIFY(guard.tryToRun());
    auto chat = makeChat();
    connect(&guard, &InstanceGuard::raiseRequested, chat.get(), &Tchat::bringForward);
    chat->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.get()));
    chat->showMinimized();
    QTRY_VERIFY(chat->isMinimized());

    InstanceGuard secondCopy(InstanceGuard::defaultName, dir_->path());
    QVERIFY(!secondCopy.tryToRun());
    QTRY_VERIFY(!chat->isMinimized());
    QVERIFY(chat->isVisible());
}

void TestApp::aChosenTextColourColoursTheInputAndIsSaved()
{
    auto chat = makeChat();
    chat->show();
    chat->menus()->TextColor1->trigger();
    auto *dialog = chat->findChild<QColorDialog *>(QStringLiteral("ColorDialog"));
    QVERIFY(dialog);
    QCOMPARE(dialog->currentColor(), QColor(0, 0, 0));
    dialog->setCurrentColor(QColor(0, 0, 128));
    dialog->accept();
    QCOMPARE(storedValue(iniPath_, "Textcolor"), QByteArray("clNavy"));
    auto *input = chat->findChild<QLineEdit *>(QStringLiteral("mychat"));
    QCOMPARE(input->palette().color(QPalette::Text), QColor(0, 0, 128));
}

void TestApp::theRunningGameMarkerLivesWithTheWindow()
{
    const QString path = dir_->filePath(QStringLiteral("wendlewick.lock"));
    {
        auto chat = makeChat();
        QVERIFY(chat->marker().isHeld());
        QVERIFY(QFile::exists(path));
    }
    QVERIFY(!QFile::exists(path));
}

void TestApp::menusOpenTheirSideWindows_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");
    QTest::newRow("Content") << "Help2"
                             << "help";
    QTest::newRow("About") << "About1"
                           << "about";
    QTest::newRow("Solo") << "CheckoutWendlewickSolo1"
                          << "solo";
    QTest::newRow("Spy List") << "SpyList1"
                              << "spylist";
    QTest::newRow("View Tally") << "ViewTally1"
                                << "tallylist";
    QTest::newRow("Phrase List") << "PrhaseList1"
                                 << "phrases";
}

void TestApp::menusOpenTheirSideWindows()
{
    QFETCH(QString, item);
    QFETCH(QString, window);
    auto chat = makeChat();
    chat->show();
    auto *side = chat->findChild<QWidget *>(window);
    QVERIFY2(side, qPrintable(window));
    QVERIFY(side->isWindow());
    QVERIFY(!side->isVisible());
    chat->findChild<QAction *>(item)->trigger();
    QVERIFY(side->isVisible());
    // Closing only hides a side window.
    side->close();
    QCOMPARE(chat->findChild<QWidget *>(window), side);
}

void TestApp::helpsAboutButtonAndTheLogoLeadOn()
{
    auto chat = makeChat();
    chat->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.get()));
    Q_EMIT chat->help()->aboutRequested();
    QVERIFY(chat->about()->isVisible());
    QTest::mouseClick(chat->playArea()->image_logo, Qt::LeftButton);
    QCOMPARE(shell_.urls, QList<QUrl> {WebLinks::homePage()});
    QCOMPARE(chat->about()->versionText(), QStringLiteral("1.0.7"));
}

void TestApp::theDownloadWindowsExitClosesTheProgram()
{
    auto chat = makeChat();
    chat->show();
    QSignalSpy closed(chat.get(), &Tchat::closed);
    Q_EMIT chat->download()->exitRequested();
    QCOMPARE(closed.count(), 1);
}

void TestApp::phraseEditorStartsWithTheButtonsPhrasesAndDoneSavesThem()
{
    writeAll(iniPath_, "[Wendlewick]\nPhrase2=Nice!\n");
    auto chat = makeChat();
    chat->menus()->PrhaseList1->trigger();
    QStringList phrases = chat->phraseEditor()->phrases();
    QCOMPARE(phrases.at(0), QStringLiteral("Way To Go!"));
    QCOMPARE(phrases.at(1), QStringLiteral("Nice!"));
    phrases[8] = QStringLiteral("/me bows");
    chat->phraseEditor()->setPhrases(phrases);
    chat->phraseEditor()->button_doneClick();
    QCOMPARE(chat->phraseBar()->phrases().phrase(9), QStringLiteral("/me bows"));
    QCOMPARE(storedValue(iniPath_, "Phrase9"), QByteArray("/me bows"));
    QCOMPARE(storedValue(iniPath_, "Phrase2"), QByteArray("Nice!"));
}

void TestApp::viewTallyListsTheOtherPlayersOfTheRoster()
{
    auto chat = makeChat();
    chat->dispatch()->processsocktimer("CMD_sendlogininfo+1");
    chat->roster()->setName(1, QStringLiteral("Ann"));
    chat->roster()->setName(3, QStringLiteral("Bob"));
    chat->menus()->ViewTally1->trigger();
    QVERIFY(chat->tallylist()->isVisible());
    const QList<TallyList::Player> players = chat->tallylist()->tally()->currentPlayers();
    QCOMPARE(players.size(), 1);
    QCOMPARE(players.at(0).name, QStringLiteral("Bob"));
}

void TestApp::aDamagedTallyFileIsReportedInTheChat()
{
    writeAll(dir_->filePath(QStringLiteral("Wendlewicktally.tld")), "not a tally at all");
    auto chat = makeChat();
    const QString shown = chat->chatPanel()->mainchat()->toPlainText();
    QVERIFY2(shown.contains(QStringLiteral("tally"), Qt::CaseInsensitive), qPrintable(shown));
}

void TestApp::startGameWithoutAConnectionSaysSo()
{
    auto chat = makeChat();
    chat->show();
    chat->button_startClick();
    auto *box = chat->findChild<QMessageBox *>(QStringLiteral("notConnectedBox"));
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("You are not connected"));
    QVERIFY(!chat->gamestart()->isVisible());
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
