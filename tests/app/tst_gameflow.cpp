// The round and game flow through the player's real window: the round clock, word
// entry by keys and by dragging, the options reaching the wire, and whole games
// against the host running inside the host player's window.
#include "boardmodel.h"
#include "boardpaintbox.h"
#include "boardpanel.h"
#include "chatinput.h"
#include "chatpanel.h"
#include "chatview.h"
#include "clientdispatch.h"
#include "definitionview.h"
#include "fakehostenvironment.h"
#include "fakeshell.h"
#include "gamesession.h"
#include "mainmenus.h"
#include "nextroundcountdown.h"
#include "playarea.h"
#include "protocolclient.h"
#include "recordingsoundplayer.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "roundreviewer.h"
#include "roundreviewview.h"
#include "scriptedhost.h"
#include "tallylist.h"
#include "tchat.h"
#include "tgamestart.h"
#include "thelp.h"
#include "tserver.h"
#include "ttallylist.h"
#include "twordslist.h"
#include "windowsetup.h"
#include "wire.h"
#include "wordentry.h"
#include "wordresults.h"
#include "wordspanel.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <memory>

namespace {

// The 4 by 4 board of these tests, as the host deals it into rows 3 to 6, columns 3 to 6.
const QByteArray boardRows = "catsdogelimbunky";

Wire::BoardCells testBoard()
{
    Wire::BoardCells cells {};
    for (auto &row : cells)
        row.fill(29);
    for (int k = 0; k < 16; ++k)
        cells[std::size_t(3 + k / 4)][std::size_t(3 + k % 4)] = boardRows.at(k) - 'a' + 1;
    return cells;
}

// The centre of a host cell on the unrotated board, in the paint box's pixels (the
// first index runs across).
QPoint centreOf(int row, int col)
{
    return {row * 42 + 21, col * 42 + 21};
}

QByteArray chopped(const QByteArray &message)
{
    return message.chopped(1);
}

bool hasLine(Tchat &chat, const QString &line)
{
    for (QTextBlock b = chat.chatPanel()->mainchat()->document()->begin(); b.isValid(); b = b.next()) {
        if (b.text().simplified() == line)
            return true;
    }
    return false;
}

} // namespace

class TestGameFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void clockShowsTimeAndBarForEachRoundLength_data();
    void clockShowsTimeAndBarForEachRoundLength();
    void clockTurnsRedBelowTwentyAndTicksAloud();
    void clockAtZeroClosesEntry();
    void theCountToTheNextRound_data();
    void theCountToTheNextRound();
    void betweenRoundsBothWindowsSayWhatComesNext();
    void bonusIsBlankedOnTheFourthTick();
    void gameStartShowsItsSettings();
    void aWatcherSeesTheStartersNameAndRecordsNothing();
    void eachGameCountsOnceInTheTally_data();
    void eachGameCountsOnceInTheTally();
    void namesFromOtherPlayersShowAsPlainText();
    void aLateJoinersClockBarStaysInItsFrame_data();
    void aLateJoinersClockBarStaysInItsFrame();
    void aNewGameTakesTheEyesOffEveryWatcher();

    void typedKeysBuildTheWordAndTheChatKeepsTheRest();
    void dragModeSendsAtRelease();
    void clickModeSendsOnlyWithSend();
    void optionsDialogCodesReachTheWire_data();
    void optionsDialogCodesReachTheWire();
    void hostVerdictsColourTheWordsPanel();

    void oneWholeGameThroughTwoWindows();

private:
    std::unique_ptr<Tchat> makeChat(const QStringList &arguments, quint16 port, QTemporaryDir &dir,
        RecordingSoundPlayer &sounds, UniformDraw draw = {}, int secondLength = 3600 * 1000);
    // A window that joined a scripted host as slot 1 and whose round has begun on the
    // test board (60 seconds, 3 letters minimum).
    std::unique_ptr<Tchat> roundAgainstScriptedHost(ScriptedHost &host);

    RecordingSoundPlayer sounds_;
    RecordingSoundPlayer otherSounds_;
    FakeShell shell_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QTemporaryDir> otherDir_;
};

void TestGameFlow::initTestCase()
{
    static QTemporaryDir data;
    QVERIFY(data.isValid());
    qputenv("WENDLEWICK_DATA_DIR", data.path().toLocal8Bit());
}

void TestGameFlow::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    otherDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid() && otherDir_->isValid());
    sounds_.played.clear();
    otherSounds_.played.clear();
}

std::unique_ptr<Tchat> TestGameFlow::makeChat(const QStringList &arguments, quint16 port, QTemporaryDir &dir,
    RecordingSoundPlayer &sounds, UniformDraw draw, int secondLength)
{
    Tchat::Setup setup = windowSetup(dir.path());
    setup.wordnetFolder = QStringLiteral(WENDLEWICK_SOURCE_DIR "/tests/dict/wordnet");
    setup.arguments = arguments;
    setup.gamePort = port;
    setup.listenAddress = QHostAddress::LocalHost;
    setup.companionPort = 1; // refused at once
    setup.draw = draw ? draw : seededDraw(5);
    setup.soundPlayer = &sounds;
    setup.shell = &shell_;
    setup.secondLength = secondLength;
    auto chat = std::make_unique<Tchat>(setup);
    chat->show();
    return chat;
}

std::unique_ptr<Tchat> TestGameFlow::roundAgainstScriptedHost(ScriptedHost &host)
{
    if (!host.start())
        return nullptr;
    auto chat = makeChat({QStringLiteral("Dee"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        host.serverPort(), *dir_, sounds_);
    if (!host.waitForPlayer())
        return nullptr;
    ProtocolClient &player = host.player();
    player.send("CMD_sendlogininfo+1");
    if (player.waitFor("CMD_logininfo").isEmpty())
        return nullptr;
    player.send("CMD_newplayerinfo+1+Dee+0+");
    player.send("CMD_startgame+Dee+30+60+4+3+0+");
    player.send(chopped(Wire::ToPlayer::loadboard(testBoard())));
    player.send("CMD_nextplayer+1+");
    if (!QTest::qWaitFor([&] { return chat->wordEntry()->entryOpen(); }))
        return nullptr;
    return chat;
}

void TestGameFlow::clockShowsTimeAndBarForEachRoundLength_data()
{
    QTest::addColumn<int>("roundLength");
    QTest::addColumn<int>("pixelsPerSecond");
    QTest::addColumn<int>("firstBar");
    QTest::addColumn<QString>("firstText");
    QTest::newRow("45 seconds") << 45 << 4 << 176 << "Time: 0:44";
    QTest::newRow("60 seconds") << 60 << 3 << 177 << "Time: 0:59";
    QTest::newRow("180 seconds") << 180 << 1 << 179 << "Time: 2:59";
    // 4 pixels a second would start past the clock's frame: the bar stops at its edge.
    QTest::newRow("50 seconds") << 50 << 4 << 180 << "Time: 0:49";
}

void TestGameFlow::clockShowsTimeAndBarForEachRoundLength()
{
    QFETCH(int, roundLength);
    QFETCH(int, pixelsPerSecond);
    QFETCH(int, firstBar);
    QFETCH(QString, firstText);
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")}, 0, *dir_, sounds_);
    GameSession *session = chat->session();
    chat->dispatch()->processsocktimer("CMD_startgame+Bob+30+" + QByteArray::number(roundLength) + "+4+3+0+");
    QCOMPARE(chat->state().pixelspersecond, pixelsPerSecond);
    QCOMPARE(chat->rosterView()->label_timeperturn->text(), QStringLiteral("Time: %1secs").arg(roundLength));
    chat->dispatch()->processsocktimer("CMD_nextplayer+2+");
    QVERIFY(session->turntime().isActive());
    QCOMPARE(chat->state().secondsleft, roundLength);
    session->turntimeTimer();
    QCOMPARE(chat->playArea()->image_timer->width(), firstBar);
    QCOMPARE(chat->playArea()->label_timer->text(), firstText);
}

void TestGameFlow::clockTurnsRedBelowTwentyAndTicksAloud()
{
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")}, 0, *dir_, sounds_);
    GameSession *session = chat->session();
    chat->dispatch()->processsocktimer("CMD_startgame+Bob+30+60+4+3+0+");
    chat->dispatch()->processsocktimer("CMD_nextplayer+2+");
    QLabel *text = chat->playArea()->label_timer;
    QList<int> tickedAt;
    for (int left = 59; left >= 1; --left) {
        sounds_.played.clear();
        session->turntimeTimer();
        QCOMPARE(chat->state().secondsleft, left);
        const QColor expected = left < 20 ? PlayArea::lastSecondsColour : PlayArea::clockColour;
        QCOMPARE(text->palette().color(QPalette::WindowText), expected);
        if (sounds_.played.contains(QStringLiteral("tick")))
            tickedAt.append(left);
    }
    QCOMPARE(tickedAt, (QList<int> {20, 15, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
}

void TestGameFlow::clockAtZeroClosesEntry()
{
    ScriptedHost host;
    auto chat = roundAgainstScriptedHost(host);
    QVERIFY(chat);
    PlayArea *play = chat->playArea();
    QVERIFY(play->button_rotate->isVisible());
    while (chat->state().secondsleft > 0)
        chat->session()->turntimeTimer();
    QCOMPARE(play->label_timer->text(), QStringLiteral("Time: 0:00"));
    QCOMPARE(play->image_timer->width(), 0);
    QCOMPARE(play->label_status->text(), QStringLiteral("Time is Up!"));
    QCOMPARE(chat->state().activeslot, 0);
    QVERIFY(!chat->wordEntry()->entryOpen());
    QVERIFY(!play->button_rotate->isVisible());
    QVERIFY(!chat->session()->turntime().isActive());
}

void TestGameFlow::theCountToTheNextRound_data()
{
    QTest::addColumn<int>("ownPause"); // the pause of the window that hosts; 0 at another host
    QTest::addColumn<int>("lastPauseMs"); // the game's last pause, from round end to start; -1 none
    QTest::addColumn<int>("tickMs"); // after this round's end
    QTest::addColumn<QString>("text");
    QTest::newRow("hosting: its own pause") << 10 << -1 << 1000 << "Next round in 9 seconds.";
    QTest::newRow("hosting: the last second") << 2 << -1 << 1000 << "Next round in 1 second.";
    QTest::newRow("another host's first pause") << 0 << -1 << 1000 << "The next round starts soon.";
    QTest::newRow("another host: learned from the last pause")
        << 0 << 15020 << 1000 << "Next round in 14 seconds.";
    QTest::newRow("the round is late") << 5 << -1 << 6000 << "The next round starts soon.";
}

void TestGameFlow::theCountToTheNextRound()
{
    QFETCH(int, ownPause);
    QFETCH(int, lastPauseMs);
    QFETCH(int, tickMs);
    QFETCH(QString, text);
    qint64 now = 0;
    NextRoundCountdown count(
        [ownPause]() -> std::optional<int> {
            if (ownPause)
                return ownPause;
            return std::nullopt;
        },
        [&now] { return now; });
    if (lastPauseMs >= 0) {
        count.roundEnded();
        now += lastPauseMs;
        count.roundStarted();
    }
    now += 100000;
    count.roundEnded();
    QVERIFY(count.isCounting());
    QCOMPARE(count.text(), QString());
    now += tickMs;
    count.tick();
    QCOMPARE(count.text(), text);
    // A win has no next round; neither has a game starting anew.
    count.gameEnded();
    QCOMPARE(count.text(), QString());
    QVERIFY(!count.isCounting());
}

void TestGameFlow::betweenRoundsBothWindowsSayWhatComesNext()
{
    ScriptedHost host;
    auto chat = roundAgainstScriptedHost(host);
    QVERIFY(chat);
    ProtocolClient &player = host.player();
    player.send("CMD_timeup+1+0+0");
    player.send("CMD_mainlist+1+No Words");
    QTRY_VERIFY(chat->wordsList()->isVisible());
    QCOMPARE(chat->playArea()->label_status->text(), QStringLiteral("Round Over. Posting Scores.."));
    auto *nextRound = chat->wordsList()->findChild<QLabel *>(QStringLiteral("label_nextround"));
    QVERIFY(nextRound && !nextRound->isVisible());
    // A second on: this host's pause is not known yet.
    QVERIFY(chat->nextRound()->isCounting());
    chat->nextRound()->tick();
    QCOMPARE(chat->playArea()->label_status->text(), QStringLiteral("The next round starts soon."));
    QVERIFY(nextRound->isVisible());
    QCOMPARE(nextRound->text(), chat->playArea()->label_status->text());
    player.send("CMD_nextplayer+1+");
    QTRY_VERIFY(chat->wordEntry()->entryOpen());
    QCOMPARE(chat->playArea()->label_status->text(), QStringLiteral("Click or Type a Word!"));
    QVERIFY(!chat->nextRound()->isCounting());
    QVERIFY(nextRound->text().isEmpty());
}

void TestGameFlow::bonusIsBlankedOnTheFourthTick()
{
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")}, 0, *dir_, sounds_);
    GameSession *session = chat->session();
    chat->dispatch()->processsocktimer("CMD_startgame+Bob+30+60+4+3+0+");
    chat->dispatch()->processsocktimer("CMD_nextplayer+2+");
    chat->dispatch()->processsocktimer("CMD_addscore+3+5+12+");
    QLabel *bonus = chat->rosterView()->bonus(3);
    QCOMPARE(bonus->text(), QStringLiteral("+5"));
    for (int tick = 1; tick <= 3; ++tick) {
        session->turntimeTimer();
        QCOMPARE(bonus->text(), QStringLiteral("+5"));
    }
    session->turntimeTimer();
    QCOMPARE(bonus->text(), QString());
    QCOMPARE(chat->rosterView()->score(3)->text(), QStringLiteral("12"));
}

void TestGameFlow::gameStartShowsItsSettings()
{
    ScriptedHost host;
    auto chat = roundAgainstScriptedHost(host);
    QVERIFY(chat);
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("You have started a game.")));
    QVERIFY(hasLine(*chat, QStringLiteral("3 LETTER MINIMUM!")));
    RosterView *roster = chat->rosterView();
    QCOMPARE(roster->label_playtoscore->text(), QStringLiteral("Play to Score: 30"));
    QCOMPARE(roster->label_boardsize->text(), QStringLiteral("Board Size: 4X4"));
    QCOMPARE(chat->wordEntry()->minLetters(), 3);
    QCOMPARE(chat->playArea()->label_status->text(), QStringLiteral("Click or Type a Word!"));
    QVERIFY(sounds_.played.contains(QStringLiteral("turn")));
    QCOMPARE(chat->boardModel()->realboard()[3][3], 3); // "c"

    // A round length that is not a number is a 60-second round; a board-size code that
    // is not a number stops there, after the rest was shown.
    chat->dispatch()->processsocktimer("CMD_startgame+Dee+40+abc+x+5+0+");
    QCOMPARE(chat->state().roundLength, 60);
    QCOMPARE(roster->label_playtoscore->text(), QStringLiteral("Play to Score: 40"));
    QCOMPARE(chat->wordEntry()->minLetters(), 5);
    QCOMPARE(roster->label_boardsize->text(), QStringLiteral("Board Size: 4X4"));
    // A new game blanks the board.
    QCOMPARE(chat->boardModel()->realboard()[3][3], BoardModel::blankTile);

    // The target is shown as the host wrote it, and the rest of the start still counts.
    chat->dispatch()->processsocktimer("CMD_startgame+Dee+lots+90+9+4+0+");
    QCOMPARE(roster->label_playtoscore->text(), QStringLiteral("Play to Score: lots"));
    QCOMPARE(chat->wordEntry()->minLetters(), 4);
    QCOMPARE(roster->label_boardsize->text(), QStringLiteral("Board Size: 5X5"));
    QVERIFY(chat->state().oddboard);

    // A round of no or negative length would never tick down sensibly: 60 seconds.
    chat->dispatch()->processsocktimer("CMD_startgame+Dee+40+0+4+5+0+");
    QCOMPARE(chat->state().roundLength, 60);
    chat->dispatch()->processsocktimer("CMD_startgame+Dee+40+-5+4+5+0+");
    QCOMPARE(chat->state().roundLength, 60);
    QCOMPARE(chat->state().pixelspersecond, 3);
}

void TestGameFlow::aLateJoinersClockBarStaysInItsFrame_data()
{
    QTest::addColumn<QByteArray>("roundSeconds");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("bar");
    QTest::addColumn<int>("barAfterTick");
    QTest::newRow("usual") << QByteArray("60") << 50 << 150 << 147;
    // 224 pixels a second times ten million seconds is past any int.
    QTest::newRow("one-second round, ten million left") << QByteArray("1") << 10000000 << 180 << 180;
    QTest::newRow("no round length, ten million left") << QByteArray("0") << 10000000 << 180 << 180;
}

void TestGameFlow::aLateJoinersClockBarStaysInItsFrame()
{
    QFETCH(QByteArray, roundSeconds);
    QFETCH(int, left);
    QFETCH(int, bar);
    QFETCH(int, barAfterTick);
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")}, 0, *dir_, sounds_);
    chat->dispatch()->processsocktimer("CMD_sendlogininfo+2");
    chat->dispatch()->processsocktimer(
        "CMD_loadstats+2+30+" + roundSeconds + "+4+3+" + QByteArray::number(left) + "+1+1+0+2+0");
    QCOMPARE(chat->state().activeslot, 2);
    QCOMPARE(chat->playArea()->image_timer->width(), bar);
    QCOMPARE(chat->playArea()->label_timer->text(), GameSession::clockText(left));
    chat->session()->turntimeTimer();
    QCOMPARE(chat->playArea()->image_timer->width(), barAfterTick);
}

void TestGameFlow::aNewGameTakesTheEyesOffEveryWatcher()
{
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")}, 0, *dir_, sounds_);
    chat->dispatch()->processsocktimer("CMD_sendlogininfo+1");
    chat->dispatch()->processsocktimer("CMD_newplayerinfo+1+Ann+0+2+Bob+1+");
    chat->dispatch()->processsocktimer("CMD_justwatching+1+1");
    QVERIFY(!chat->rosterView()->eyes(1)->isHidden());
    QVERIFY(!chat->rosterView()->eyes(2)->isHidden());

    // The host lets every watcher play again at a game's start without saying so.
    chat->dispatch()->processsocktimer("CMD_startgame+Ann+30+60+4+3+0+");
    for (int slot = 1; slot <= RosterModel::slotCount; ++slot) {
        QVERIFY(chat->rosterView()->eyes(slot)->isHidden());
        QVERIFY(!chat->roster()->row(slot).watching);
    }
    QVERIFY(!chat->menus()->JustWatch1->isChecked());
}

void TestGameFlow::aWatcherSeesTheStartersNameAndRecordsNothing()
{
    ScriptedHost host;
    QVERIFY(host.start());
    auto chat = makeChat({QStringLiteral("Dee"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        host.serverPort(), *dir_, sounds_);
    QVERIFY(host.waitForPlayer());
    ProtocolClient &player = host.player();
    player.send("CMD_sendlogininfo+11");
    QVERIFY(!player.waitFor("CMD_logininfo").isEmpty());
    player.send("CMD_newplayerinfo+1+Dee+0+11+Dee+0+");
    player.send("CMD_startgame+Dee+30+60+4+3+0+");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Dee has started a game.")));
    player.send("CMD_winner+Dee+");
    QTRY_VERIFY(chat->playArea()->panel_winner->isVisible());
    QCOMPARE(chat->playArea()->label_winner1->text(), QStringLiteral("Dee has Won the Game!"));
    QCOMPARE(chat->playArea()->label_winner2->text(), QStringLiteral("Dee has Won the Game!"));
    QCOMPARE(chat->tallylist()->tally()->ownTotal(TallyList::totalGames), QStringLiteral("0"));
    // Not the host: the Start image stays hidden.
    QVERIFY(!chat->playArea()->button_start->isVisible());
}

void TestGameFlow::eachGameCountsOnceInTheTally_data()
{
    QTest::addColumn<QList<QByteArray>>("messages");
    QTest::addColumn<QString>("games");
    const QByteArray start = "CMD_startgame+Ann+30+60+4+3+0+";
    const QByteArray won = "CMD_winner+Bob+";
    QTest::newRow("started and won") << QList<QByteArray> {start, won} << "1";
    QTest::newRow("joined late and won")
        << QList<QByteArray> {"CMD_loadstats+1+30+60+4+3+20+1+1+0+2+0", won} << "1";
    QTest::newRow("winner declared twice") << QList<QByteArray> {start, won, won} << "1";
    QTest::newRow("winner without a game") << QList<QByteArray> {won} << "0";
    QTest::newRow("two games") << QList<QByteArray> {start, won, start, won} << "2";
}

void TestGameFlow::eachGameCountsOnceInTheTally()
{
    QFETCH(QList<QByteArray>, messages);
    QFETCH(QString, games);
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1")}, 0, *dir_, sounds_);
    chat->dispatch()->processsocktimer("CMD_sendlogininfo+1");
    chat->dispatch()->processsocktimer("CMD_newplayerinfo+1+Ann+0+2+Bob+0+");
    for (const QByteArray &message : messages)
        chat->dispatch()->processsocktimer(message);
    QCOMPARE(chat->tallylist()->tally()->ownTotal(TallyList::totalGames), games);
    // The banner shows each time, counted or not.
    QVERIFY(chat->playArea()->panel_winner->isVisibleTo(chat.get()));
}

void TestGameFlow::namesFromOtherPlayersShowAsPlainText()
{
    ScriptedHost host;
    QVERIFY(host.start());
    auto chat = makeChat({QStringLiteral("Dee"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        host.serverPort(), *dir_, sounds_);
    QVERIFY(host.waitForPlayer());
    ProtocolClient &player = host.player();
    player.send("CMD_sendlogininfo+1");
    QVERIFY(!player.waitFor("CMD_logininfo").isEmpty());
    const QString markup = QStringLiteral("<b>E</b><img src=x>");
    player.send("CMD_newplayerinfo+1+Dee+0+2+" + markup.toLatin1() + "+0+");
    player.send("CMD_nextplayer+2+");
    const QString turn = markup + QStringLiteral("'s turn.");
    QLabel *status = chat->playArea()->label_status;
    QTRY_COMPARE(status->text(), turn);
    player.send("CMD_winner+" + markup.toLatin1() + "+");
    QLabel *banner = chat->playArea()->label_winner1;
    QTRY_VERIFY(banner->isVisible());
    // Read as markup, the labels would be far narrower than their text.
    for (QLabel *label : {status, banner, chat->rosterView()->name(2)}) {
        const int textWidth = QFontMetrics(label->font()).horizontalAdvance(label->text());
        QVERIFY2(label->sizeHint().width() >= textWidth, qPrintable(label->objectName()));
    }
}

void TestGameFlow::typedKeysBuildTheWordAndTheChatKeepsTheRest()
{
    ScriptedHost host;
    auto chat = roundAgainstScriptedHost(host);
    QVERIFY(chat);
    chat->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(chat.get()));
    ChatInput *input = chat->chatPanel()->mychat();
    input->setFocus();
    WordEntry *entry = chat->wordEntry();

    QTest::keyClicks(input, QStringLiteral("cat"));
    QCOMPARE(entry->word(), QStringLiteral("cat"));
    QCOMPARE(input->text(), QString());
    QVERIFY(sounds_.played.contains(QStringLiteral("place")));
    QVERIFY(chat->playArea()->button_send->isVisible());
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(host.player().waitFor("CMD_playerdone"), QByteArray("CMD_playerdone+1+1+3+3+2+3+4+3+3+5"));
    QVERIFY(sounds_.played.contains(QStringLiteral("sendword")));
    QCOMPARE(entry->length(), 0);

    // The keypad's keys and "1" do nothing to the chat while typing is on.
    QTest::keyClick(input, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(input, Qt::Key_D);
    QTest::keyClick(input, Qt::Key_1);
    QCOMPARE(entry->length(), 0);
    QCOMPARE(input->text(), QString());
    // Nor does a menu shortcut take a key first.
    QTest::keyClick(input, Qt::Key_F1);
    QVERIFY(!chat->help()->isVisible());

    // Ctrl+R turns the board; plain R would type.
    QTest::keyClick(input, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(chat->boardModel()->rotation(), 1);
    QVERIFY(sounds_.played.contains(QStringLiteral("rotate")));

    // Tab switches typing off: the chat input gets every key but Tab.
    QTest::keyClick(input, Qt::Key_Tab);
    QVERIFY(!entry->typingOn());
    QCOMPARE(chat->playArea()->label_typingoff->text(), QStringLiteral("TYPING OFF"));
    QTest::keyClicks(input, QStringLiteral("hi 1"));
    QCOMPARE(input->text(), QStringLiteral("hi 1"));
    QCOMPARE(entry->length(), 0);
    QTest::keyClick(input, Qt::Key_Tab);
    QVERIFY(entry->typingOn());
    QCOMPARE(input->text(), QStringLiteral("hi 1"));

    // Outside this player's round every key is the chat's.
    while (chat->state().secondsleft > 0)
        chat->session()->turntimeTimer();
    QTest::keyClicks(input, QStringLiteral("x"));
    QCOMPARE(input->text(), QStringLiteral("hi 1x"));
}

void TestGameFlow::dragModeSendsAtRelease()
{
    ScriptedHost host;
    auto chat = roundAgainstScriptedHost(host);
    QVERIFY(chat);
    BoardPaintBox *board = chat->boardView()->paintbox();
    QTest::mousePress(board, Qt::LeftButton, {}, centreOf(4, 3));
    QTest::mouseMove(board, centreOf(4, 4));
    QTest::mouseMove(board, centreOf(4, 5));
    QCOMPARE(chat->wordEntry()->word(), QStringLiteral("dog"));
    QVERIFY(!host.player().messages().contains("CMD_playerdone+1+1+4+3+2+4+4+3+4+5"));
    QTest::mouseRelease(board, Qt::LeftButton, {}, centreOf(4, 5));
    QCOMPARE(host.player().waitFor("CMD_playerdone"), QByteArray("CMD_playerdone+1+1+4+3+2+4+4+3+4+5"));
    QVERIFY(sounds_.played.contains(QStringLiteral("click")));
    QCOMPARE(chat->wordEntry()->length(), 0);
}

void TestGameFlow::clickModeSendsOnlyWithSend()
{
    ScriptedHost host;
    auto chat = roundAgainstScriptedHost(host);
    QVERIFY(chat);
    chat->menus()->ClickLetters1->trigger();
    QVERIFY(chat->wordEntry()->clickLetters());
    BoardPaintBox *board = chat->boardView()->paintbox();
    for (const QPoint &at : {centreOf(5, 3), centreOf(5, 4), centreOf(5, 5), centreOf(5, 6)})
        QTest::mouseClick(board, Qt::LeftButton, {}, at);
    QCOMPARE(chat->wordEntry()->word(), QStringLiteral("limb"));
    QPushButton *send = chat->playArea()->button_send;
    QVERIFY(send->isVisible());
    QTest::mouseClick(send, Qt::LeftButton);
    QCOMPARE(host.player().waitFor("CMD_playerdone"), QByteArray("CMD_playerdone+1+1+5+3+2+5+4+3+5+5+4+5+6"));
    QVERIFY(!send->isVisible());
}

void TestGameFlow::optionsDialogCodesReachTheWire_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QByteArray>("code");
    QTest::newRow("4X4") << "image_size4" << QByteArray("4");
    QTest::newRow("10X10") << "image_size7" << QByteArray("7");
    QTest::newRow("random") << "image_size8" << QByteArray("8");
    QTest::newRow("9X9") << "image_size11" << QByteArray("11");
}

void TestGameFlow::optionsDialogCodesReachTheWire()
{
    QFETCH(QString, picture);
    QFETCH(QByteArray, code);
    ScriptedHost host;
    QVERIFY(host.start());
    auto chat = makeChat({QStringLiteral("Dee"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        host.serverPort(), *dir_, sounds_);
    QVERIFY(host.waitForPlayer());
    host.player().send("CMD_sendlogininfo+1");
    QVERIFY(!host.player().waitFor("CMD_logininfo").isEmpty());
    QTRY_VERIFY(chat->state().isconnected);
    chat->button_startClick();
    Tgamestart *options = chat->gamestart();
    QVERIFY(options->isVisible());
    auto *choice = options->findChild<QWidget *>(picture);
    QVERIFY(choice);
    QTest::mouseClick(choice, Qt::LeftButton);
    options->button_startClick();
    const QList<QByteArray> fields = host.player().waitFor("CMD_startgame").split('+');
    QVERIFY(fields.size() > 4);
    QCOMPARE(fields.at(1), QByteArray("Dee"));
    QCOMPARE(fields.at(4), code);
}

void TestGameFlow::hostVerdictsColourTheWordsPanel()
{
    ScriptedHost host;
    auto chat = roundAgainstScriptedHost(host);
    QVERIFY(chat);
    ProtocolClient &player = host.player();
    chat->wordEntry()->typetheletter(3);
    player.send("CMD_notvalid+1+1+XYZ+");
    QTRY_COMPARE(chat->playArea()->label_status->text(), QStringLiteral("Invalid Word."));
    QCOMPARE(chat->wordEntry()->length(), 0);
    QVERIFY(sounds_.played.contains(QStringLiteral("invalid")));
    player.send(chopped(Wire::ToPlayer::goodword(1, 3, "CAT", 3, 1)));
    QTRY_COMPARE(chat->wordsPanel()->foundLabel()->text(), QStringLiteral("Count: 1"));
    QCOMPARE(chat->playArea()->label_status->text(), QStringLiteral("You made CAT for 3 points!"));
    // Another player's answers change nothing here.
    player.send(chopped(Wire::ToPlayer::goodword(2, 3, "DOG", 3, 1)));
    player.send(chopped(Wire::ToPlayer::goodword(1, 9, "ABCDEFGHIJKL", 12, 1)));
    QTRY_COMPARE(chat->wordResults()->count(), 2);
    QCOMPARE(chat->tallylist()->tally()->ownTotal(TallyList::longWords), QStringLiteral("1"));
    // The round's end shows the points and records the words found.
    player.send("CMD_timeup+1+12+40+2+0+7");
    QTRY_COMPARE(chat->playArea()->label_status->text(), QStringLiteral("Round Over. Posting Scores.."));
    QCOMPARE(chat->rosterView()->bonus(1)->text(), QStringLiteral("+12"));
    QCOMPARE(chat->rosterView()->score(1)->text(), QStringLiteral("40"));
    QCOMPARE(chat->rosterView()->bonus(2)->text(), QString());
    QCOMPARE(chat->rosterView()->score(2)->text(), QStringLiteral("7"));
    QCOMPARE(chat->tallylist()->tally()->ownTotal(TallyList::mostWordsInRound), QStringLiteral("2"));
    QVERIFY(sounds_.played.contains(QStringLiteral("roundover")));
}

void TestGameFlow::oneWholeGameThroughTwoWindows()
{
    ScriptedDraw deal(boardRows);
    auto ann = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("true")}, 0,
        *dir_, sounds_, deal.draw(), 1000);
    QTRY_VERIFY(hasLine(*ann, QStringLiteral("You are Connected.")));
    auto bob = makeChat({QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        ann->server()->port(), *otherDir_, otherSounds_, {}, 1000);
    QTRY_VERIFY(hasLine(*bob, QStringLiteral("You are Connected.")));
    QTRY_COMPARE(ann->roster()->row(2).name, QStringLiteral("Bob"));
    QAction *lastRound = ann->menus()->viewMenu->findChild<QAction *>(QStringLiteral("LastRoundsWords1"));
    QVERIFY(lastRound && !lastRound->isEnabled());

    // Ann starts a one-round game (target 0) on a 4 by 4 board, three letters minimum.
    QTest::mouseClick(ann->playArea()->button_start, Qt::LeftButton);
    Tgamestart *options = ann->gamestart();
    QVERIFY(options->isVisible());
    options->setPlayToScore(0);
    options->setRoundTime(45);
    QTest::mouseClick(options->findChild<QWidget *>(QStringLiteral("image_size4")), Qt::LeftButton);
    QTest::mouseClick(options->findChild<QWidget *>(QStringLiteral("image_min3")), Qt::LeftButton);
    options->button_startClick();
    QTRY_VERIFY(ann->wordEntry()->entryOpen());
    QTRY_VERIFY(bob->wordEntry()->entryOpen());
    QCOMPARE(bob->playArea()->label_status->text(), QStringLiteral("Click or Type a Word!"));
    QVERIFY(hasLine(*bob, QStringLiteral("Ann has started a game.")));
    QCOMPARE(bob->boardModel()->realboard()[5][6], 2); // "b"

    // Ann types two words; Bob then drags one of them and one of his own.
    ann->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(ann.get()));
    ChatInput *input = ann->chatPanel()->mychat();
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("cat"));
    QTest::keyClick(input, Qt::Key_Return);
    QTRY_COMPARE(ann->wordResults()->count(), 1);
    QTest::keyClicks(input, QStringLiteral("limb"));
    QTest::keyClick(input, Qt::Key_Return);
    QTRY_COMPARE(ann->wordResults()->count(), 2);
    QCOMPARE(input->text(), QString());

    BoardPaintBox *board = bob->boardView()->paintbox();
    const auto drag = [board](const QList<QPoint> &cells) {
        QTest::mousePress(board, Qt::LeftButton, {}, cells.first());
        for (const QPoint &at : cells.mid(1))
            QTest::mouseMove(board, at);
        QTest::mouseRelease(board, Qt::LeftButton, {}, cells.last());
    };
    drag({centreOf(3, 3), centreOf(3, 4), centreOf(3, 5)});
    QTRY_COMPARE(bob->wordResults()->count(), 1);
    drag({centreOf(4, 3), centreOf(4, 4), centreOf(4, 5)});
    QTRY_COMPARE(bob->wordResults()->count(), 2);
    QCOMPARE(bob->wordsPanel()->foundLabel()->text(), QStringLiteral("Count: 2"));
    // Found second: no first finder's line.
    const QList<AcceptedWord> &bobs = bob->wordResults()->acceptedWords();
    QCOMPARE(bobs.first().word, QStringLiteral("CAT"));
    QVERIFY(!bobs.first().first);
    QVERIFY(bobs.last().first);

    // The rest of the round runs fast.
    for (Tchat *chat : {ann.get(), bob.get()})
        chat->session()->setSecondLength(5);
    ann->server()->setSecondLength(5);
    QTRY_VERIFY_WITH_TIMEOUT(ann->playArea()->panel_winner->isVisible(), 20000);
    QTRY_VERIFY(bob->playArea()->panel_winner->isVisible());

    QCOMPARE(ann->playArea()->label_winner1->text(), QStringLiteral("You have Won the Game!"));
    QCOMPARE(ann->playArea()->label_winner2->text(), QStringLiteral("You have Won the Game!"));
    QCOMPARE(bob->playArea()->label_winner1->text(), QStringLiteral("Ann has Won the Game!"));
    QVERIFY(hasLine(*bob, QStringLiteral("Ann has Won the Game!")));
    for (Tchat *chat : {ann.get(), bob.get()}) {
        QCOMPARE(chat->playArea()->label_status->text(), QStringLiteral("Game Over!"));
        QCOMPARE(chat->playArea()->label_timer->text(), QStringLiteral("Time: 0:00"));
        QVERIFY(!chat->wordEntry()->entryOpen());
        for (int slot = 1; slot <= 2; ++slot)
            QCOMPARE(chat->rosterView()->score(slot)->text(),
                QString::number(ann->server()->slot(slot).gameScore));
    }
    QVERIFY(ann->server()->slot(1).gameScore > ann->server()->slot(2).gameScore);
    QVERIFY(ann->playArea()->button_start->isVisible());
    QVERIFY(!bob->playArea()->button_start->isVisible());

    // The words of the round, for each player.
    for (Tchat *chat : {ann.get(), bob.get()}) {
        QVERIFY(chat->wordsList()->isVisible());
        QStringList words = chat->wordsList()->wordList().words();
        for (QString &w : words)
            w = w.toUpper();
        for (const char *word : {"CAT", "LIMB", "DOG"})
            QVERIFY2(words.contains(QLatin1StringView(word)), word);
    }

    // The tally: Ann won against Bob; both counted the game and the round's words.
    TallyList *annTally = ann->tallylist()->tally();
    QCOMPARE(annTally->ownTotal(TallyList::totalGames), QStringLiteral("1"));
    QCOMPARE(annTally->ownTotal(TallyList::yourWins), QStringLiteral("1"));
    QCOMPARE(annTally->ownTotal(TallyList::mostWordsInRound), QStringLiteral("2"));
    TallyList *bobTally = bob->tallylist()->tally();
    QCOMPARE(bobTally->ownTotal(TallyList::totalGames), QStringLiteral("1"));
    QCOMPARE(bobTally->ownTotal(TallyList::yourWins), QStringLiteral("0"));
    // Counted games are on disk at once, not only when the window closes.
    QVERIFY(QFile::exists(annTally->filePath()));
    QVERIFY(QFile::exists(bobTally->filePath()));

    for (const char *sound : {"turn", "place", "sendword", "tick", "roundover", "gameover"})
        QVERIFY2(sounds_.played.contains(QLatin1StringView(sound)), sound);
    for (const char *sound : {"turn", "click", "sendword", "tick", "roundover", "gameover"})
        QVERIFY2(otherSounds_.played.contains(QLatin1StringView(sound)), sound);

    // A word of the review draws its path on the board until the next round.
    QTRY_VERIFY(ann->wordsList()->reviewer()->isReady());
    const QList<Cell> path {{3, 3}, {3, 4}, {3, 5}};
    Q_EMIT ann->wordsList()->reviewView()->wordChosen(QStringLiteral("CAT"), path);
    QCOMPARE(ann->boardModel()->pathOverlay(), path);
    QVERIFY(ann->wordsList()->definitionView()->toPlainText().contains(u"small furry animal"));
    // The game ended on its summary: one round, Ann's two words in it.
    Twordslist *annList = ann->wordsList();
    QCOMPARE(annList->pages()->currentIndex(), int(Twordslist::GamePage));
    QCOMPARE(annList->gameSummary().rounds().size(), 1);
    QCOMPARE(annList->gameSummary().rounds().constFirst().yours, 2);

    ann->dispatch()->processsocktimer("CMD_nextplayer+2+");
    QVERIFY(ann->boardModel()->pathOverlay().isEmpty());
    QVERIFY(!annList->isVisible());
    // The last round's words stay a menu choice away, and open on the review.
    QVERIFY(lastRound->isEnabled());
    lastRound->trigger();
    QVERIFY(annList->isVisible());
    QCOMPARE(annList->pages()->currentIndex(), int(Twordslist::ReviewPage));
    QCOMPARE(annList->reviewer()->result().count(RoundReview::FoundByYou), 2);
}

QTEST_MAIN(TestGameFlow)
#include "tst_gameflow.moc"
