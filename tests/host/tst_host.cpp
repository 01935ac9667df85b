// The game host over real loopback connections: admission, roster, relays, judging,
// rounds, wins and the defences against hostile peers. The host's countdown is
// driven by hand (timer1Timer) where exact seconds matter, and runs on a short
// second where a whole game plays by itself.
#include "fakehostenvironment.h"
#include "fieldreader.h"
#include "protocolclient.h"
#include "tserver.h"
#include "wire.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <vector>

using Wire::Tile;

namespace {

// The scripted 4x4 board (rows and columns 3 to 6):
//   C A T S
//   E A M X
//   R T E Q
//   S O N G
const QByteArray boardLetters = "catseamxrteqsong";

const QMap<QByteArray, QList<Tile>> paths = {
    {"CAT", {{3, 3}, {3, 4}, {3, 5}}},
    {"TAC", {{3, 5}, {3, 4}, {3, 3}}},
    {"CATS", {{3, 3}, {3, 4}, {3, 5}, {3, 6}}},
    {"TEAM", {{5, 4}, {5, 5}, {4, 4}, {4, 5}}},
    {"TA", {{3, 5}, {3, 4}}},
    // A snake through the first three rows.
    {"CATSXMAERTE", {{3, 3}, {3, 4}, {3, 5}, {3, 6}, {4, 6}, {4, 5}, {4, 4}, {4, 3}, {5, 3}, {5, 4}, {5, 5}}},
    {"CATSXMAERTEQ",
        {{3, 3}, {3, 4}, {3, 5}, {3, 6}, {4, 6}, {4, 5}, {4, 4}, {4, 3}, {5, 3}, {5, 4}, {5, 5}, {5, 6}}},
    // Fourteen tiles: one too many.
    {"LONG",
        {{3, 3}, {3, 4}, {3, 5}, {3, 6}, {4, 6}, {4, 5}, {4, 4}, {4, 3}, {5, 3}, {5, 4}, {5, 5}, {5, 6},
            {6, 6}, {6, 5}}},
    // C, A, then C again.
    {"REUSE", {{3, 3}, {3, 4}, {3, 3}}},
    // C, then T two columns away.
    {"GAP", {{3, 3}, {3, 5}, {3, 6}}},
    // Off the played square: reads "*".
    {"OUTSIDE", {{2, 3}, {3, 3}, {3, 4}}},
};

QByteArray claim(int slot, const QByteArray &word)
{
    const QList<Tile> tiles = paths.value(word);
    return Wire::ToHost::playerdone(slot, tiles).chopped(1);
}

// A host with a fake word list, a scripted board and clients to play it.
class Game
{
public:
    FakeHostEnvironment env;
    ScriptedDraw script {boardLetters};
    std::unique_ptr<TServer> server;
    std::vector<std::unique_ptr<ProtocolClient>> clients;

    explicit Game(int secondMs = 3600 * 1000, int dispatchMs = 1)
    {
        env.words = {"CAT", "CATS", "TEAM", "TAC-NOT", "CATSXMAERTE", "CATSXMAERTEQ"};
        server = std::make_unique<TServer>(env, script.draw());
        server->setSecondLength(secondMs);
        server->setDispatchInterval(dispatchMs);
        server->listen(0, QHostAddress::LocalHost);
    }

    quint16 port() const { return server->port(); }

    ProtocolClient &join(const QByteArray &name, const QByteArray &version = "1.0.7")
    {
        clients.push_back(std::make_unique<ProtocolClient>());
        ProtocolClient &c = *clients.back();
        const int slot = c.join(port(), name, version);
        if (!slot)
            qWarning("join failed for %s", name.constData());
        // Every other player has heard of the newcomer (nothing is consumed).
        const QByteArray notice = "CMD_newplayerinfo+" + QByteArray::number(slot) + "+";
        for (auto &other : clients) {
            QDeadlineTimer deadline(5000);
            while (other->isConnected() && !deadline.hasExpired()
                && std::none_of(other->messages().begin(), other->messages().end(),
                    [&](const QByteArray &m) { return m.startsWith(notice); })) {
                QSignalSpy arrived(other.get(), &ProtocolClient::messageArrived);
                arrived.wait(int(std::max<qint64>(1, deadline.remainingTime())));
            }
        }
        return c;
    }

    ProtocolClient &connectOnly()
    {
        clients.push_back(std::make_unique<ProtocolClient>());
        clients.back()->connectTo(port());
        return *clients.back();
    }

    // Slot 1 starts a game on the 4x4 board and every client sees the round begin.
    bool start(int target = 100, int seconds = 60, int minLetters = 4)
    {
        clients.front()->send(
            Wire::ToHost::startgame(QStringLiteral("Host"), target, seconds, 4, minLetters).chopped(1));
        for (auto &c : clients)
            if (c->isConnected() && c->waitFor("CMD_nextplayer").isEmpty())
                return false;
        return server->phase() == TServer::RoundRunning;
    }

    // Runs the host's countdown by hand until the phase changes; the seconds it took.
    int tickUntilPhaseChanges(int limit = 1000)
    {
        const int phase = server->phase();
        for (int i = 1; i <= limit; ++i) {
            server->timer1Timer();
            if (server->phase() != phase)
                return i;
        }
        return -1;
    }

    void endRound()
    {
        while (server->phase() == TServer::RoundRunning)
            server->timer1Timer();
    }
};

// The claimer's answer to a claim: its CMD_notvalid or CMD_goodword, or its own
// CMD_addscore; other players' scores are skipped.
QByteArray nextReply(ProtocolClient &c, int slot)
{
    const QByteArray own = "CMD_addscore+" + QByteArray::number(slot) + "+";
    for (;;) {
        const QByteArray m = c.next();
        if (m.isEmpty() || m.startsWith("CMD_notvalid+") || m.startsWith("CMD_goodword+")
            || m.startsWith(own))
            return m;
    }
}

// Sends a probe chat from `c` and returns the next chat relay `observer` receives:
// the probe itself when nothing the host did before it reached the observer.
QByteArray firstChatAfterProbe(ProtocolClient &c, ProtocolClient &observer)
{
    c.send("CMD_chat+" + QByteArray::number(c.slot()) + "+probe|clRed");
    return observer.waitFor("CMD_chat");
}

int countContaining(const ProtocolClient &c, const char *text)
{
    return int(std::count_if(
        c.messages().begin(), c.messages().end(), [text](const QByteArray &m) { return m.contains(text); }));
}

} // namespace

class TestHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void slotsAreGivenLowestFreeFirst();
    void eleventhConnectionIsRefusedUntilASlotIsFree();
    void loginIntroducesTheNewcomer();
    void wrongVersionIsReportedNotEnforced();
    void lateJoinerCatchesUpInOrder_data();
    void lateJoinerCatchesUpInOrder();
    void lateJoinerTakesOverTheLeaversScore();
    void relaysCarryTheSendersStoredName();
    void relaysLongerThanAWindowTakesAreDropped_data();
    void relaysLongerThanAWindowTakesAreDropped();
    void oversizedGameStartIsIgnored();
    void longNamesAreCutAtLogin();
    void claimsAreJudged_data();
    void claimsAreJudged();
    void laterFinderScoresBasePoints();
    void claimsOutsideARoundGetNoReply();
    void claimsOfAWatchingPlayerAreJudged();
    void newcomerPlaysEvenIfItsSlotWasSetToWatchWhileFree();
    void roundEndSendsScoresAndSortedWords();
    void winAndTieRule_data();
    void winAndTieRule();
    void pauseBetweenRoundsIsTheChosenSeconds();
    void wonGameRestartsAfterSixtySecondsWithTheSameOptions();
    void wonGameWaitsWithoutAutomaticRestart();
    void realClockPlaysWholeGames();
    void startGameOptionsFallBackToDefaults();
    void watchingFollowsRequests();
    void hostPlayerMayKickAndSetWatching();
    void spoofedOrOutOfRangeMessagesAreIgnored_data();
    void spoofedOrOutOfRangeMessagesAreIgnored();
    void resetConnectionFreesItsSlotOnce();
    void unterminatedFloodClosesTheConnection();
    void queueFloodClosesTheConnection();
    void sameWordGoesToTheFirstClaimReceived_data();
    void sameWordGoesToTheFirstClaimReceived();
    void queuedMessagesOfAClosedConnectionAreDropped();
    void silentConnectionIsClosedAfterTheLoginTimeout();
    void peerThatStopsReadingIsClosed();
};

void TestHost::slotsAreGivenLowestFreeFirst()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    ProtocolClient &bo = g.join("Bo");
    QCOMPARE(host.slot(), 1);
    QCOMPARE(ann.slot(), 2);
    QCOMPARE(bo.slot(), 3);
    host.skipAll();
    bo.skipAll();
    ann.close();
    QCOMPARE(host.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Ann"));
    QCOMPARE(bo.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Ann"));
    ProtocolClient &cy = g.join("Cy");
    QCOMPARE(cy.slot(), 2);
    // Exactly one departure notice reached the others before the newcomer.
    QCOMPARE(host.next(), QByteArray("CMD_newplayerinfo+2+Cy+0"));
    QCOMPARE(bo.next(), QByteArray("CMD_newplayerinfo+2+Cy+0"));
    QCOMPARE(g.server->highestSlot(), 3);
}

void TestHost::eleventhConnectionIsRefusedUntilASlotIsFree()
{
    Game g;
    for (int i = 1; i <= 10; ++i)
        QCOMPARE(g.join("P" + QByteArray::number(i)).slot(), i);
    ProtocolClient &first = *g.clients.front();
    first.skipAll();
    ProtocolClient &eleventh = g.connectOnly();
    QCOMPARE(eleventh.next(), QByteArray("CMD_full+"));
    QVERIFY(eleventh.waitForClosed());
    g.clients[4]->close();
    QCOMPARE(first.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+5+P5"));
    ProtocolClient &late = g.connectOnly();
    QCOMPARE(late.next(), QByteArray("CMD_sendlogininfo+5"));
    QCOMPARE(g.server->highestSlot(), 10);
}

void TestHost::loginIntroducesTheNewcomer()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann+Lee");
    QCOMPARE(ann.next(), QByteArray("CMD_existingplayers+1+Host+0"));
    QCOMPARE(ann.messages(),
        QList<QByteArray>(
            {"CMD_sendlogininfo+2", "CMD_newplayerinfo+2+Ann-Lee+0", "CMD_existingplayers+1+Host+0"}));
    QCOMPARE(host.messages(),
        QList<QByteArray>(
            {"CMD_sendlogininfo+1", "CMD_newplayerinfo+1+Host+0", "CMD_newplayerinfo+2+Ann-Lee+0"}));
    QCOMPARE(g.server->slot(2).name, QByteArray("Ann-Lee"));
}

void TestHost::wrongVersionIsReportedNotEnforced()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    QVERIFY(g.start());
    host.skipAll();
    ProtocolClient &old = g.join("Old", "0.9");
    QCOMPARE(old.next(), QByteArray("CMD_existingplayers+1+Host+0"));
    QCOMPARE(old.next(), QByteArray("CMD_wrongversion+"));
    QVERIFY(old.next().startsWith("CMD_loadboard+"));
    QVERIFY(old.next().startsWith("CMD_loadstats+2+"));
    QCOMPARE(host.waitFor("CMD_havewrongversion"), QByteArray("CMD_havewrongversion+Old"));
    QVERIFY(old.isConnected());
}

void TestHost::lateJoinerCatchesUpInOrder_data()
{
    QTest::addColumn<bool>("duringPause");
    QTest::newRow("during a round: phase 1") << false;
    QTest::newRow("during the pause: phase 2") << true;
}

void TestHost::lateJoinerCatchesUpInOrder()
{
    QFETCH(bool, duringPause);
    Game g;
    g.env.pause = 15;
    ProtocolClient &host = g.join("Host");
    QVERIFY(g.start(50, 90));
    const QByteArray board = Wire::ToPlayer::loadboard(g.server->board()).chopped(1);
    if (duringPause)
        g.endRound();
    for (int i = 0; i < 3; ++i)
        g.server->timer1Timer();
    const int left = g.server->countdown() - 5;
    const int phase = duringPause ? 2 : 1;
    QCOMPARE(left, duringPause ? 15 - 3 - 5 : 94 - 3 - 5);

    ProtocolClient &ann = g.join("Ann");
    QCOMPARE(ann.next(), QByteArray("CMD_existingplayers+1+Host+0"));
    QCOMPARE(ann.next(), board);
    QCOMPARE(ann.next(),
        "CMD_loadstats+2+50+90+4+4+" + QByteArray::number(left) + "+" + QByteArray::number(phase)
            + "+1+0+2+0+3+0+4+0+5+0+6+0+7+0+8+0+9+0+10+0");
    QVERIFY(host.isConnected());
}

void TestHost::lateJoinerTakesOverTheLeaversScore()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    QVERIFY(g.start());
    ann.send(claim(2, "TEAM"));
    QCOMPARE(nextReply(ann, 2), QByteArray("CMD_addscore+2+2+2+"));
    ann.close();
    host.waitFor("CMD_playerdisconnected");
    ProtocolClient &bo = g.join("Bo");
    QCOMPARE(bo.slot(), 2);
    QVERIFY(bo.waitFor("CMD_loadstats").endsWith("+1+0+2+2+3+0+4+0+5+0+6+0+7+0+8+0+9+0+10+0"));
}

void TestHost::relaysCarryTheSendersStoredName()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    host.skipAll();
    ann.skipAll();
    ann.send(Wire::ToHost::chat(2, QStringLiteral("a+b: c"), QStringLiteral("clRed")).chopped(1));
    ann.send(Wire::ToHost::action(2, QStringLiteral("waves"), QStringLiteral("$00FF00FF")).chopped(1));
    ann.send(Wire::ToHost::playasound(2, 7).chopped(1));
    for (ProtocolClient *c : {&host, &ann}) {
        QCOMPARE(c->waitFor("CMD_chat"), QByteArray("CMD_chat+2+Ann chats: a+b: c|clRed"));
        QCOMPARE(c->next(), QByteArray("CMD_action+2+Ann waves|$00FF00FF"));
        QCOMPARE(c->next(), QByteArray("CMD_playasound+2+wave7+"));
    }
    // A leading zero in the sender's slot is written back normalised.
    ann.send("CMD_playasound+02+wave1+");
    QCOMPARE(host.next(), QByteArray("CMD_playasound+2+wave1+"));
}

void TestHost::relaysLongerThanAWindowTakesAreDropped_data()
{
    // Ann's relays carry "CMD_chat+2+Ann chats: " (22 bytes) before her text; a
    // window takes messages of up to 65,536 bytes.
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("textBytes");
    QTest::addColumn<bool>("relayed");
    QTest::newRow("chat that just fits") << QByteArray("CMD_chat") << 65536 - 22 << true;
    QTest::newRow("chat one byte too long") << QByteArray("CMD_chat") << 65536 - 21 << false;
    // "CMD_action+2+Ann " is 17 bytes.
    QTest::newRow("action one byte too long") << QByteArray("CMD_action") << 65536 - 16 << false;
}

void TestHost::oversizedGameStartIsIgnored()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    host.skipAll();
    // A starter's name filling the whole message: relayed with its five empty fields
    // and the "+" after each, the start would pass what a window takes.
    host.send("CMD_startgame+" + QByteArray(65536 - 15, 'x') + "+");
    QCOMPARE(firstChatAfterProbe(host, host), QByteArray("CMD_chat+1+Host chats: probe|clRed"));
    QCOMPARE(countContaining(host, "CMD_startgame"), 0);
    QVERIFY(!g.server->gameRunning());
    QVERIFY(g.start());
}

void TestHost::relaysLongerThanAWindowTakesAreDropped()
{
    QFETCH(QByteArray, command);
    QFETCH(int, textBytes);
    QFETCH(bool, relayed);
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    host.skipAll();
    ann.send(command + "+2+" + QByteArray(textBytes, 'x'));
    ann.send("CMD_chat+2+probe|clRed");
    QList<QByteArray> before;
    for (QByteArray m = host.next(); m != "CMD_chat+2+Ann chats: probe|clRed"; m = host.next()) {
        QVERIFY(!m.isEmpty());
        before.append(m);
    }
    QCOMPARE(before.size(), relayed ? 1 : 0);
    if (relayed)
        QCOMPARE(before.first().size(), 65536);
    QVERIFY(ann.isConnected());
}

void TestHost::longNamesAreCutAtLogin()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    const QByteArray longName(1000, 'n');
    ProtocolClient &ann = g.join(longName);
    QCOMPARE(ann.slot(), 2);
    QCOMPARE(host.waitFor("CMD_newplayerinfo+2"), "CMD_newplayerinfo+2+" + longName.first(255) + "+0");
    QCOMPARE(g.server->slot(2).name, longName.first(255));
}

void TestHost::claimsAreJudged_data()
{
    QTest::addColumn<int>("minLetters");
    QTest::addColumn<QList<QByteArray>>("claims");
    QTest::addColumn<QList<QByteArray>>("replies");
    using L = QList<QByteArray>;
    QTest::newRow("first finder: base + 1")
        << 4 << L {"TEAM"} << L {"CMD_addscore+1+2+2+", "CMD_goodword+1+2+TEAM+4+1+"};
    QTest::newRow("same word twice: reason 2")
        << 4 << L {"TEAM", "TEAM"}
        << L {"CMD_addscore+1+2+2+", "CMD_goodword+1+2+TEAM+4+1+", "CMD_notvalid+1+2+TEAM+"};
    QTest::newRow("not a word: reason 1") << 3 << L {"TAC"} << L {"CMD_notvalid+1+1+TAC+"};
    QTest::newRow("short: reason 3") << 4 << L {"CAT"} << L {"CMD_notvalid+1+3+CAT+"};
    QTest::newRow("unknown and short: reason 1 first") << 4 << L {"TA"} << L {"CMD_notvalid+1+1+TA+"};
    QTest::newRow("three letters allowed: 1 point")
        << 3 << L {"CAT"} << L {"CMD_addscore+1+1+1+", "CMD_goodword+1+1+CAT+3+1+"};
    QTest::newRow("eleven tiles: 12 points")
        << 4 << L {"CATSXMAERTE"} << L {"CMD_addscore+1+12+12+", "CMD_goodword+1+12+CATSXMAERTE+11+1+"};
    QTest::newRow("twelve tiles: 13 points")
        << 4 << L {"CATSXMAERTEQ"} << L {"CMD_addscore+1+13+13+", "CMD_goodword+1+13+CATSXMAERTEQ+12+1+"};
    QTest::newRow("scores add up") << 4 << L {"TEAM", "CATS"}
                                   << L {"CMD_addscore+1+2+2+", "CMD_goodword+1+2+TEAM+4+1+",
                                          "CMD_addscore+1+2+4+", "CMD_goodword+1+2+CATS+4+1+"};
    QTest::newRow("off the square reads *") << 3 << L {"OUTSIDE"} << L {"CMD_notvalid+1+1+*CA+"};
    // Silent drops: the probe's reply (TA, reason 1) comes next.
    QTest::newRow("tile used twice: silent") << 3 << L {"REUSE"} << L {};
    QTest::newRow("tiles not adjacent: silent") << 3 << L {"GAP"} << L {};
    QTest::newRow("more than 12 tiles: silent") << 3 << L {"LONG"} << L {};
    QTest::newRow("tile numbers out of order: silent") << 3 << L {"raw:1+1+3+3+1+3+4+1+3+5"} << L {};
    QTest::newRow("tile number 13: silent") << 3 << L {"raw:1+13+3+3"} << L {};
    QTest::newRow("tile number 0: silent") << 3 << L {"raw:1+0+3+3+1+3+4"} << L {};
    QTest::newRow("row 10: silent") << 3 << L {"raw:1+1+10+3+2+9+3+3+9+4"} << L {};
    QTest::newRow("column -1: silent") << 3 << L {"raw:1+1+3+-1+2+3+0+3+3+1"} << L {};
    QTest::newRow("tile field not a number: silent") << 3 << L {"raw:1+1+3+x+2+3+4"} << L {};
    QTest::newRow("no tiles: silent") << 3 << L {"raw:1+"} << L {};
}

void TestHost::claimsAreJudged()
{
    QFETCH(int, minLetters);
    QFETCH(QList<QByteArray>, claims);
    QFETCH(QList<QByteArray>, replies);
    Game g;
    ProtocolClient &host = g.join("Host");
    QVERIFY(g.start(100, 60, minLetters));
    for (const QByteArray &c : claims)
        host.send(c.startsWith("raw:") ? "CMD_playerdone+" + c.mid(4) : claim(1, c));
    for (const QByteArray &r : replies)
        QCOMPARE(nextReply(host, 1), r);
    host.send(claim(1, "TA"));
    QCOMPARE(nextReply(host, 1), QByteArray("CMD_notvalid+1+1+TA+"));
}

void TestHost::laterFinderScoresBasePoints()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    QVERIFY(g.start(100, 60, 3));
    ann.send(claim(2, "CAT"));
    QCOMPARE(nextReply(ann, 2), QByteArray("CMD_addscore+2+1+1+"));
    QCOMPARE(nextReply(ann, 2), QByteArray("CMD_goodword+2+1+CAT+3+1+"));
    QCOMPARE(host.waitFor("CMD_addscore"), QByteArray("CMD_addscore+2+1+1+"));
    host.send(claim(1, "CAT"));
    QCOMPARE(nextReply(host, 1), QByteArray("CMD_addscore+1+0+0+"));
    QCOMPARE(nextReply(host, 1), QByteArray("CMD_goodword+1+0+CAT+3+2+"));
    ann.send(claim(2, "TEAM"));
    QCOMPARE(nextReply(ann, 2), QByteArray("CMD_addscore+2+2+3+"));
    host.send(claim(1, "TEAM"));
    QCOMPARE(nextReply(host, 1), QByteArray("CMD_addscore+1+1+1+"));
    QCOMPARE(nextReply(host, 1), QByteArray("CMD_goodword+1+1+TEAM+4+2+"));

    // Next round the word is new again.
    g.env.pause = 1;
    g.endRound();
    g.tickUntilPhaseChanges();
    host.waitFor("CMD_nextplayer");
    host.send(claim(1, "CAT"));
    QCOMPARE(nextReply(host, 1), QByteArray("CMD_addscore+1+1+2+"));
    QCOMPARE(nextReply(host, 1), QByteArray("CMD_goodword+1+1+CAT+3+1+"));
}

void TestHost::claimsOutsideARoundGetNoReply()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    host.send(claim(1, "TEAM"));
    QCOMPARE(firstChatAfterProbe(host, host), QByteArray("CMD_chat+1+Host chats: probe|clRed"));
    QVERIFY(g.start());
    g.endRound();
    host.skipAll();
    host.send(claim(1, "TEAM"));
    QCOMPARE(firstChatAfterProbe(host, host), QByteArray("CMD_chat+1+Host chats: probe|clRed"));
    QVERIFY(countContaining(host, "CMD_addscore") == 0);
}

void TestHost::claimsOfAWatchingPlayerAreJudged()
{
    Game g;
    g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    QVERIFY(g.start());
    ann.send("CMD_justwatch+2+1");
    QCOMPARE(ann.waitFor("CMD_justwatching"), QByteArray("CMD_justwatching+2+1"));
    ann.send(claim(2, "TEAM"));
    QCOMPARE(nextReply(ann, 2), QByteArray("CMD_addscore+2+2+2+"));
    QVERIFY(g.server->slot(2).watching);
}

void TestHost::newcomerPlaysEvenIfItsSlotWasSetToWatchWhileFree()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    QVERIFY(g.start());
    ann.close();
    host.waitFor("CMD_playerdisconnected");
    // The host player's click on Ann's row arrives after she left.
    host.send("CMD_justwatch+2+1");
    QCOMPARE(host.waitFor("CMD_justwatching"), QByteArray("CMD_justwatching+2+1"));

    ProtocolClient &bo = g.join("Bo");
    QCOMPARE(bo.slot(), 2);
    QCOMPARE(host.waitFor("CMD_newplayerinfo+2"), QByteArray("CMD_newplayerinfo+2+Bo+0"));
    QVERIFY(!g.server->slot(2).watching);
    bo.skipAll();
    bo.send(claim(2, "TEAM"));
    QCOMPARE(nextReply(bo, 2), QByteArray("CMD_addscore+2+2+2+"));
}

void TestHost::roundEndSendsScoresAndSortedWords()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    QVERIFY(g.start());
    host.send(claim(1, "TEAM"));
    QCOMPARE(nextReply(host, 1), QByteArray("CMD_addscore+1+2+2+"));
    QCOMPARE(nextReply(host, 1), QByteArray("CMD_goodword+1+2+TEAM+4+1+"));
    ann.send(claim(2, "CATS"));
    QCOMPARE(nextReply(ann, 2), QByteArray("CMD_addscore+2+2+2+"));
    QCOMPARE(nextReply(ann, 2), QByteArray("CMD_goodword+2+2+CATS+4+1+"));
    ann.send(claim(2, "TEAM"));
    QCOMPARE(nextReply(ann, 2), QByteArray("CMD_addscore+2+1+3+"));
    host.skipAll();
    ann.skipAll();
    g.endRound();
    const QByteArray timeup = "CMD_timeup+1+2+2+2+3+3+3+0+0+4+0+0+5+0+0+6+0+0+7+0+0+8+0+0+9+0+0+10+0+0";
    QCOMPARE(host.waitFor("CMD_timeup"), timeup);
    QCOMPARE(host.next(), QByteArray("CMD_mainlist+1+CATS+TEAM"));
    QCOMPARE(ann.waitFor("CMD_timeup"), timeup);
    QCOMPARE(ann.next(), QByteArray("CMD_mainlist+2+CATS+TEAM"));

    // A round without words.
    g.env.pause = 1;
    g.tickUntilPhaseChanges();
    g.endRound();
    QCOMPARE(ann.waitFor("CMD_mainlist"), QByteArray("CMD_mainlist+2+No Words"));
}

void TestHost::winAndTieRule_data()
{
    // Claims per round: "slot:WORD" entries, rounds separated by "|".
    QTest::addColumn<int>("target");
    QTest::addColumn<QByteArray>("rounds");
    QTest::addColumn<int>("winningRound");
    QTest::addColumn<QByteArray>("winner");
    QTest::newRow("target reached alone") << 2 << QByteArray("1:TEAM") << 1 << QByteArray("Host");
    QTest::newRow("target not reached") << 5 << QByteArray("1:TEAM|1:CATS|2:CAT") << 0 << QByteArray();
    QTest::newRow("tie at the top plays on")
        << 1 << QByteArray("1:TEAM 2:CATS|2:CAT") << 2 << QByteArray("Ann");
    QTest::newRow("target 0: one round") << 0 << QByteArray("2:CAT") << 1 << QByteArray("Ann");
    QTest::newRow("target 0 with nobody scoring plays on")
        << 0 << QByteArray("|1:CAT") << 2 << QByteArray("Host");
    QTest::newRow("a leaver can win under the spare name")
        << 1 << QByteArray("2:TEAM 2:leave") << 1 << QByteArray("Klot");
}

void TestHost::winAndTieRule()
{
    QFETCH(int, target);
    QFETCH(QByteArray, rounds);
    QFETCH(int, winningRound);
    QFETCH(QByteArray, winner);
    Game g;
    g.env.pause = 1;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    QVERIFY(g.start(target, 60, 3));
    int round = 0;
    for (const QByteArray &claims : rounds.split('|')) {
        ++round;
        for (const QByteArray &c : claims.split(' ')) {
            if (c.isEmpty())
                continue;
            ProtocolClient &who = c.startsWith("1:") ? host : ann;
            if (c.endsWith("leave")) {
                who.close();
                host.waitFor("CMD_playerdisconnected");
                continue;
            }
            who.send(claim(who.slot(), c.mid(2)));
            QVERIFY(nextReply(who, who.slot()).startsWith("CMD_addscore"));
            QVERIFY(nextReply(who, who.slot()).startsWith("CMD_goodword"));
        }
        host.skipAll();
        g.endRound();
        const QByteArray next = host.waitFor(round == winningRound ? "CMD_winner" : "CMD_mainlist");
        if (round == winningRound) {
            QCOMPARE(next, "CMD_winner+" + winner + "+");
            QVERIFY(!g.server->gameRunning());
            return;
        }
        QVERIFY(g.server->gameRunning());
        QCOMPARE(g.server->phase(), int(TServer::Pause));
        QCOMPARE(g.tickUntilPhaseChanges(), 1);
        host.waitFor("CMD_nextplayer");
    }
    QCOMPARE(winningRound, 0);
    QVERIFY(countContaining(host, "CMD_winner") == 0);
}

void TestHost::pauseBetweenRoundsIsTheChosenSeconds()
{
    Game g;
    g.env.pause = 5; // "Quick"
    ProtocolClient &host = g.join("Host");
    QVERIFY(g.start(100, 45));
    QCOMPARE(g.server->countdown(), 49);
    QCOMPARE(g.tickUntilPhaseChanges(), 49);
    host.waitFor("CMD_mainlist");
    QCOMPARE(g.tickUntilPhaseChanges(), 5);
    QVERIFY(host.next().startsWith("CMD_loadboard+"));
    QCOMPARE(host.next(), QByteArray("CMD_nextplayer+1+"));
}

void TestHost::wonGameRestartsAfterSixtySecondsWithTheSameOptions()
{
    Game g;
    g.env.autoStart = true;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    host.send("CMD_startgame+Host+0+30+4+3+0+");
    QVERIFY(host.waitFor("CMD_startgame") == "CMD_startgame+Host+0+30+4+3+0+");
    host.send(claim(1, "CAT"));
    nextReply(host, 1);
    g.endRound();
    QCOMPARE(host.waitFor("CMD_winner"), QByteArray("CMD_winner+Host+"));
    QCOMPARE(g.server->phase(), int(TServer::RestartWait));
    QCOMPARE(g.tickUntilPhaseChanges(), 60);
    for (ProtocolClient *c : {&host, &ann}) {
        QCOMPARE(c->waitFor("CMD_startgame"), QByteArray("CMD_startgame+Host+0+30+4+3+0+"));
        QVERIFY(c->next().startsWith("CMD_loadboard+"));
    }
    QCOMPARE(g.server->slot(1).gameScore, 0);
    QCOMPARE(g.server->countdown(), 34);
}

void TestHost::wonGameWaitsWithoutAutomaticRestart()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    QVERIFY(g.start(0));
    g.endRound();
    host.waitFor("CMD_winner");
    QCOMPARE(g.tickUntilPhaseChanges(100), -1);
    QVERIFY(!g.server->gameRunning());
    // A new start still works.
    QVERIFY(g.start(0));
}

void TestHost::realClockPlaysWholeGames()
{
    // A 5 ms second: a round of 0 seconds lasts 4 host seconds, the restart 60.
    Game g(5);
    g.env.autoStart = true;
    ProtocolClient &host = g.join("Host");
    host.send("CMD_startgame+Host+0+0+9+4+0+");
    for (int game = 0; game < 2; ++game) {
        QCOMPARE(host.waitFor("CMD_startgame"), QByteArray("CMD_startgame+Host+0+0+9+4+0+"));
        QCOMPARE(host.waitFor("CMD_winner", 10000), QByteArray("CMD_winner+Host+"));
    }
}

void TestHost::startGameOptionsFallBackToDefaults()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    host.send("CMD_startgame+Host+lots+long+big+few+0+");
    QCOMPARE(host.waitFor("CMD_startgame"), QByteArray("CMD_startgame+Host+lots+long+big+few+0+"));
    host.waitFor("CMD_nextplayer");
    QCOMPARE(g.server->targetScore(), 100);
    QCOMPARE(g.server->countdown(), 64);
    // Absurd numbers neither overflow the countdown nor stop the game.
    host.send("CMD_startgame+Host+1+2147483647+4+4+0+");
    host.waitFor("CMD_nextplayer");
    QVERIFY(g.server->countdown() > 0);
    host.send("CMD_startgame+Host+1+-2147483648+4+4+0+");
    host.waitFor("CMD_nextplayer");
    QCOMPARE(g.tickUntilPhaseChanges(), 1);
}

void TestHost::watchingFollowsRequests()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    host.skipAll();
    ann.send("CMD_justwatch+2+1");
    QCOMPARE(firstChatAfterProbe(ann, host), QByteArray("CMD_chat+2+Ann chats: probe|clRed"));
    QVERIFY(countContaining(host, "CMD_justwatching") == 0);
    QVERIFY(!g.server->slot(2).watching);
    ann.send("CMD_justwatch+2+2");
    QCOMPARE(host.waitFor("CMD_justwatching"), QByteArray("CMD_justwatching+2+2"));

    QVERIFY(g.start());
    ann.send("CMD_justwatch+2+1");
    QCOMPARE(host.waitFor("CMD_justwatching"), QByteArray("CMD_justwatching+2+1"));
    QVERIFY(g.server->slot(2).watching);
    ProtocolClient &bo = g.join("Bo");
    QCOMPARE(bo.next(), QByteArray("CMD_existingplayers+1+Host+0+2+Ann+1"));
    // A new game clears watching without a message.
    QVERIFY(g.start());
    QVERIFY(!g.server->slot(2).watching);
}

void TestHost::hostPlayerMayKickAndSetWatching()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    ProtocolClient &bo = g.join("Bo");
    QVERIFY(g.start());
    host.send("CMD_justwatch+3+1");
    QCOMPARE(ann.waitFor("CMD_justwatching"), QByteArray("CMD_justwatching+3+1"));
    host.send("CMD_kickhim+1+3+");
    // The removed player is told before the connection closes.
    QCOMPARE(bo.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+3+Bo"));
    QVERIFY(bo.waitForClosed());
    QCOMPARE(ann.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+3+Bo"));
    QCOMPARE(firstChatAfterProbe(host, ann), QByteArray("CMD_chat+1+Host chats: probe|clRed"));
}

void TestHost::spoofedOrOutOfRangeMessagesAreIgnored_data()
{
    // Ann (slot 2) sends each message; Bo holds slot 3 and the host slot 1.
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("login for another slot") << QByteArray("CMD_logininfo+3+1.0.7+Evil");
    QTest::newRow("chat as another slot") << QByteArray("CMD_chat+3+hi|clRed");
    QTest::newRow("action as another slot") << QByteArray("CMD_action+3+hi|clRed");
    QTest::newRow("sound as another slot") << QByteArray("CMD_playasound+3+wave1+");
    QTest::newRow("watch for another slot") << QByteArray("CMD_justwatch+3+1");
    QTest::newRow("claim as another slot") << claim(3, "TEAM");
    QTest::newRow("kick from slot 2") << QByteArray("CMD_kickhim+2+3+");
    QTest::newRow("kick posing as slot 1") << QByteArray("CMD_kickhim+1+3+");
    QTest::newRow("start from slot 2") << QByteArray("CMD_startgame+Ann+1+60+4+3+0+");
    QTest::newRow("slot 0") << QByteArray("CMD_chat+0+hi|clRed");
    QTest::newRow("slot 11") << QByteArray("CMD_chat+11+hi|clRed");
    QTest::newRow("negative slot") << QByteArray("CMD_justwatch+-1+2");
    QTest::newRow("watch slot 11") << QByteArray("CMD_justwatch+11+2");
    QTest::newRow("slot not a number") << QByteArray("CMD_chat+two+hi|clRed");
    QTest::newRow("unknown command") << QByteArray("CMD_nosuch+2+x");
    QTest::newRow("offer to come back after the login") << QByteArray("CMD_canrejoin+2+1+");
    QTest::newRow("a token after the login") << QByteArray("CMD_rejoin+0123456789abcdef0123456789abcdef+");
    QTest::newRow("leaving for another slot") << QByteArray("CMD_leaving+3+");
    QTest::newRow("no plus") << QByteArray("CMD_chat");
    QTest::newRow("lower-case command") << QByteArray("cmd_chat+2+hi|clRed");
}

void TestHost::spoofedOrOutOfRangeMessagesAreIgnored()
{
    QFETCH(QByteArray, message);
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    ProtocolClient &bo = g.join("Bo");
    QVERIFY(g.start());
    host.skipAll();
    bo.skipAll();
    const qsizetype hostMark = host.messages().size();
    const qsizetype boMark = bo.messages().size();
    ann.send(message);
    // The host's own out-of-range requests are ignored too.
    host.send("CMD_kickhim+1+11+");
    host.send("CMD_kickhim+1+0+");
    host.send("CMD_justwatch+0+1");
    const QByteArray probe = "CMD_chat+2+Ann chats: probe|clRed";
    QCOMPARE(firstChatAfterProbe(ann, bo), probe);
    QCOMPARE(host.waitFor("CMD_chat"), probe);
    QCOMPARE(bo.messages().mid(boMark), QList<QByteArray>({probe}));
    QCOMPARE(host.messages().mid(hostMark), QList<QByteArray>({probe}));
    QVERIFY(bo.isConnected());
    QCOMPARE(g.server->slot(3).name, QByteArray("Bo"));
    QCOMPARE(g.server->slot(3).gameScore, 0);
    QVERIFY(!g.server->slot(3).watching);
    QCOMPARE(g.server->targetScore(), 100);
}

void TestHost::resetConnectionFreesItsSlotOnce()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    host.skipAll();
    ann.reset();
    QCOMPARE(host.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Ann"));
    QCOMPARE(g.join("Bo").slot(), 2);
    QCOMPARE(host.next(), QByteArray("CMD_newplayerinfo+2+Bo+0"));
}

void TestHost::unterminatedFloodClosesTheConnection()
{
    Game g;
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    host.skipAll();
    const QByteArray chunk(16 * 1024, 'x');
    for (int i = 0; i < 5 && ann.isConnected(); ++i)
        ann.sendRaw(chunk);
    QVERIFY(ann.waitForClosed());
    QCOMPARE(host.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Ann"));
    QCOMPARE(g.server->slot(2).input.partialBytes(), 0);
    QCOMPARE(firstChatAfterProbe(host, host), QByteArray("CMD_chat+1+Host chats: probe|clRed"));
}

void TestHost::queueFloodClosesTheConnection()
{
    Game g(3600 * 1000, 1000);
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    host.skipAll();
    QByteArray burst;
    for (int i = 0; i < 1100; ++i)
        burst += "CMD_chat+2+spam|clRed\xff";
    ann.sendRaw(burst);
    QVERIFY(ann.waitForClosed());
    QCOMPARE(host.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Ann"));
    QVERIFY(countContaining(host, "spam") <= 1);
}

void TestHost::sameWordGoesToTheFirstClaimReceived_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("2 then 3") << 2 << 3;
    QTest::newRow("3 then 2") << 3 << 2;
}

void TestHost::sameWordGoesToTheFirstClaimReceived()
{
    QFETCH(int, first);
    QFETCH(int, second);
    Game g(3600 * 1000, 10);
    g.join("Host");
    g.join("Ann");
    g.join("Bo");
    QVERIFY(g.start());
    // Both claims wait in their queues before the host handles either.
    const QByteArray terminator(1, char(0xFF));
    g.server->receiveBytes(first, QByteArray(claim(first, "TEAM") + terminator));
    g.server->receiveBytes(second, QByteArray(claim(second, "TEAM") + terminator));
    QTRY_VERIFY(g.server->slot(second).gameScore != 0);
    QCOMPARE(g.server->slot(first).gameScore, 2);
    QCOMPARE(g.server->slot(second).gameScore, 1);
}

void TestHost::queuedMessagesOfAClosedConnectionAreDropped()
{
    Game g(3600 * 1000, 50);
    ProtocolClient &host = g.join("Host");
    ProtocolClient &ann = g.join("Ann");
    host.skipAll();
    ann.send("CMD_chat+2+ghost|clRed");
    ann.close();
    QCOMPARE(host.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Ann"));
    QCOMPARE(firstChatAfterProbe(host, host), QByteArray("CMD_chat+1+Host chats: probe|clRed"));
    QVERIFY(countContaining(host, "ghost") == 0);
}

void TestHost::silentConnectionIsClosedAfterTheLoginTimeout()
{
    Game g(5);
    ProtocolClient &host = g.join("Host");
    ProtocolClient &silent = g.connectOnly();
    QCOMPARE(silent.next(), QByteArray("CMD_sendlogininfo+2"));
    QVERIFY(silent.waitForClosed(10000));
    QCOMPARE(host.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+"));
    QVERIFY(!g.server->slot(2).inUse);
}

void TestHost::peerThatStopsReadingIsClosed()
{
    Game g(3600 * 1000, 0);
    ProtocolClient &host = g.join("Host");
    ProtocolClient &lazy = g.join("Lazy");
    lazy.socket().setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    lazy.stopReading();
    host.skipAll();
    const QByteArray line = "CMD_chat+1+" + QByteArray(60 * 1024, 'x') + "|clRed";
    bool closed = false;
    for (int i = 0; i < 2000 && !closed; ++i) {
        host.send(line);
        const QByteArray m = host.next();
        QVERIFY2(!m.isEmpty(), qPrintable(QStringLiteral("after %1 lines").arg(i)));
        closed = m == "CMD_playerdisconnected+2+Lazy";
    }
    QVERIFY(closed);
    QVERIFY(!g.server->slot(2).inUse);
}

QTEST_GUILESS_MAIN(TestHost)
#include "tst_host.moc"
