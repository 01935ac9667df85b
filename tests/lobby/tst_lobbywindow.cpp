// The lobby's window driven through its widgets: a game found on the network is
// joined by mouse and by keyboard (a fake launcher stands in for the game), an
// address without a game is explained, and every control has a name.
#include "accessiblewalk.h"
#include "communitylobby.h"
#include "companionlistener.h"
#include "discoveryresponder.h"
#include "fakehostenvironment.h"
#include "fakelauncher.h"
#include "hostannouncer.h"
#include "lobby.h"
#include "lobbywindow.h"
#include "tserver.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>

class TestLobbyWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void joinsADiscoveredGameThroughTheWidgets_data();
    void joinsADiscoveredGameThroughTheWidgets();
    void anAddressWithoutAGameIsExplained();
    void everyControlHasAnAccessibleName_data();
    void everyControlHasAnAccessibleName();

private:
    void open(quint16 gamePort);
    template<typename T>
    T *find(const char *name) const
    {
        return window_->findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> dir_;
    FakeLauncher launcher_;
    FakeHostEnvironment env_;
    std::unique_ptr<TServer> server_;
    std::unique_ptr<HostAnnouncer> announcer_;
    std::unique_ptr<Lobby> lobby_;
    std::unique_ptr<LobbyWindow> window_;
};

void TestLobbyWindow::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    launcher_.started.clear();
    server_ = std::make_unique<TServer>(env_, seededDraw(3));
    server_->setDispatchInterval(0);
    server_->listen(0, QHostAddress::LocalHost);
    announcer_ = std::make_unique<HostAnnouncer>(*server_, DiscoveryConfig::loopback());
    QVERIFY(announcer_->start());
}

void TestLobbyWindow::cleanup()
{
    window_.reset();
    lobby_.reset();
    announcer_.reset();
    server_.reset();
    dir_.reset();
}

void TestLobbyWindow::open(quint16 gamePort)
{
    Lobby::Setup setup;
    setup.settingsPath = dir_->filePath(QStringLiteral("orinlobby.ini"));
    setup.tallyFolder = dir_->path();
    setup.markerFolder = dir_->path();
    setup.companionPort = 0;
    setup.gamePort = gamePort;
    setup.discovery = DiscoveryConfig::loopback({{QHostAddress::LocalHost, announcer_->responder().port()}});
    setup.launcher = &launcher_;
    lobby_ = std::make_unique<Lobby>(setup);
    window_ = std::make_unique<LobbyWindow>(*lobby_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void TestLobbyWindow::joinsADiscoveredGameThroughTheWidgets_data()
{
    QTest::addColumn<bool>("keyboard");
    QTest::addColumn<bool>("otherPort"); // the game is not on the game's own port
    QTest::newRow("mouse") << false << false;
    QTest::newRow("keyboard only") << true << false;
    QTest::newRow("another port") << false << true;
}

void TestLobbyWindow::joinsADiscoveredGameThroughTheWidgets()
{
    QFETCH(bool, keyboard);
    QFETCH(bool, otherPort);
    open(otherPort ? quint16(server_->port() + 1) : server_->port());
    const QString address
        = otherPort ? QStringLiteral("127.0.0.1:%1").arg(server_->port()) : QStringLiteral("127.0.0.1");
    auto *list = find<QTreeView>("list_games");
    QTRY_COMPARE(list->model()->rowCount(), 1);
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("(nobody yet)"));

    auto *name = find<QLineEdit>("edit_name");
    QTRY_COMPARE(QApplication::focusWidget(), name);
    QTest::keyClicks(name, QStringLiteral("Ben"));
    if (keyboard) {
        // Name, "Play Solo", "Host a Game", "Refresh", then the list.
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(find<QComboBox>("combo_address")->currentText(), QStringLiteral("127.0.0.1"));
        QTest::keyClick(list, Qt::Key_Return);
    } else {
        const QRect row = list->visualRect(list->model()->index(0, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(find<QComboBox>("combo_address")->currentText(), QStringLiteral("127.0.0.1"));
        QTest::mouseClick(find<QPushButton>("button_join"), Qt::LeftButton);
    }

    QTRY_COMPARE(launcher_.started.size(), 1);
    QCOMPARE(launcher_.started.at(0), (QStringList {"Ben", address, "false"}));
    QVERIFY(!window_->isVisible());
    QCOMPARE(list->model()->rowCount(), 0);
    QCOMPARE(find<QComboBox>("combo_address")->itemText(0), address);

    // The game's companion connection comes and goes: the lobby is back.
    QTcpSocket game;
    game.connectToHost(QHostAddress::LocalHost, lobby_->companion()->port());
    QVERIFY(game.waitForConnected(5000));
    QTRY_COMPARE(lobby_->companion()->connections(), 1);
    game.disconnectFromHost();
    QTRY_VERIFY(window_->isVisible());
    QCOMPARE(find<QLabel>("label_status")->text(), QStringLiteral("The game has ended."));
    // The lobby asks the network again at once: nothing says games are not listed.
    QVERIFY(!find<QLabel>("label_nogames")->text().contains(QLatin1String("not listed")));
    QTRY_COMPARE(list->model()->rowCount(), 1);
}

void TestLobbyWindow::anAddressWithoutAGameIsExplained()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    open(port);
    QTest::keyClicks(find<QLineEdit>("edit_name"), QStringLiteral("Ben"));
    auto *address = find<QComboBox>("combo_address");
    QTest::keyClicks(address->lineEdit(), QStringLiteral("127.0.0.1"));
    QTest::keyClick(address->lineEdit(), Qt::Key_Return);
    QTRY_COMPARE(
        find<QLabel>("label_status")->text(), QStringLiteral("Nobody is hosting a game at 127.0.0.1."));
    QVERIFY(window_->isVisible());
    QVERIFY(find<QPushButton>("button_join")->isEnabled());
    QVERIFY(launcher_.started.isEmpty());
}

void TestLobbyWindow::everyControlHasAnAccessibleName_data()
{
    QTest::addColumn<QString>("dialog"); // the object name of a dialog the window opens
    QTest::addColumn<int>("controls");
    QTest::newRow("lobby") << QString() << 7;
    QTest::newRow("internet settings") << "communitydialog" << 8;
    QTest::newRow("password") << "dialog_password" << 3;
}

void TestLobbyWindow::everyControlHasAnAccessibleName()
{
    QFETCH(QString, dialog);
    QFETCH(int, controls);
    open(server_->port());
    QTRY_COMPARE(find<QTreeView>("list_games")->model()->rowCount(), 1);
    QWidget *shown = window_.get();
    if (dialog == QLatin1String("communitydialog"))
        window_->openCommunitySettings();
    else if (!dialog.isEmpty())
        Q_EMIT lobby_->community()->passwordNeeded(QStringLiteral("ann@lobby.example.org"));
    if (!dialog.isEmpty()) {
        shown = window_->findChild<QDialog *>(dialog);
        QVERIFY(shown);
        QVERIFY(QTest::qWaitForWindowExposed(shown));
    }
    const AccessibleWalk::Result found = AccessibleWalk::walk(shown);
    QVERIFY2(found.controls >= controls, qPrintable(QString::number(found.controls)));
    QVERIFY2(found.unnamed.isEmpty(), qPrintable(found.unnamed.join(QLatin1Char('\n'))));
    QVERIFY2(found.unreachable.isEmpty(), qPrintable(found.unreachable.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestLobbyWindow)
#include "tst_lobbywindow.moc"
