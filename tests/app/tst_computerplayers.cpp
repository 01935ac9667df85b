// The host player's window adds computer players to the game it hosts, and removes
// them like anyone else from their roster row.
#include "botplayer.h"
#include "computerplayers.h"
#include "fakeshell.h"
#include "mainmenus.h"
#include "protocolclient.h"
#include "recordingsoundplayer.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "tchat.h"
#include "tserver.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestComputerPlayers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(data_.isValid());
        qputenv("WENDLEWICK_DATA_DIR", data_.path().toLocal8Bit());
        QVERIFY(companion_.listen(QHostAddress::LocalHost, 0));
    }

    void theMenuIsOfferedOnlyToTheHost_data()
    {
        QTest::addColumn<bool>("hosts");
        QTest::newRow("host") << true;
        QTest::newRow("joiner") << false;
    }

    void theMenuIsOfferedOnlyToTheHost()
    {
        QFETCH(bool, hosts);
        std::unique_ptr<Tchat> hostWindow;
        quint16 port = 0;
        if (!hosts) {
            hostWindow
                = makeChat({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("true")});
            QTRY_COMPARE(hostWindow->state().myslot, 1);
            port = hostWindow->server()->port();
        }
        auto chat = makeChat(
            {QStringLiteral("Bob"), QStringLiteral("127.0.0.1"), hosts ? QStringLiteral("true") : QString()},
            port);
        QTRY_VERIFY(chat->state().myslot != 0);
        MainMenus *menus = chat->menus();
        QCOMPARE(menus->AddComputerPlayer1->title(), QStringLiteral("Add Computer Player"));
        QCOMPARE(menus->AddComputerPlayer1->menuAction()->isEnabled(), hosts);
        QStringList captions;
        for (QAction *item : menus->addComputerPlayerItems)
            captions << item->text();
        QCOMPARE(captions, (QStringList {"Easy", "Medium", "Hard"}));
        // Even when asked directly, a window that does not host adds nobody.
        chat->addComputerPlayer(BotStrength::Easy);
        QCOMPARE(chat->computerPlayers()->count(), hosts ? 1 : 0);
    }

    void anAddedPlayerJoinsAndRemoveFromGameDeletesIt()
    {
        auto chat = makeChat({});
        QTRY_COMPARE(chat->state().myslot, 1);
        chat->menus()->addComputerPlayerItems[2]->trigger();
        QTRY_COMPARE(chat->roster()->row(2).name, QStringLiteral("Klot"));
        QCOMPARE(chat->computerPlayers()->count(), 1);
        QPointer<BotPlayer> bot = chat->computerPlayers()->players().first();
        QCOMPARE(bot->level(), BotStrength::Hard);
        chat->menus()->addComputerPlayerItems[0]->trigger();
        QTRY_COMPARE(chat->roster()->row(3).name, QStringLiteral("Klock"));

        // "Remove From Game" on the first one's roster row.
        QLabel *name = chat->rosterView()->name(2);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), name->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(name, &event);
        QVERIFY(chat->rosterView()->RemoveFromGame1->isEnabled());
        chat->rosterView()->RemoveFromGame1->trigger();
        chat->rosterView()->popup_kick->close();
        QTRY_VERIFY(bot.isNull());
        QTRY_VERIFY(chat->roster()->isWaiting(2));
        QCOMPARE(chat->computerPlayers()->count(), 1);

        // The freed name and slot go to the next one.
        chat->menus()->addComputerPlayerItems[1]->trigger();
        QTRY_COMPARE(chat->roster()->row(2).name, QStringLiteral("Klot"));
    }

private:
    std::unique_ptr<Tchat> makeChat(const QStringList &arguments, quint16 port = 0)
    {
        folders_.push_back(std::make_unique<QTemporaryDir>());
        const QString files = folders_.back()->path();
        Tchat::Setup setup;
        setup.dictionaryFolder = files;
        setup.settingsPath = files + QStringLiteral("/orinlobby.ini");
        setup.markerFolder = files;
        setup.tallyFolder = files;
        setup.arguments = arguments;
        setup.gamePort = port;
        setup.listenAddress = QHostAddress::LocalHost;
        setup.companionPort = companion_.serverPort();
        setup.soundPlayer = &sounds_;
        setup.shell = &shell_;
        auto chat = std::make_unique<Tchat>(setup);
        chat->show();
        return chat;
    }

    QTemporaryDir data_;
    QTcpServer companion_;
    RecordingSoundPlayer sounds_;
    FakeShell shell_;
    std::vector<std::unique_ptr<QTemporaryDir>> folders_;
};

QTEST_MAIN(TestComputerPlayers)
#include "tst_computerplayers.moc"
