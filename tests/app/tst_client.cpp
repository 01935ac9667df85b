// The player's window against a real game host in the same process, over loopback,
// and against a scripted host that sends exactly the messages a test chooses.
#include "boardmodel.h"
#include "chatinput.h"
#include "chatpanel.h"
#include "chatview.h"
#include "clientdispatch.h"
#include "fakehostenvironment.h"
#include "fakeshell.h"
#include "gamesession.h"
#include "hostconnection.h"
#include "mainmenus.h"
#include "phrasebar.h"
#include "playarea.h"
#include "protocolclient.h"
#include "recordingsoundplayer.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "scriptedhost.h"
#include "tchat.h"
#include "tdownload.h"
#include "tgamestart.h"
#include "tserver.h"
#include "tspylist.h"
#include "windowsetup.h"
#include "wordentry.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <memory>

namespace {

// The chat view's lines, each without the blanks around it.
QStringList chatLines(Tchat &chat)
{
    QStringList lines;
    for (QTextBlock b = chat.chatPanel()->mainchat()->document()->begin(); b.isValid(); b = b.next()) {
        const QString line = b.text().simplified();
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

bool hasLine(Tchat &chat, const QString &line)
{
    return chatLines(chat).contains(line.simplified());
}

bool admitted(Tchat &chat)
{
    return hasLine(chat, QStringLiteral("You are Connected."));
}

// Opens the roster menu over the name label of `slot`, as a right click does.
QMenu *openRosterMenu(Tchat &chat, int slot)
{
    QLabel *name = chat.rosterView()->name(slot);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), name->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(name, &event);
    return chat.rosterView()->popup_kick;
}

QTextCharFormat formatAt(const ChatView &view, const QString &text)
{
    QTextCursor found = view.document()->find(text);
    if (found.isNull())
        return {};
    QTextCursor c(view.document());
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

} // namespace

class TestClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void soloPlaysAsYouOnTheLoopbackWithTheDownloadWindow();
    void commandLineTakesItsRole_data();
    void commandLineTakesItsRole();
    void oneOrTwoArgumentsTakeNoRole_data();
    void oneOrTwoArgumentsTakeNoRole();
    void aTakenPortIsReportedInsteadOfHosting();
    void anUnusableAddressLeavesTheWindowWaiting();
    void aJoinerReachesAHostOnAnotherPort();
    void theNameGoesOutWithoutPlusSigns();

    void rosterFillsAndEmptiesAsPlayersComeAndGo();
    void existingPlayersFillThreeRowsAndPlayEnteredOnce();
    void aWatcherIsConnectedSpyingAndListedUntilItLeaves();
    void departuresOfEmptySlotsSayNothing();
    void loadstatsForAnotherSlotChangesNothing();
    void aLateJoinerEntersTheRunningRound();
    void versionMismatchIsReportedAndPlayGoesOn();
    void aFullGameSaysSoThenTheWindowCloses();
    void losingTheHostClosesTheWindow();
    void theLobbyHearsWhyTheGameEnded_data();
    void theLobbyHearsWhyTheGameEnded();
    void rosterMenuAsHost();
    void rosterMenuAsJoinerOffersNothing();
    void spyListRemovalReachesTheHost();
    void startGameOpensTheOptionsAndStartsTheGame();

    void typedChatComesBackFromTheHost();
    void chatCommandsFollowTheirRules();
    void relayedLinksAndColoursShowInTheWindow();
    void chatterSoundsFollowTheirSwitch();
    void dispatchTimerRestsWhileNothingWaits();

private:
    // A shown window with the command line `arguments` that hosts on, or joins, `port`
    // (0: hosts on a free port), keeping its files in `folder` (the test's own).
    std::unique_ptr<Tchat> makeChat(
        const QStringList &arguments, quint16 port = 0, const QString &folder = {});
    std::unique_ptr<Tchat> hostedChat();
    // A window that joins `host` as "Dee" and is asked to log in as `slot`; null when
    // it never connected.
    std::unique_ptr<Tchat> joinScriptedHost(ScriptedHost &host, int slot);
    // A host of our own, for the window to join.
    std::unique_ptr<TServer> startServer();

    FakeHostEnvironment environment_;
    RecordingSoundPlayer sounds_;
    FakeShell shell_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QTemporaryDir> otherDir_;
    std::unique_ptr<QTcpServer> companion_;
    // How often a window said it hosts a game for others (for lobbies to list).
    int hostingForOthers_ = 0;
};

void TestClient::initTestCase()
{
    static QTemporaryDir data;
    QVERIFY(data.isValid());
    qputenv("WENDLEWICK_DATA_DIR", data.path().toLocal8Bit());
}

void TestClient::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    otherDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid() && otherDir_->isValid());
    sounds_.played.clear();
    shell_.urls.clear();
    hostingForOthers_ = 0;
    // Stands in for the lobby's companion endpoint.
    companion_ = std::make_unique<QTcpServer>();
    QVERIFY(companion_->listen(QHostAddress::LocalHost, 0));
}

void TestClient::cleanup()
{
    companion_.reset();
}

std::unique_ptr<Tchat> TestClient::makeChat(const QStringList &arguments, quint16 port, const QString &folder)
{
    const QString files = folder.isEmpty() ? dir_->path() : folder;
    Tchat::Setup setup = windowSetup(files);
    setup.arguments = arguments;
    setup.gamePort = port;
    setup.listenAddress = QHostAddress::LocalHost;
    setup.companionPort = companion_->serverPort();
    setup.draw = seededDraw(7);
    setup.soundPlayer = &sounds_;
    setup.shell = &shell_;
    auto chat = std::make_unique<Tchat>(setup);
    connect(chat.get(), &Tchat::hostingForOthers, this, [this] { ++hostingForOthers_; });
    chat->show();
    return chat;
}

std::unique_ptr<Tchat> TestClient::hostedChat()
{
    return makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("true")});
}

std::unique_ptr<Tchat> TestClient::joinScriptedHost(ScriptedHost &host, int slot)
{
    if (!host.start())
        return nullptr;
    auto chat = makeChat(
        {QStringLiteral("Dee"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, host.serverPort());
    if (!host.waitForPlayer())
        return nullptr;
    host.player().send("CMD_sendlogininfo+" + QByteArray::number(slot));
    return chat;
}

std::unique_ptr<TServer> TestClient::startServer()
{
    auto server = std::make_unique<TServer>(environment_, seededDraw(3));
    server->listen(0, QHostAddress::LocalHost);
    return server;
}

void TestClient::soloPlaysAsYouOnTheLoopbackWithTheDownloadWindow()
{
    auto chat = makeChat({});
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("You are Connected.")));
    QCOMPARE(chatLines(*chat).first(), QStringLiteral("Loading Solo Game..Please wait."));
    QVERIFY(chat->download()->isVisible());
    const ClientState &state = chat->state();
    QCOMPARE(state.playername, QStringLiteral("You"));
    QCOMPARE(state.hostaddress, QStringLiteral("127.0.0.1"));
    QVERIFY(state.ishost);
    QCOMPARE(state.myslot, 1);
    QCOMPARE(chat->server()->slot(1).name, QByteArray("You"));
    QCOMPARE(chat->connection()->sock()->peerAddress(), QStringLiteral("127.0.0.1"));
    QCOMPARE(chat->roster()->row(1).name, QStringLiteral("You"));
    QVERIFY(chat->playArea()->button_start->isVisible());
    QVERIFY(chat->menus()->StartGame1->isEnabled());
    QVERIFY(chat->spylist()->findChild<QAction *>(QStringLiteral("popup_kickhim"))->isEnabled());
    QVERIFY(sounds_.played.contains(QStringLiteral("entered")));
    // Solo play opens no companion connection, and lobbies never hear of it.
    QVERIFY(!companion_->hasPendingConnections());
    QVERIFY(!chat->connection()->companion()->connected());
    QCOMPARE(hostingForOthers_, 0);
}

void TestClient::commandLineTakesItsRole_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("hosts");
    QTest::newRow("true hosts") << QStringList {"Ann", "192.0.2.1", "true"} << true;
    QTest::newRow("a fourth argument changes nothing")
        << QStringList {"Ann", "192.0.2.1", "true", "false"} << true;
    QTest::newRow("false joins") << QStringList {"Ann", "127.0.0.1", "false"} << false;
    QTest::newRow("TRUE joins") << QStringList {"Ann", "127.0.0.1", "TRUE"} << false;
    QTest::newRow("True joins") << QStringList {"Ann", "127.0.0.1", "True"} << false;
}

void TestClient::commandLineTakesItsRole()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, hosts);
    // A joiner joins a host of its own, at the address it is given; the host player's
    // window ignores the address and hosts on the loopback.
    std::unique_ptr<TServer> other = hosts ? nullptr : startServer();
    auto chat = makeChat(arguments, other ? other->port() : quint16(0));
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("You are Connected.")));
    QCOMPARE(chatLines(*chat).first(), QStringLiteral("Loading Multi-player Game.. Please Wait."));

    QCOMPARE(chat->state().ishost, hosts);
    QCOMPARE(chat->state().playername, QStringLiteral("Ann"));
    QCOMPARE(chat->state().hostaddress, arguments.at(1));
    TServer *host = hosts ? chat->server() : other.get();
    QCOMPARE(host->slot(1).name, QByteArray("Ann"));
    QCOMPARE(chat->server()->port() != 0, hosts);
    QCOMPARE(chat->playArea()->button_start->isVisible(), hosts);
    QCOMPARE(chat->menus()->StartGame1->isEnabled(), hosts);
    QVERIFY(!chat->download()->isVisible());
    QTRY_VERIFY(companion_->hasPendingConnections());
    QCOMPARE(hostingForOthers_, hosts ? 1 : 0);
}

void TestClient::oneOrTwoArgumentsTakeNoRole_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("one") << QStringList {"Ann"};
    QTest::newRow("two") << QStringList {"Ann", "127.0.0.1"};
}

void TestClient::oneOrTwoArgumentsTakeNoRole()
{
    QFETCH(QStringList, arguments);
    auto server = startServer();
    auto chat = makeChat(arguments, server->port());
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Loading Multi-player Game.. Please Wait.")));
    QVERIFY(!chat->state().ishost);
    QVERIFY(chat->state().loginname.isEmpty());
    QVERIFY(!chat->playArea()->button_start->isVisible());
    QVERIFY(!chat->menus()->StartGame1->isEnabled());
    QCOMPARE(chat->server()->port(), quint16(0));
    QVERIFY(!chat->connection()->sock()->connected());
    QVERIFY(!server->slot(1).inUse);
    QVERIFY(!companion_->hasPendingConnections());
    QVERIFY(chat->isVisible());
}

void TestClient::aTakenPortIsReportedInsteadOfHosting()
{
    QTcpServer squatter;
    QVERIFY(squatter.listen(QHostAddress::LocalHost, 0));
    auto chat = makeChat({}, squatter.serverPort());
    const QString line = QStringLiteral("Could not host the game: port %1 is in use by another program.")
                             .arg(squatter.serverPort());
    QTRY_VERIFY(hasLine(*chat, line));
    QVERIFY(!chat->state().ishost);
    QVERIFY(!chat->playArea()->button_start->isVisible());
    QVERIFY(!chat->connection()->sock()->connected());
    QVERIFY(chat->isVisible());
}

void TestClient::anUnusableAddressLeavesTheWindowWaiting()
{
    auto chat = makeChat({QStringLiteral("Ann"), QStringLiteral("999.1.1.1"), QStringLiteral("false")});
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Loading Multi-player Game.. Please Wait.")));
    QVERIFY(!chat->connection()->isConnected());
    QVERIFY(chat->isVisible());
    // The companion connection is opened all the same.
    QTRY_VERIFY(companion_->hasPendingConnections());
}

void TestClient::aJoinerReachesAHostOnAnotherPort()
{
    auto server = startServer();
    // The game's own port is unused here: only the port in the address can reach the host.
    auto chat = makeChat(
        {QStringLiteral("Ann"), QStringLiteral("127.0.0.1:%1").arg(server->port()), QStringLiteral("false")},
        1);
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("You are Connected.")));
    QCOMPARE(server->slot(1).name, QByteArray("Ann"));
}

void TestClient::theNameGoesOutWithoutPlusSigns()
{
    ScriptedHost host;
    QVERIFY(host.start());
    auto chat = makeChat(
        {QStringLiteral("A+n\u00FF"), QStringLiteral("127.0.0.1"), QStringLiteral("x")}, host.serverPort());
    QVERIFY(host.waitForPlayer());
    host.player().send("CMD_sendlogininfo+2");
    // "ÿ" is the terminator on the 8-bit wire: it travels as "?".
    QCOMPARE(host.player().waitFor("CMD_logininfo"), QByteArray("CMD_logininfo+2+1.0.7+A-n?"));
    QCOMPARE(chat->state().playername, QStringLiteral("A-n\u00FF"));
}

void TestClient::rosterFillsAndEmptiesAsPlayersComeAndGo()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    ProtocolClient bob;
    QCOMPARE(bob.join(chat->server()->port(), "Bob"), 2);
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Bob is Connected.")));
    QCOMPARE(chat->rosterView()->name(2)->text(), QStringLiteral("Bob"));
    QVERIFY(chat->rosterView()->name(2)->isVisible());
    QVERIFY(chat->rosterView()->score(2)->isVisible());
    QCOMPARE(sounds_.played.count(QStringLiteral("entered")), 2);

    bob.close();
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Bob has left the room.")));
    QCOMPARE(chat->rosterView()->name(2)->text(), QStringLiteral("<Waiting>"));
}

void TestClient::existingPlayersFillThreeRowsAndPlayEnteredOnce()
{
    ScriptedHost host;
    auto chat = joinScriptedHost(host, 4);
    QVERIFY(chat);
    QCOMPARE(host.player().waitFor("CMD_logininfo"), QByteArray("CMD_logininfo+4+1.0.7+Dee"));
    host.player().send("CMD_existingplayers+1+Ann+0+2+Bob+1+3+Cat+0");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Cat is Connected.")));
    RosterView *roster = chat->rosterView();
    QCOMPARE(roster->name(1)->text(), QStringLiteral("Ann"));
    QCOMPARE(roster->name(2)->text(), QStringLiteral("Bob"));
    QCOMPARE(roster->name(3)->text(), QStringLiteral("Cat"));
    QVERIFY(roster->eyes(2)->isVisible());
    QVERIFY(!roster->eyes(1)->isVisible());
    QCOMPARE(sounds_.played, QStringList {QStringLiteral("entered")});
    QVERIFY(chat->state().isconnected);
}

void TestClient::aWatcherIsConnectedSpyingAndListedUntilItLeaves()
{
    ScriptedHost host;
    auto chat = joinScriptedHost(host, 2);
    QVERIFY(chat);
    host.player().send("CMD_newplayerinfo+11+Eve+0");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Eve is spying.")));
    const QStringList lines = chatLines(*chat);
    QCOMPARE(lines.indexOf(QStringLiteral("Eve is Connected.")) + 1,
        lines.indexOf(QStringLiteral("Eve is spying.")));
    QCOMPARE(chat->spylist()->entries(), QStringList {QStringLiteral("11: Eve")});

    host.player().send("CMD_playerdisconnected+11+Eve");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Eve has disconnected.")));
    QVERIFY(chat->spylist()->entries().isEmpty());
}

void TestClient::departuresOfEmptySlotsSayNothing()
{
    ScriptedHost host;
    auto chat = joinScriptedHost(host, 2);
    QVERIFY(chat);
    host.player().send("CMD_playerdisconnected+5+Zed");
    host.player().send("CMD_playerdisconnected+12+Eve");
    // A later message shows the two were handled.
    host.player().send("CMD_wrongversion+");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("You have a differnt version of the game then the host.")));
    QCOMPARE(chatLines(*chat).size(), 2);
}

void TestClient::loadstatsForAnotherSlotChangesNothing()
{
    ScriptedHost host;
    auto chat = joinScriptedHost(host, 2);
    QVERIFY(chat);
    host.player().send("CMD_loadstats+3+100+60+9+5+50+1+1+7+2+8");
    host.player().send("CMD_wrongversion+");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("You have a differnt version of the game then the host.")));
    QCOMPARE(chat->rosterView()->label_playtoscore->text(), QString());
    QCOMPARE(chat->rosterView()->label_minletters->text(), QString());
    QCOMPARE(chat->rosterView()->score(1)->text(), QStringLiteral("0"));
    QCOMPARE(chat->state().activeslot, 0);
    QVERIFY(!hasLine(*chat, QStringLiteral("5 LETTER MINIMUM!")));
}

void TestClient::aLateJoinerEntersTheRunningRound()
{
    ScriptedHost host;
    auto chat = joinScriptedHost(host, 2);
    QVERIFY(chat);
    host.player().send("CMD_loadstats+2+300+90+9+5+50+1+1+7+2+8+3+0+4+0+5+0+6+0+7+0+8+0+9+0+10+0");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("5 LETTER MINIMUM!")));
    RosterView *roster = chat->rosterView();
    QCOMPARE(roster->label_playtoscore->text(), QStringLiteral("Play to Score: 300"));
    QCOMPARE(roster->label_timeperturn->text(), QStringLiteral("Time: 90secs"));
    QCOMPARE(roster->label_timeperturn->property("tag").toInt(), 90);
    QCOMPARE(roster->label_boardsize->text(), QStringLiteral("Board Size: 5X5"));
    QCOMPARE(roster->label_minletters->text(), QStringLiteral("5 Letters Min"));
    QCOMPARE(roster->label_minletters->property("tag").toInt(), 5);
    QCOMPARE(roster->score(1)->text(), QStringLiteral("7"));
    QCOMPARE(roster->score(2)->text(), QStringLiteral("8"));
    QCOMPARE(chat->state().activeslot, 2);
    QCOMPARE(chat->state().secondsleft, 50);
    QVERIFY(chat->state().oddboard);
    PlayArea *play = chat->playArea();
    QCOMPARE(play->label_status->text(), QStringLiteral("Click or Type a Word!"));
    QVERIFY(play->button_rotate->isVisible());
    QCOMPARE(play->label_typingoff->text(), QStringLiteral("TYPING ON"));
    QCOMPARE(chat->wordEntry()->typingTag(), 1);
    QVERIFY(chat->wordEntry()->entryOpen());
    QVERIFY(chat->boardModel()->oddboard());
    QCOMPARE(chat->wordEntry()->minLetters(), 5);
    QVERIFY(chat->session()->turntime().isActive());
    QVERIFY(sounds_.played.contains(QStringLiteral("turn")));
}

void TestClient::versionMismatchIsReportedAndPlayGoesOn()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    ProtocolClient zed;
    QCOMPARE(zed.join(chat->server()->port(), "Zed", "0.9"), 2);
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Zed has a different version of the game then you.")));
    QVERIFY(zed.isConnected());
    QCOMPARE(chat->rosterView()->name(2)->text(), QStringLiteral("Zed"));
}

void TestClient::aFullGameSaysSoThenTheWindowCloses()
{
    auto server = startServer();
    std::vector<std::unique_ptr<ProtocolClient>> players;
    for (int i = 0; i < 10; ++i) {
        players.push_back(std::make_unique<ProtocolClient>());
        QVERIFY(players.back()->connectTo(server->port()));
    }
    QTRY_VERIFY(server->slot(10).inUse);
    auto chat = makeChat(
        {QStringLiteral("Kim"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, server->port());
    QSignalSpy closed(chat.get(), &Tchat::closed);
    QMessageBox *box = nullptr;
    QTRY_VERIFY((box = chat->findChild<QMessageBox *>(QStringLiteral("gameFullBox"))));
    QCOMPARE(box->text(), QStringLiteral("Game is full"));
    QVERIFY(box->isModal());
    // The host has closed the connection; the window waits for the player to read the box.
    QTRY_VERIFY(!chat->connection()->isConnected());
    QVERIFY(chat->isVisible());
    QCOMPARE(closed.count(), 0);
    box->accept();
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(!chat->isVisible());
}

void TestClient::losingTheHostClosesTheWindow()
{
    auto server = startServer();
    auto chat = makeChat(
        {QStringLiteral("Kim"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, server->port());
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("You are Connected.")));
    QSignalSpy closed(chat.get(), &Tchat::closed);
    server->shutdown();
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(!chat->isVisible());
    QVERIFY(QFile::exists(dir_->filePath(QStringLiteral("orinlobby.ini"))));
}

void TestClient::theLobbyHearsWhyTheGameEnded_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("the host quits") << "quit" << QByteArray("WWC/1 ended host-closed\n");
    QTest::newRow("the host player removes this one") << "remove" << QByteArray("WWC/1 ended removed\n");
    QTest::newRow("the game is full") << "full" << QByteArray("WWC/1 ended full\n");
    QTest::newRow("the host overruns the queue") << "flood" << QByteArray("WWC/1 ended lost\n");
    QTest::newRow("the player closes the window") << "close" << QByteArray();
}

void TestClient::theLobbyHearsWhyTheGameEnded()
{
    QFETCH(QString, end);
    QFETCH(QByteArray, line);
    auto server = startServer();
    ScriptedHost scripted;
    ProtocolClient hostPlayer;
    std::vector<std::unique_ptr<ProtocolClient>> others;
    std::unique_ptr<Tchat> chat;
    if (end == QLatin1String("flood")) {
        chat = joinScriptedHost(scripted, 2);
        QVERIFY(chat);
    } else {
        if (end == QLatin1String("full")) {
            for (int i = 0; i < 10; ++i) {
                others.push_back(std::make_unique<ProtocolClient>());
                QVERIFY(others.back()->connectTo(server->port()));
            }
            QTRY_VERIFY(server->slot(10).inUse);
        } else {
            QCOMPARE(hostPlayer.join(server->port(), "Ann"), 1);
        }
        chat = makeChat(
            {QStringLiteral("Kim"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, server->port());
        if (end != QLatin1String("full"))
            QTRY_VERIFY(admitted(*chat));
    }
    QTRY_VERIFY(companion_->hasPendingConnections());
    QTcpSocket *lobby = companion_->nextPendingConnection();
    QSignalSpy closed(chat.get(), &Tchat::closed);

    if (end == QLatin1String("quit"))
        server->shutdown();
    else if (end == QLatin1String("remove"))
        hostPlayer.send("CMD_kickhim+1+" + QByteArray::number(chat->state().myslot) + "+");
    else if (end == QLatin1String("flood"))
        scripted.player().sendRaw(QByteArray(70 * 1024, 'x'));
    else if (end == QLatin1String("close"))
        chat->close();
    if (end == QLatin1String("full")) {
        QMessageBox *box = nullptr;
        QTRY_VERIFY((box = chat->findChild<QMessageBox *>(QStringLiteral("gameFullBox"))));
        // Told as the connection closes, while the box waits for the player.
        QTRY_COMPARE(lobby->bytesAvailable(), qint64(line.size()));
        box->accept();
    }
    QTRY_COMPARE(closed.count(), 1);
    QTRY_VERIFY(lobby->state() != QAbstractSocket::ConnectedState || lobby->bytesAvailable() >= line.size());
    QCOMPARE(lobby->readAll(), line);
}

void TestClient::rosterMenuAsHost()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    ProtocolClient bob;
    QCOMPARE(bob.join(chat->server()->port(), "Bob"), 2);
    QTRY_COMPARE(chat->rosterView()->name(2)->text(), QStringLiteral("Bob"));
    RosterView *roster = chat->rosterView();

    QMenu *menu = openRosterMenu(*chat, 5);
    QVERIFY(!roster->RemoveFromGame1->isEnabled());
    QVERIFY(roster->SettoJustWatch1->isEnabled());
    QVERIFY(roster->UnsetJustWatch1->isEnabled());
    menu->close();

    menu = openRosterMenu(*chat, 2);
    QVERIFY(roster->RemoveFromGame1->isEnabled());
    QCOMPARE(menu->property("tag").toInt(), 2);
    // Watching starts only in a running game; playing again is always answered.
    roster->UnsetJustWatch1->trigger();
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Bob is now playing again")));

    openRosterMenu(*chat, 2);
    roster->RemoveFromGame1->trigger();
    QVERIFY(bob.waitForClosed());
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Bob has left the room.")));
}

void TestClient::rosterMenuAsJoinerOffersNothing()
{
    auto hostWindow = hostedChat();
    QTRY_VERIFY(admitted(*hostWindow));
    auto chat = makeChat({QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), QStringLiteral("false")},
        hostWindow->server()->port(), otherDir_->path());
    QTRY_COMPARE(chat->state().myslot, 2);
    QTRY_COMPARE(chat->rosterView()->name(1)->text(), QStringLiteral("Ann"));
    RosterView *roster = chat->rosterView();
    QMenu *menu = openRosterMenu(*chat, 1);
    QVERIFY(!roster->RemoveFromGame1->isEnabled());
    QVERIFY(!roster->SettoJustWatch1->isEnabled());
    QVERIFY(!roster->UnsetJustWatch1->isEnabled());
    menu->close();
}

void TestClient::spyListRemovalReachesTheHost()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    ProtocolClient bob;
    QCOMPARE(bob.join(chat->server()->port(), "Bob"), 2);
    Q_EMIT chat->spylist()->kickRequested(2);
    QVERIFY(bob.waitForClosed());
}

void TestClient::startGameOpensTheOptionsAndStartsTheGame()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    QSignalSpy started(chat->server(), &TServer::gameStarted);
    chat->menus()->StartGame1->trigger();
    QVERIFY(chat->gamestart()->isVisible());
    chat->gamestart()->setPlayToScore(200);
    chat->gamestart()->button_startClick();
    QVERIFY(started.wait());
    QCOMPARE(started.at(0).at(0).toString(), QStringLiteral("Ann"));
    QCOMPARE(started.at(0).at(1).toInt(), 200);
    QCOMPARE(QSettings(dir_->filePath(QStringLiteral("orinlobby.ini")), QSettings::IniFormat)
                 .value(QStringLiteral("Wendlewick/Playtoscore"))
                 .toInt(),
        200);
}

void TestClient::typedChatComesBackFromTheHost()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    ProtocolClient bob;
    QCOMPARE(bob.join(chat->server()->port(), "Bob"), 2);
    ChatInput *input = chat->chatPanel()->mychat();
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("hi \u00FF you"));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(input->text(), QString());
    // No text this window sends carries the terminator byte.
    QCOMPARE(bob.waitFor("CMD_chat"), QByteArray("CMD_chat+1+Ann chats: hi ? you|clBlack"));
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Ann chats: hi ? you")));
}

void TestClient::chatCommandsFollowTheirRules()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    ProtocolClient bob;
    QCOMPARE(bob.join(chat->server()->port(), "Bob"), 2);
    ChatInput *input = chat->chatPanel()->mychat();

    // Four characters go after a three-character test.
    input->setText(QStringLiteral("/mewave"));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(bob.waitFor("CMD_action"), QByteArray("CMD_action+1+Ann ave|clBlack"));
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Ann ave")));

    input->setText(QStringLiteral("/help"));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(input->text(), QString());
    input->setText(QStringLiteral("/me waves"));
    QTest::keyClick(input, Qt::Key_Return);
    // The next thing the host relays is the wave: "/help" sent nothing.
    QCOMPARE(bob.next(), QByteArray("CMD_action+1+Ann waves|clBlack"));

    // Quick phrases go out as actions too.
    chat->phraseBar()->b_phrase1Click(1);
    QCOMPARE(bob.next(), QByteArray("CMD_action+1+Ann says: Way To Go!|clBlack"));
}

void TestClient::relayedLinksAndColoursShowInTheWindow()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    ProtocolClient bob;
    QCOMPARE(bob.join(chat->server()->port(), "Bob"), 2);
    bob.send("CMD_chat+2+see www.example.com|clNavy");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Bob chats: see www.example.com")));
    ChatView *view = chat->chatPanel()->mainchat();
    QCOMPARE(formatAt(*view, QStringLiteral("Bob chats")).foreground().color(), QColor(0, 0, 128));
    QVERIFY(formatAt(*view, QStringLiteral("www.example.com")).isAnchor());
    view->mainchatJump(0);
    QCOMPARE(shell_.urls, QList<QUrl> {QUrl(QStringLiteral("http://www.example.com"))});

    // A player's newest colour repaints that player's earlier lines.
    bob.send("CMD_chat+2+again|clRed");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Bob chats: again")));
    // The first "Bob chats" in the view is the head of the first line.
    QCOMPARE(formatAt(*view, QStringLiteral("Bob chats")).foreground().color(), QColor(255, 0, 0));
}

void TestClient::chatterSoundsFollowTheirSwitch()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    ProtocolClient bob;
    QCOMPARE(bob.join(chat->server()->port(), "Bob"), 2);
    QVERIFY(chat->sounds().playChatterSounds());
    bob.send("CMD_playasound+2+wave3+");
    QTRY_VERIFY(sounds_.played.contains(QStringLiteral("wave3")));

    chat->menus()->PlayChatterSounds1->trigger();
    QVERIFY(!chat->sounds().playChatterSounds());
    bob.send("CMD_playasound+2+wave1+");
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Bob: <Chatter Sound> Doh")));
    QVERIFY(!sounds_.played.contains(QStringLiteral("wave1")));
}

void TestClient::dispatchTimerRestsWhileNothingWaits()
{
    auto chat = hostedChat();
    QTRY_VERIFY(admitted(*chat));
    HostConnection *connection = chat->connection();
    QTRY_COMPARE(connection->queued(), qsizetype(0));
    QVERIFY(!connection->isDispatching());

    ProtocolClient bob;
    QCOMPARE(bob.join(chat->server()->port(), "Bob"), 2);
    QTRY_VERIFY(hasLine(*chat, QStringLiteral("Bob is Connected.")));
    QTRY_VERIFY(!connection->isDispatching());
}

QTEST_MAIN(TestClient)
#include "tst_client.moc"
