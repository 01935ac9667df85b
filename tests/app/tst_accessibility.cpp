// The game as a screen reader and a keyboard alone meet it: every control of every
// window has a name, a whole round is played without the mouse, and what happens in
// the game is announced on the line assistive technology follows.
#include "accessiblewalk.h"
#include "announcementline.h"
#include "announcer.h"
#include "boardcursor.h"
#include "boardmodel.h"
#include "boardpaintbox.h"
#include "boardpanel.h"
#include "chatinput.h"
#include "chatpanel.h"
#include "chatview.h"
#include "clientdispatch.h"
#include "fakeshell.h"
#include "gamesession.h"
#include "gamesummaryview.h"
#include "mainmenus.h"
#include "playarea.h"
#include "protocolclient.h"
#include "recordingsoundplayer.h"
#include "recordingspeaker.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "roundreviewview.h"
#include "scriptedhost.h"
#include "tabout.h"
#include "tchat.h"
#include "tdownload.h"
#include "tgamestart.h"
#include "thelp.h"
#include "tphrases.h"
#include "tsolo.h"
#include "tspylist.h"
#include "ttallylist.h"
#include "twordslist.h"
#include "windowsetup.h"
#include "wire.h"
#include "wordentry.h"
#include "wordspanel.h"
#include "wordsview.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// The board of these tests, as the host deals it into rows 3 to 6, columns 3 to 6.
const QByteArray boardRows = "catsdogelimbunky";

QByteArray testBoard()
{
    Wire::BoardCells cells {};
    for (auto &row : cells)
        row.fill(29);
    for (int k = 0; k < 16; ++k)
        cells[std::size_t(3 + k / 4)][std::size_t(3 + k % 4)] = boardRows.at(k) - 'a' + 1;
    return Wire::ToPlayer::loadboard(cells).chopped(1);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void everyControlOfEveryWindowHasAName_data();
    void everyControlOfEveryWindowHasAName();
    void theTabOrderFollowsTheReadingOrder();
    void eachSeatOfTheRosterIsDescribed_data();
    void eachSeatOfTheRosterIsDescribed();
    void aWholeRoundIsPlayedAndHeardWithoutTheMouse();
    void theTextSizeAlsoEnlargesRosterWordsAndClock_data();
    void theTextSizeAlsoEnlargesRosterWordsAndClock();

private:
    std::unique_ptr<Tchat> makeChat(const QStringList &arguments, quint16 port = 0);

    FakeShell shell_;
    RecordingSoundPlayer sounds_;
    RecordingSpeaker speaker_;
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestAccessibility::initTestCase()
{
    static QTemporaryDir data;
    QVERIFY(data.isValid());
    qputenv("WENDLEWICK_DATA_DIR", data.path().toLocal8Bit());
}

void TestAccessibility::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestAccessibility::cleanup()
{
    dir_.reset();
}

std::unique_ptr<Tchat> TestAccessibility::makeChat(const QStringList &arguments, quint16 port)
{
    Tchat::Setup setup = windowSetup(dir_->path());
    setup.arguments = arguments;
    setup.gamePort = port;
    setup.listenAddress = QHostAddress::LocalHost;
    setup.companionPort = 1;
    setup.soundPlayer = &sounds_;
    setup.speaker = &speaker_;
    setup.shell = &shell_;
    setup.secondLength = 3600 * 1000;
    auto chat = std::make_unique<Tchat>(setup);
    chat->show();
    return chat;
}

using Stage = std::function<QWidget *(Tchat &)>;

void TestAccessibility::everyControlOfEveryWindowHasAName_data()
{
    QTest::addColumn<Stage>("stage");
    QTest::newRow("main window at start") << Stage([](Tchat &chat) -> QWidget * { return &chat; });
    QTest::newRow("main window in a round") << Stage([](Tchat &chat) -> QWidget * {
        for (const QByteArray &message :
            {QByteArray("CMD_sendlogininfo+1"), QByteArray("CMD_newplayerinfo+1+Ann+0+2+Bob+1+"),
                QByteArray("CMD_startgame+Ann+30+60+4+3+0+"), testBoard(), QByteArray("CMD_nextplayer+1+")})
            chat.dispatch()->processsocktimer(message);
        chat.wordEntry()->typetheletter(3);
        return &chat;
    });
    QTest::newRow("main window, game won") << Stage([](Tchat &chat) -> QWidget * {
        chat.dispatch()->processsocktimer("CMD_winner+Bob+");
        return &chat;
    });
    QTest::newRow("just watching, Space on the board") << Stage([](Tchat &chat) -> QWidget * {
        for (const QByteArray &message :
            {QByteArray("CMD_sendlogininfo+1"), QByteArray("CMD_newplayerinfo+1+Ann+0+2+Bob+1+"),
                QByteArray("CMD_startgame+Ann+30+60+4+3+0+"), testBoard(), QByteArray("CMD_justwatching+1+1"),
                QByteArray("CMD_nextplayer+1+")})
            chat.dispatch()->processsocktimer(message);
        QWidget *board = chat.boardView()->paintbox();
        board->setFocus(Qt::TabFocusReason);
        QTest::keyClick(board, Qt::Key_Down);
        QTest::keyClick(board, Qt::Key_Space);
        return chat.findChild<QMessageBox *>(QStringLiteral("justWatchingBox"));
    });
    const auto side = [](QWidget *(*pick)(Tchat &)) {
        return Stage([pick](Tchat &chat) {
            QWidget *window = pick(chat);
            window->show();
            return window;
        });
    };
    QTest::newRow("about") << side([](Tchat &c) -> QWidget * { return c.about(); });
    QTest::newRow("spy list") << side([](Tchat &c) -> QWidget * { return c.spylist(); });
    QTest::newRow("game options") << side([](Tchat &c) -> QWidget * { return c.gamestart(); });
    QTest::newRow("help") << side([](Tchat &c) -> QWidget * { return c.help(); });
    QTest::newRow("phrase editor") << side([](Tchat &c) -> QWidget * { return c.phraseEditor(); });
    QTest::newRow("download") << side([](Tchat &c) -> QWidget * { return c.download(); });
    QTest::newRow("tally") << side([](Tchat &c) -> QWidget * { return c.tallylist(); });
    QTest::newRow("solo") << side([](Tchat &c) -> QWidget * { return c.findChild<Tsolo *>(); });
    QTest::newRow("words list") << Stage([](Tchat &chat) -> QWidget * {
        chat.dispatch()->processsocktimer(testBoard());
        chat.wordsList()->thewords("CAT+DOG+");
        return chat.wordsList();
    });
    QTest::newRow("words list, nothing found") << Stage([](Tchat &chat) -> QWidget * {
        chat.wordsList()->thewords("No Words");
        return chat.wordsList();
    });
    QTest::newRow("words list, every word") << Stage([](Tchat &chat) -> QWidget * {
        chat.dispatch()->processsocktimer(testBoard());
        chat.wordsList()->thewords("CAT+DOG+");
        chat.wordsList()->showLastRound();
        const bool ready
            = QTest::qWaitFor([&] { return chat.wordsList()->reviewView()->topLevelItemCount() > 0; });
        return ready ? chat.wordsList() : nullptr;
    });
    QTest::newRow("words list, this game, no best word") << Stage([](Tchat &chat) -> QWidget * {
        chat.dispatch()->processsocktimer(testBoard());
        chat.wordsList()->thewords("No Words");
        chat.wordsList()->gameOver();
        const bool ready
            = QTest::qWaitFor([&] { return chat.wordsList()->summaryView()->topLevelItemCount() > 0; });
        return ready ? chat.wordsList() : nullptr;
    });
}

void TestAccessibility::everyControlOfEveryWindowHasAName()
{
    QFETCH(Stage, stage);
    // Two arguments take no role: nothing connects.
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")});
    QVERIFY(QTest::qWaitForWindowExposed(chat.get()));
    QWidget *window = stage(*chat);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const AccessibleWalk::Result found = AccessibleWalk::walk(window);
    QVERIFY(found.controls > 0);
    QVERIFY2(found.unnamed.isEmpty(), qPrintable(found.unnamed.join(QLatin1Char('\n'))));
    QVERIFY2(found.unreachable.isEmpty(), qPrintable(found.unreachable.join(QLatin1Char('\n'))));
}

void TestAccessibility::theTabOrderFollowsTheReadingOrder()
{
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")});
    chat->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(chat.get()));
    // No focus frame greets a player who does not use the keyboard.
    QCOMPARE(QApplication::focusWidget(), chat->chatPanel()->mainchat());
    QStringList order;
    QWidget *w = chat->playArea()->button_rotate;
    do {
        if (w->focusPolicy() & Qt::TabFocus && w->window() == chat.get())
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != chat->playArea()->button_rotate);
    QStringList expected {"button_rotate", "button_clear", "button_start", "button_send", "paintbox_board"};
    for (int k = 1; k <= 10; ++k)
        expected << QStringLiteral("label_playername%1").arg(k);
    for (int k = 1; k <= 10; ++k)
        expected << QStringLiteral("b_phrase%1").arg(k);
    expected << "mainchat"
             << "mychat"
             << "button_smilies";
    QCOMPARE(order.mid(0, expected.size()), expected);
}

void TestAccessibility::eachSeatOfTheRosterIsDescribed_data()
{
    QTest::addColumn<QByteArrayList>("news");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("description");
    QTest::newRow("a player") << QByteArrayList() << 1 << "Slot 1, score 0";
    QTest::newRow("a watcher") << QByteArrayList() << 2 << "Slot 2, score 0, just watching";
    QTest::newRow("away") << QByteArrayList {"CMD_playeraway+2+"} << 2
                          << "Slot 2, score 0, just watching, away";
    QTest::newRow("back") << QByteArrayList {"CMD_playeraway+2+", "CMD_playerback+2+"} << 2
                          << "Slot 2, score 0, just watching";
}

void TestAccessibility::eachSeatOfTheRosterIsDescribed()
{
    QFETCH(QByteArrayList, news);
    QFETCH(int, slot);
    QFETCH(QString, description);
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")});
    news.prepend("CMD_newplayerinfo+1+Ann+0+2+Bob+1+");
    news.prepend("CMD_sendlogininfo+1");
    for (const QByteArray &message : news)
        chat->dispatch()->processsocktimer(message);
    QCOMPARE(
        QAccessible::queryAccessibleInterface(chat->rosterView()->name(slot))->text(QAccessible::Description),
        description);
}

// Joins a scripted host as slot 1 and plays one round with keys alone: the arrows walk
// the board, Space takes a tile, Return sends; every event of the round is told on
// the announcement line, and spoken once the player asks for speech.
void TestAccessibility::aWholeRoundIsPlayedAndHeardWithoutTheMouse()
{
    ScriptedHost host;
    QVERIFY(host.start());
    auto chat = makeChat(
        {QStringLiteral("Dee"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, host.serverPort());
    QVERIFY(host.waitForPlayer());
    ProtocolClient &player = host.player();
    player.send("CMD_sendlogininfo+1");
    QVERIFY(!player.waitFor("CMD_logininfo").isEmpty());
    player.send("CMD_newplayerinfo+1+Dee+0+");
    player.send("CMD_startgame+Dee+30+60+4+3+0+");
    player.send(testBoard());
    player.send("CMD_nextplayer+1+");
    QVERIFY(QTest::qWaitFor([&] { return chat->wordEntry()->entryOpen(); }));
    chat->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(chat.get()));
    QLabel *news = chat->announcementLine();
    QTRY_COMPARE(news->text(), QStringLiteral("Round starts, 1:00 to play. Type or walk the board."));

    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : chat.get(), key, modifiers);
    };
    // The first arrow shows the cursor on the top-left tile, C; A and T lie below it.
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space,
             Qt::Key_Return})
        press(key);
    QCOMPARE(player.waitFor("CMD_playerdone"), QByteArray("CMD_playerdone+1+1+3+3+2+3+4+3+3+5"));
    QVERIFY(chat->boardView()->paintbox()->hasFocus());

    const std::pair<QByteArray, QString> told[] {
        {Wire::ToPlayer::goodword(1, 3, "CAT", 3, 1).chopped(1), "CAT, 3 points, first"},
        {"CMD_notvalid+1+1+TAC+", "TAC refused: Invalid Word."},
        {"CMD_chat+1+Dee chats: well :)#12 done|clNavy", "Dee chats: well done"},
        {"CMD_timeup+1+3+3+", "Round over."},
        {"CMD_winner+Dee+", "You have Won the Game!"},
    };
    for (const auto &[message, sentence] : told) {
        player.send(message);
        QTRY_COMPARE(news->text(), sentence);
    }
    QVERIFY(speaker_.said.isEmpty());

    // Between rounds every key reaches the window: speech on, the menus by F10, and
    // the roster's menu from its name.
    press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(chat->announcementLine()->speakAction()->isChecked());
    player.send("CMD_chat+1+Dee chats: gg|clNavy");
    QTRY_COMPARE(speaker_.said, QStringList {"Dee chats: gg"});
    QFile settings(dir_->filePath(QStringLiteral("orinlobby.ini")));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QVERIFY(settings.readAll().contains("Speakannouncements=true"));

    press(Qt::Key_F10);
    QTRY_VERIFY(chat->menus()->fileMenu->isVisible());
    QTest::keyClick(chat->menus()->fileMenu, Qt::Key_Escape);
    QTRY_VERIFY(!chat->menus()->fileMenu->isVisible());
    // Speech is also a menu choice, as every menu is reached from the keyboard.
    QVERIFY(chat->menus()->optionsMenu->actions().contains(chat->announcementLine()->speakAction()));

    QLabel *name = chat->rosterView()->name(1);
    name->setFocus(Qt::TabFocusReason);
    QCOMPARE(QAccessible::queryAccessibleInterface(name)->text(QAccessible::Description),
        QStringLiteral("Slot 1, score 3"));
    press(Qt::Key_Menu);
    QTRY_VERIFY(chat->rosterView()->popup_kick->isVisible());
    QCOMPARE(chat->rosterView()->popup_kick->property("tag").toInt(), 1);
    chat->rosterView()->popup_kick->close();
}

void TestAccessibility::theTextSizeAlsoEnlargesRosterWordsAndClock_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("name");
    QTest::addColumn<int>("words");
    QTest::addColumn<int>("clock");
    // The usual sizes leave the window as it always looked.
    QTest::newRow("8") << 8 << 13 << 13 << 16;
    QTest::newRow("10") << 10 << 13 << 13 << 16;
    QTest::newRow("12") << 12 << 16 << 16 << 19;
    QTest::newRow("14: the roster as large as its rows allow") << 14 << 16 << 18 << 22;
}

void TestAccessibility::theTextSizeAlsoEnlargesRosterWordsAndClock()
{
    QFETCH(int, size);
    QFETCH(int, name);
    QFETCH(int, words);
    QFETCH(int, clock);
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")});
    for (QAction *item : chat->chatPanel()->textSizeMenu()->actions()) {
        if (item->data().toInt() == size)
            item->trigger();
    }
    QCOMPARE(chat->chatPanel()->textSize(), size);
    QCOMPARE(chat->rosterView()->name(1)->font().pixelSize(), name);
    QCOMPARE(chat->rosterView()->score(10)->font().pixelSize(), name);
    QCOMPARE(chat->wordsPanel()->wordsView()->font().pixelSize(), words);
    QCOMPARE(chat->playArea()->label_timer->font().pixelSize(), clock);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
