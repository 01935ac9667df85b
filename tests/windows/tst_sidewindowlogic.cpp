#include "gameoptions.h"
#include "helppages.h"
#include "weblinks.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSideWindowLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void installerIsNamedAfterTheLastPathSegment_data();
    void installerIsNamedAfterTheLastPathSegment();
    void downloadAddressCanBeOverriddenByTheEnvironment_data();
    void downloadAddressCanBeOverriddenByTheEnvironment();
    void placeholderAddressesLeadNowhere_data();
    void placeholderAddressesLeadNowhere();
    void boardSizeCodesDoNotFollowTheScreenOrder();
    void startGameFieldsCarryTheCodeNotTheSide();
    void helpPagesAreTaggedAfterTheirMemos();
    void theLobbyIsFoundBesideTheGameOrOnThePath_data();
    void theLobbyIsFoundBesideTheGameOrOnThePath();
};

void TestSideWindowLogic::cleanup()
{
    qunsetenv("WENDLEWICK_DOWNLOAD_URL");
    qunsetenv("WENDLEWICK_LOBBY_PATH");
}

void TestSideWindowLogic::installerIsNamedAfterTheLastPathSegment_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    const QString fallback = WebLinks::defaultInstallerName();
    QTest::newRow("plain") << "http://www.orinco.example/download/OrincoLobbySetup.exe"
                           << "OrincoLobbySetup.exe";
    QTest::newRow("query and fragment ignored") << "http://h.example/a/setup.exe?v=2/x#top"
                                                << "setup.exe";
    QTest::newRow("escaped blank") << "http://h.example/My%20Setup.exe"
                                   << "My Setup.exe";
    QTest::newRow("folder address") << "http://h.example/download/" << fallback;
    QTest::newRow("no path") << "http://h.example" << fallback;
    QTest::newRow("dot dot") << "http://h.example/a/.." << fallback;
    QTest::newRow("escaped slash") << "http://h.example/a/..%2F..%2Fevil.exe"
                                   << "evil.exe";
    QTest::newRow("escaped backslash") << "http://h.example/a/..%5Cevil.exe" << fallback;
}

void TestSideWindowLogic::installerIsNamedAfterTheLastPathSegment()
{
    QFETCH(QString, address);
    QFETCH(QString, name);
    QCOMPARE(WebLinks::installerFileName(QUrl(address)), name);
}

void TestSideWindowLogic::downloadAddressCanBeOverriddenByTheEnvironment_data()
{
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<bool>("overridden");
    QTest::newRow("http") << QByteArray("http://127.0.0.1:8080/setup.exe") << true;
    QTest::newRow("https") << QByteArray("https://mirror.example/setup.exe") << true;
    QTest::newRow("file scheme refused") << QByteArray("file:///etc/passwd") << false;
    QTest::newRow("not an address") << QByteArray("::::") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestSideWindowLogic::downloadAddressCanBeOverriddenByTheEnvironment()
{
    QFETCH(QByteArray, environment);
    QFETCH(bool, overridden);
    qputenv("WENDLEWICK_DOWNLOAD_URL", environment);
    const QUrl address = WebLinks::downloadAddress();
    if (overridden)
        QCOMPARE(address, QUrl(QString::fromUtf8(environment)));
    else
        QCOMPARE(address.host(), QStringLiteral("www.orinco.example"));
    QCOMPARE(WebLinks::downloadAddressGiven(), overridden);
    QVERIFY(!WebLinks::installerFileName(address).isEmpty());
}

void TestSideWindowLogic::placeholderAddressesLeadNowhere_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("reachable");
    QTest::newRow("the built-in installer") << WebLinks::downloadAddress().toString() << false;
    QTest::newRow("the maker's home page") << WebLinks::homePage().toString() << false;
    QTest::newRow("the solo page") << WebLinks::soloPage().toString() << false;
    QTest::newRow("example.com") << "https://EXAMPLE.com/x" << false;
    QTest::newRow(".invalid") << "http://lobby.invalid/" << false;
    QTest::newRow("a real-looking site") << "https://www.debian.org/" << true;
    QTest::newRow("a name that only ends alike") << "http://myexample.org/" << true;
    QTest::newRow("this machine") << "http://127.0.0.1:8080/setup.exe" << true;
    QTest::newRow("no host") << "file:///etc/passwd" << false;
}

void TestSideWindowLogic::placeholderAddressesLeadNowhere()
{
    QFETCH(QString, address);
    QFETCH(bool, reachable);
    QCOMPARE(WebLinks::isReachable(QUrl(address)), reachable);
}

void TestSideWindowLogic::boardSizeCodesDoNotFollowTheScreenOrder()
{
    QStringList captions;
    QList<int> codes;
    for (const BoardSizeChoice &choice : GameOptions::boardSizes()) {
        captions << QString::fromLatin1(choice.caption);
        codes << choice.code;
    }
    QCOMPARE(captions, (QStringList {"4X4", "5X5", "6X6", "7X7", "8X8", "9X9", "10X10", "Random"}));
    QCOMPARE(codes, (QList<int> {4, 9, 5, 10, 6, 11, 7, 8}));
    QCOMPARE(GameOptions::boardSizeForCode(11)->side, 9);
    QCOMPARE(GameOptions::boardSizeForCode(8)->side, 0);
    QVERIFY(!GameOptions::boardSizeForCode(3));
    QVERIFY(!GameOptions::boardSizeForCode(12));
}

void TestSideWindowLogic::startGameFieldsCarryTheCodeNotTheSide()
{
    GameOptions options;
    QCOMPARE(
        options.startGameFields(QStringLiteral("Ann")), (QStringList {"Ann", "100", "60", "7", "4", "0"}));
    options.playToScore = 10000;
    options.sizeCode = 11;
    QCOMPARE(
        options.startGameFields(QStringLiteral("You")), (QStringList {"You", "10000", "60", "11", "4", "0"}));
}

void TestSideWindowLogic::helpPagesAreTaggedAfterTheirMemos()
{
    QStringList names;
    for (const HelpPage &page : HelpPages::pages()) {
        names << page.caption + QLatin1Char('=') + page.objectName();
        QVERIFY(!page.html.trimmed().isEmpty());
    }
    QCOMPARE(names,
        (QStringList {"Overview=memo1", "Connecting=memo2", "Game Play=memo3", "Scoring=memo4",
            "Documentation=memo5", "License=memo6", "The Lobby=memo11"}));
}

void TestSideWindowLogic::theLobbyIsFoundBesideTheGameOrOnThePath_data()
{
    QTest::addColumn<bool>("overridden");
    QTest::addColumn<bool>("onPath");
    QTest::addColumn<QString>("found");
    QTest::newRow("the environment says where") << true << true << "/opt/lobby/wendlewick-lobby";
    QTest::newRow("on the PATH") << false << true << "PATH";
    QTest::newRow("nowhere") << false << false << "";
}

void TestSideWindowLogic::theLobbyIsFoundBesideTheGameOrOnThePath()
{
    QFETCH(bool, overridden);
    QFETCH(bool, onPath);
    QFETCH(QString, found);
    QTemporaryDir bin;
    const QString lobby = bin.filePath(QStringLiteral("wendlewick-lobby"));
    if (onPath) {
        QFile file(lobby);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    if (overridden)
        qputenv("WENDLEWICK_LOBBY_PATH", "/opt/lobby/wendlewick-lobby");
    const QString seen = WebLinks::lobbyProgramPath();
    qputenv("PATH", path);
    QCOMPARE(seen, found == QLatin1String("PATH") ? lobby : found);
}

QTEST_GUILESS_MAIN(TestSideWindowLogic)
#include "tst_sidewindowlogic.moc"
