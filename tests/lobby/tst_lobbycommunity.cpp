// The lobby's internet side driven through its windows, against a real Prosody on
// loopback: a lobby hosting a game announces it in the room and another lobby lists
// it, follows its changes and joins it; the room's chat goes both ways; an invitation's
// link joins; the game goes from the list when its host stops; announcements that
// are broken or point nowhere are not listed; passwords never reach the settings file.
#include "communitylobby.h"
#include "discoveryresponder.h"
#include "fakehostenvironment.h"
#include "fakelauncher.h"
#include "fakepasswordstore.h"
#include "gamelink.h"
#include "gamelistmodel.h"
#include "gamepayload.h"
#include "hostannouncer.h"
#include "icegateway.h"
#include "lobby.h"
#include "lobbywindow.h"
#include "peoplemodel.h"
#include "prosodyserver.h"
#include "protocolclient.h"
#include "roomchattext.h"
#include "roomclient.h"
#include "tserver.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>

#include <memory>

namespace {

struct Player
{
    QTemporaryDir dir;
    FakeLauncher launcher;
    FakePasswordStore passwords;
    std::unique_ptr<Lobby> lobby;
    std::unique_ptr<LobbyWindow> window;

    template<typename T>
    T *find(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QString chat() const { return find<QTextBrowser>("view_chat")->toPlainText(); }
};

} // namespace

class TestLobbyCommunity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void aHostedGameIsAnnouncedListedFollowedAndJoined();
    void announcementsThatPointNowhereAreNotListed();
    void withoutAServerTheLobbySaysHowToAddOne();
    void aPasswordGoesToTheKeyringNeverToTheFile_data();
    void aPasswordGoesToTheKeyringNeverToTheFile();

private:
    std::unique_ptr<Player> open(const QString &name, const QString &server);

    ProsodyServer prosody_;
    FakeHostEnvironment env_;
    std::unique_ptr<TServer> game_;
    std::unique_ptr<HostAnnouncer> gameAnnouncer_;
};

void TestLobbyCommunity::initTestCase()
{
    ProsodyServer::Options options;
    options.modules << QStringLiteral("ipcheck");
    options.accounts = true;
    QVERIFY2(prosody_.start(options), qPrintable(prosody_.errorString() + prosody_.log()));
}

void TestLobbyCommunity::init()
{
    // The game a lobby "starts" to host: a host in this process, answering discovery
    // on a loopback port of its own.
    game_ = std::make_unique<TServer>(env_, seededDraw(5));
    game_->setDispatchInterval(0);
    game_->listen(0, QHostAddress::LocalHost);
    gameAnnouncer_ = std::make_unique<HostAnnouncer>(*game_, DiscoveryConfig::loopback());
    QVERIFY(gameAnnouncer_->start());
}

void TestLobbyCommunity::cleanup()
{
    gameAnnouncer_.reset();
    game_.reset();
}

std::unique_ptr<Player> TestLobbyCommunity::open(const QString &name, const QString &server)
{
    auto player = std::make_unique<Player>();
    const QString ini = player->dir.filePath(QStringLiteral("orinlobby.ini"));
    QFile file(ini);
    if (file.open(QIODevice::WriteOnly))
        file.write(
            QStringLiteral("[Lobby]\r\nName=%1\r\n[Community]\r\nServer=%2\r\n").arg(name, server).toUtf8());
    file.close();
    Lobby::Setup setup;
    setup.settingsPath = ini;
    setup.tallyFolder = player->dir.path();
    setup.markerFolder = player->dir.path();
    setup.companionPort = 0;
    setup.gamePort = game_->port();
    setup.discovery.enabled = false;
    setup.launcher = &player->launcher;
    setup.community.passwords = &player->passwords;
    setup.community.discoveryPort = gameAnnouncer_->responder().port();
    setup.community.authorities = prosody_.authorities();
    player->lobby = std::make_unique<Lobby>(setup);
    player->window = std::make_unique<LobbyWindow>(*player->lobby);
    player->window->show();
    return player;
}

void TestLobbyCommunity::aHostedGameIsAnnouncedListedFollowedAndJoined()
{
    const QString server = QStringLiteral("localhost:%1").arg(prosody_.port());
    auto anna = open(QStringLiteral("Anna"), server);
    auto ben = open(QStringLiteral("Ben"), server);
    QVERIFY(QTest::qWaitForWindowExposed(ben->window.get()));
    QTRY_VERIFY2(anna->lobby->community()->isInRoom(), qPrintable(anna->lobby->community()->status()));
    QTRY_VERIFY(ben->lobby->community()->isInRoom());
    QVERIFY(ben->find<QPushButton>("button_signin")->text().contains(QStringLiteral("Out")));

    QTest::mouseClick(anna->find<QPushButton>("button_host"), Qt::LeftButton);
    QCOMPARE(anna->launcher.started.value(0), (QStringList {"Anna", "127.0.0.1", "true"}));
    QVERIFY(anna->window->isMinimized() || !anna->window->isActiveWindow());
    ProtocolClient annaInGame;
    QVERIFY(annaInGame.join(game_->port(), "Anna") == 1);

    auto *internet = ben->find<QTreeView>("list_internet");
    QTRY_COMPARE_WITH_TIMEOUT(internet->model()->rowCount(), 1, 10000);
    QTRY_COMPARE(internet->model()->index(0, 0).data().toString(), QStringLiteral("Anna"));
    QCOMPARE(
        internet->model()->index(0, 6).data().toString(), QStringLiteral("127.0.0.1:%1").arg(game_->port()));
    QCOMPARE(internet->model()->index(0, 7).data().toString(), QStringLiteral("Anna on localhost"));
    QVERIFY(
        anna->lobby->community()->status().contains(QStringLiteral("announced in the room at 127.0.0.1")));
    // The hosting lobby answers offers to connect through routers, and says so.
    QVERIFY(anna->lobby->community()->gateway().isAccepting());
    QTRY_VERIFY(ben->lobby->community()->games()->game(0).acceptsIce);

    // A change reaches the other lobby within a few seconds.
    ProtocolClient cleo;
    QVERIFY(cleo.join(game_->port(), "Cleo") == 2);
    QTRY_COMPARE_WITH_TIMEOUT(
        internet->model()->index(0, 1).data().toString(), QStringLiteral("2 of 10"), 5000);

    // The room's chat, both ways, through the widgets.
    QTest::keyClicks(
        ben->find<QLineEdit>("edit_chat"), QStringLiteral("hello Anna, see https://example.org."));
    QTest::keyClick(ben->find<QLineEdit>("edit_chat"), Qt::Key_Return);
    QTRY_VERIFY(anna->chat().contains(QStringLiteral("Ben: hello Anna, see https://example.org.")));
    QVERIFY(anna->find<QTextBrowser>("view_chat")
                ->toHtml()
                .contains(QStringLiteral("href=\"https://example.org\"")));
    QTest::keyClicks(anna->find<QLineEdit>("edit_chat"), QStringLiteral("hi Ben"));
    QTest::mouseClick(anna->find<QPushButton>("button_say"), Qt::LeftButton);
    QTRY_VERIFY(ben->chat().contains(QStringLiteral("Anna: hi Ben")));

    // Anna invites Ben from the people list; Ben's link joins after the usual look.
    auto *people = anna->find<QListView>("list_people");
    const int benRow = anna->lobby->community()->people()->rowOf(QStringLiteral("Ben"));
    QVERIFY(benRow >= 0);
    people->setCurrentIndex(people->model()->index(benRow, 0));
    QTRY_VERIFY(anna->find<QPushButton>("button_invite")->isEnabled());
    QTest::mouseClick(anna->find<QPushButton>("button_invite"), Qt::LeftButton);
    QTRY_VERIFY(ben->chat().contains(QStringLiteral("invites you to a game")));
    const QString link = RoomChatText::firstGameLink(ben->chat());
    QCOMPARE(link, GameLink::format(QStringLiteral("127.0.0.1"), game_->port()));
    // The inviter goes with the link, so that their game is the one offered a way in.
    QVERIFY(ben->find<QTextBrowser>("view_chat")
                ->toHtml()
                .contains(QStringLiteral("href=\"%1#Anna\"").arg(link)));
    // Ben clicks it in the chat.
    auto *chat = ben->find<QTextBrowser>("view_chat");
    QTextCursor onLink = chat->document()->find(link);
    QVERIFY(!onLink.isNull());
    onLink.setPosition(onLink.selectionStart() + 2);
    chat->setTextCursor(onLink);
    chat->ensureCursorVisible();
    QTest::mouseClick(chat->viewport(), Qt::LeftButton, {}, chat->cursorRect(onLink).center());
    QTRY_COMPARE(ben->launcher.started.size(), 1);
    // The game's port is the one this lobby joins by default, so the address goes bare.
    QCOMPARE(ben->launcher.started.at(0), (QStringList {"Ben", "127.0.0.1", "false"}));
    ben->launcher.end();

    // Ben also joins by choosing the game in the list.
    QTRY_VERIFY(ben->window->isVisible());
    const QRect row = internet->visualRect(internet->model()->index(0, 0));
    QTest::mouseClick(internet->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseClick(ben->find<QPushButton>("button_join"), Qt::LeftButton);
    QTRY_COMPARE(ben->launcher.started.size(), 2);
    QCOMPARE(ben->launcher.started.at(1), ben->launcher.started.at(0));
    QCOMPARE(ben->lobby->icePeer(), QStringLiteral("Anna"));

    // Anna's game ends: it goes from Ben's list.
    anna->launcher.end();
    QTRY_COMPARE_WITH_TIMEOUT(internet->model()->rowCount(), 0, 5000);
    QVERIFY(!anna->lobby->community()->canInvite());
}

void TestLobbyCommunity::announcementsThatPointNowhereAreNotListed()
{
    auto ben = open(QStringLiteral("Ben"), QStringLiteral("localhost:%1").arg(prosody_.port()));
    QTRY_VERIFY(ben->lobby->community()->isInRoom());
    DiscoveryWire::Game game;
    game.port = 7772;
    game.version = "1.0.7";
    const QList<XmlPayload> payloads {
        GamePayload::encode(game, QStringLiteral("0.0.0.0"), 7772),
        GamePayload::encode(game, QStringLiteral("224.0.0.1"), 7772),
        XmlPayload {GamePayload::elementName, GamePayload::ns,
            {{QStringLiteral("address"), QStringLiteral("192.0.2.1")},
                {QStringLiteral("port"), QStringLiteral("7772")}},
            QStringLiteral("bm90IGEgZGF0YWdyYW0="), {}},
        GamePayload::encode(game, QStringLiteral("192.0.2.9"), 7772),
    };
    std::vector<std::unique_ptr<RoomClient>> seats;
    for (int i = 0; i < payloads.size(); ++i) {
        seats.push_back(std::make_unique<RoomClient>());
        seats.back()->setPresencePayload(payloads.at(i));
        CommunityAccount account;
        account.domain = prosody_.domain();
        account.port = prosody_.port();
        account.nick = QStringLiteral("Seat %1").arg(i);
        account.authorities = prosody_.authorities();
        seats.back()->start(account);
    }
    // Everyone is in the room, but only the game at a real address is listed.
    QTRY_COMPARE(ben->lobby->community()->people()->rowCount(), 1 + int(payloads.size()));
    QTRY_COMPARE(ben->lobby->community()->games()->rowCount(), 1);
    QCOMPARE(ben->lobby->community()->games()->game(0).address, QStringLiteral("192.0.2.9"));
}

void TestLobbyCommunity::withoutAServerTheLobbySaysHowToAddOne()
{
    auto ben = open(QStringLiteral("Ben"), QString());
    QVERIFY(!ben->find<QPushButton>("button_signin")->isEnabled());
    QVERIFY(ben->find<QLabel>("label_community")->text().contains(QStringLiteral("Internet Settings")));
    QVERIFY(ben->find<QLabel>("label_nointernet")->text().contains(QStringLiteral("Add a community server")));
    QVERIFY(!ben->find<QLineEdit>("edit_chat")->isEnabled());
}

void TestLobbyCommunity::aPasswordGoesToTheKeyringNeverToTheFile_data()
{
    QTest::addColumn<bool>("keyring");
    QTest::newRow("with a keyring") << true;
    QTest::newRow("without a keyring: asked, not stored") << false;
}

void TestLobbyCommunity::aPasswordGoesToTheKeyringNeverToTheFile()
{
    QFETCH(bool, keyring);
    QVERIFY(prosody_.addUser(QStringLiteral("hana"), QStringLiteral("s3cret-word")));
    auto hana = open(QStringLiteral("Hana"), QString());
    hana->passwords.works = keyring;
    CommunityLobby &community = *hana->lobby->community();
    QSignalSpy asked(&community, &CommunityLobby::passwordNeeded);
    const QString account = QStringLiteral("hana@") + prosody_.usersDomain();
    community.apply({QStringLiteral("localhost:%1").arg(prosody_.port()), {}, account, {}, {}}, QString());
    QVERIFY(asked.wait(5000));
    QCOMPARE(asked.at(0).at(0).toString(), account);
    community.providePassword(QStringLiteral("s3cret-word"));
    QTRY_VERIFY2(community.isInRoom(), qPrintable(community.status()));
    QCOMPARE(hana->passwords.passwords.value(account), keyring ? QStringLiteral("s3cret-word") : QString());
    QFile ini(hana->dir.filePath(QStringLiteral("orinlobby.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray written = ini.readAll();
    QVERIFY(written.contains(account.toUtf8()));
    QVERIFY(!written.contains("s3cret"));
}

QTEST_MAIN(TestLobbyCommunity)
#include "tst_lobbycommunity.moc"
