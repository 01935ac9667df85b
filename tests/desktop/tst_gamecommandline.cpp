// The command line the lobby writes and the game reads.
#include "gamecommandline.h"

#include <QTest>

using Role = GameCommandLine::Role;
Q_DECLARE_METATYPE(GameCommandLine::Role)
Q_DECLARE_METATYPE(GameCommandLine)

class TestGameCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void argumentsGiveARole_data();
    void argumentsGiveARole();
    void whatTheLobbyWritesTheGameReadsBack_data();
    void whatTheLobbyWritesTheGameReadsBack();
};

void TestGameCommandLine::argumentsGiveARole_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Role>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::newRow("none: solo") << QStringList {} << Role::Solo << "You"
                                << "127.0.0.1";
    QTest::newRow("one") << QStringList {"Ann"} << Role::None << ""
                         << "";
    QTest::newRow("two") << QStringList {"Ann", "10.0.0.2"} << Role::None << ""
                         << "";
    QTest::newRow("host") << QStringList {"Ann", "10.0.0.2", "true"} << Role::Host << "Ann"
                          << "10.0.0.2";
    QTest::newRow("TRUE joins") << QStringList {"Ann", "10.0.0.2", "TRUE"} << Role::Join << "Ann"
                                << "10.0.0.2";
    QTest::newRow("a fourth changes nothing")
        << QStringList {"Ann", "10.0.0.2", "false", "true"} << Role::Join << "Ann"
        << "10.0.0.2";
    QTest::newRow("a plus in the name") << QStringList {"A+n", "h", "x"} << Role::Join << "A-n"
                                        << "h";
}

void TestGameCommandLine::argumentsGiveARole()
{
    QFETCH(QStringList, arguments);
    QFETCH(Role, role);
    QFETCH(QString, name);
    QFETCH(QString, address);
    const GameCommandLine line = GameCommandLine::parse(arguments);
    QCOMPARE(line.role, role);
    QCOMPARE(line.playername, name);
    QCOMPARE(line.hostaddress, address);
}

void TestGameCommandLine::whatTheLobbyWritesTheGameReadsBack_data()
{
    QTest::addColumn<GameCommandLine>("line");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("solo") << GameCommandLine::solo() << QStringList {};
    QTest::newRow("host") << GameCommandLine::host(QStringLiteral("Ann"))
                          << QStringList {"Ann", "127.0.0.1", "true"};
    QTest::newRow("join") << GameCommandLine::join(QStringLiteral("Ben"), QStringLiteral("[::1]:7000"))
                          << QStringList {"Ben", "[::1]:7000", "false"};
}

void TestGameCommandLine::whatTheLobbyWritesTheGameReadsBack()
{
    QFETCH(GameCommandLine, line);
    QFETCH(QStringList, arguments);
    QCOMPARE(line.arguments(), arguments);
    QVERIFY(GameCommandLine::parse(line.arguments()) == line);
}

QTEST_GUILESS_MAIN(TestGameCommandLine)
#include "tst_gamecommandline.moc"
