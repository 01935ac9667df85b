// Computer players against the real game host over loopback connections, with the
// built-in word list on both sides, and their defences against a hostile host.
#include "boarddealer.h"
#include "botplayer.h"
#include "chatcommands.h"
#include "computerplayers.h"
#include "fakehostenvironment.h"
#include "hostenvironment.h"
#include "lazywordtrie.h"
#include "protocolclient.h"
#include "quickphrases.h"
#include "tdictn.h"
#include "tserver.h"
#include "wire.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// A word-rich 4x4 board (rows and columns 3 to 6):
//   S E A T
//   R I N L
//   D O E M
//   C A P S
const QByteArray richBoard = "seatrinldoemcaps";

struct Dictionary
{
    QTemporaryDir dir;
    std::unique_ptr<TDictn> dict;
    std::unique_ptr<LazyWordTrie> trie;
};

Dictionary &builtin()
{
    static Dictionary d;
    if (!d.dict) {
        d.dict = std::make_unique<TDictn>(d.dir.path(), TDictn::builtinResource);
        d.trie = std::make_unique<LazyWordTrie>(*d.dict);
    }
    return d;
}

// The host's environment with the same built-in word list the players use.
class DictionaryEnvironment : public HostEnvironment
{
public:
    int pause = 1;
    bool isword(QByteArrayView word) const override { return builtin().dict->isword(word); }
    int pauseBetweenRounds() const override { return pause; }
    bool autoStartNextGame() const override { return false; }
};

// A host, the person in slot 1 as a raw protocol client, and the computer players.
class Rig
{
public:
    static constexpr int secondMs = 20;

    DictionaryEnvironment env;
    ScriptedDraw script {richBoard};
    TServer server;
    ProtocolClient host;
    ComputerPlayers bots;

    explicit Rig(UniformDraw draw = {})
        : server(env, draw ? std::move(draw) : script.draw())
        , bots(
              *builtin().trie, [this] { return namesInUse(); }, 12345)
    {
        server.setSecondLength(secondMs);
        server.setDispatchInterval(1);
        server.listen(0, QHostAddress::LocalHost);
        bots.setSecondLength(secondMs);
    }

    QStringList namesInUse() const
    {
        QStringList names;
        for (int s = 1; s <= server.highestSlot(); ++s)
            if (server.slot(s).inUse)
                names << Wire::fromWire(server.slot(s).name);
        return names;
    }

    BotPlayer *addBot(BotStrength::Level level)
    {
        BotPlayer *bot = bots.add(level, QHostAddress::LocalHost, server.port());
        if (bot) {
            QSignalSpy joined(bot, &BotPlayer::joined);
            if (!joined.wait(5000))
                return nullptr;
        }
        return bot;
    }

    void start(int target, int seconds, int sizeCode, int minLetters)
    {
        host.send(Wire::ToHost::startgame(QStringLiteral("Host"), target, seconds, sizeCode, minLetters)
                      .chopped(1));
    }
};

bool adjacent(const Wire::Tile &a, const Wire::Tile &b)
{
    return a != b && std::abs(a.row - b.row) <= 1 && std::abs(a.col - b.col) <= 1;
}

} // namespace

class TestBotPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(builtin().dict->isOpen());
        builtin().trie->trie();
    }

    void joinsTakesTheNextSlotAndAppearsInEveryRoster()
    {
        Rig rig;
        QCOMPARE(rig.host.join(rig.server.port(), "Host"), 1);
        BotPlayer *first = rig.addBot(BotStrength::Medium);
        QVERIFY(first);
        QCOMPARE(first->slot(), 2);
        QCOMPARE(first->name(), QStringLiteral("Klot"));
        QCOMPARE(rig.host.waitFor("CMD_newplayerinfo+2"), QByteArray("CMD_newplayerinfo+2+Klot+0"));

        BotPlayer *second = rig.addBot(BotStrength::Easy);
        QVERIFY(second);
        QCOMPARE(second->slot(), 3);
        QCOMPARE(second->name(), QStringLiteral("Klock"));
        QCOMPARE(rig.host.waitFor("CMD_newplayerinfo+3"), QByteArray("CMD_newplayerinfo+3+Klock+0"));

        ProtocolClient late;
        QCOMPARE(late.join(rig.server.port(), "Late"), 4);
        QCOMPARE(late.waitFor("CMD_existingplayers"),
            QByteArray("CMD_existingplayers+1+Host+0+2+Klot+0+3+Klock+0"));
        // Logged in with the version string: nobody was told of a mismatch.
        QVERIFY(!rig.host.waitFor("CMD_newplayerinfo+4").isEmpty());
        for (const QByteArray &m : rig.host.messages())
            QVERIFY(!m.startsWith("CMD_havewrongversion"));
    }

    void spareNamesInUseAreSkippedAndTheSixthIsRefused()
    {
        Rig rig;
        QCOMPARE(rig.host.join(rig.server.port(), "klot"), 1);
        QStringList names;
        for (int i = 0; i < 4; ++i) {
            BotPlayer *bot = rig.addBot(BotStrength::Easy);
            QVERIFY(bot);
            names << bot->name();
        }
        QCOMPARE(names, (QStringList {"Klock", "Kling", "Klick", "Krazy"}));
        QVERIFY(rig.bots.freeName().isEmpty());
        QVERIFY(!rig.bots.add(BotStrength::Hard, QHostAddress::LocalHost, rig.server.port()));
        QCOMPARE(rig.bots.count(), 4);
    }

    void claimsOnlyAdjacentBoardWordsAtThePacedRate()
    {
        Rig rig;
        QCOMPARE(rig.host.join(rig.server.port(), "Host"), 1);
        BotPlayer *bot = rig.addBot(BotStrength::Hard);
        QVERIFY(bot);
        QSignalSpy accepted(bot, &BotPlayer::wordAccepted);
        QSignalSpy rejected(bot, &BotPlayer::wordRejected);
        struct Sent
        {
            qint64 atMs;
            QString word;
            QList<Wire::Tile> tiles;
        };
        QList<Sent> sent;
        QElapsedTimer clock;
        connect(bot, &BotPlayer::claimed, this, [&](const QString &word, const QList<Wire::Tile> &tiles) {
            sent.append({clock.elapsed(), word, tiles});
        });

        constexpr int minLetters = 4;
        rig.start(0, 60, 4, minLetters);
        QVERIFY(!rig.host.waitFor("CMD_nextplayer").isEmpty());
        clock.start();
        QVERIFY(!rig.host.waitFor("CMD_timeup", 10000).isEmpty());
        QTRY_COMPARE(accepted.size() + rejected.size(), qsizetype(sent.size()));

        QVERIFY2(sent.size() >= 5, qPrintable(QString::number(sent.size())));
        QCOMPARE(rejected.size(), 0);
        QCOMPARE(bot->wordsFound().size(), sent.size());
        const Wire::BoardCells &board = rig.server.board();
        for (qsizetype i = 0; i < sent.size(); ++i) {
            const Sent &s = sent[i];
            QVERIFY(s.tiles.size() >= minLetters);
            QString read;
            for (qsizetype t = 0; t < s.tiles.size(); ++t) {
                const Wire::Tile &tile = s.tiles[t];
                QVERIFY(tile.row >= 3 && tile.row <= 6 && tile.col >= 3 && tile.col <= 6);
                read += QChar(convertoletter(board[std::size_t(tile.row)][std::size_t(tile.col)])).toUpper();
                for (qsizetype u = 0; u < t; ++u)
                    QVERIFY(s.tiles[u] != tile);
                if (t > 0)
                    QVERIFY(adjacent(s.tiles[t - 1], tile));
            }
            QCOMPARE(read, s.word);
            QCOMPARE(accepted[i].at(0).toString(), s.word);
            if (i > 0)
                QVERIFY2(s.atMs - sent[i - 1].atMs >= Rig::secondMs,
                    qPrintable(QStringLiteral("%1 ms apart").arg(s.atMs - sent[i - 1].atMs)));
        }
        // Every player saw each accepted word scored.
        qsizetype scored = 0;
        for (const QByteArray &m : rig.host.messages())
            scored += m.startsWith("CMD_addscore+2+") ? 1 : 0;
        QCOMPARE(scored, sent.size());
    }

    void joinsARunningRoundAndPlaysWhatIsLeftOfIt()
    {
        Rig rig;
        QCOMPARE(rig.host.join(rig.server.port(), "Host"), 1);
        rig.start(0, 60, 4, 3);
        QVERIFY(!rig.host.waitFor("CMD_nextplayer").isEmpty());
        BotPlayer *bot = rig.addBot(BotStrength::Hard);
        QVERIFY(bot);
        QVERIFY(bot->isPlaying());
        QSignalSpy claimed(bot, &BotPlayer::claimed);
        QVERIFY(claimed.wait(5000));
    }

    void removingItFreesItsSlotAndDeletesIt()
    {
        Rig rig;
        QCOMPARE(rig.host.join(rig.server.port(), "Host"), 1);
        QPointer<BotPlayer> bot = rig.addBot(BotStrength::Medium);
        QVERIFY(bot);
        QSignalSpy gone(&rig.bots, &ComputerPlayers::playerGone);
        QSignalSpy refused(&rig.bots, &ComputerPlayers::playerRefused);

        rig.host.send(Wire::ToHost::kickhim(1, 2).chopped(1));
        QCOMPARE(rig.host.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Klot"));
        QTRY_VERIFY(bot.isNull());
        QCOMPARE(gone.size(), 1);
        QCOMPARE(gone.first().at(0).toString(), QStringLiteral("Klot"));
        QCOMPARE(refused.size(), 0);
        QCOMPARE(rig.bots.count(), 0);
        QCOMPARE(rig.bots.freeName(), QStringLiteral("Klot"));

        ProtocolClient next;
        QCOMPARE(next.join(rig.server.port(), "Next"), 2);
    }

    void aFullGameRefusesItAndItIsDeleted()
    {
        Rig rig;
        QCOMPARE(rig.host.join(rig.server.port(), "Host"), 1);
        std::vector<std::unique_ptr<ProtocolClient>> others;
        for (int slot = 2; slot <= Wire::slotCount; ++slot) {
            others.push_back(std::make_unique<ProtocolClient>());
            QCOMPARE(others.back()->join(rig.server.port(), "P" + QByteArray::number(slot)), slot);
        }
        QSignalSpy refused(&rig.bots, &ComputerPlayers::playerRefused);
        QPointer<BotPlayer> bot = rig.bots.add(BotStrength::Easy, QHostAddress::LocalHost, rig.server.port());
        QVERIFY(bot);
        QVERIFY(refused.wait(5000));
        QCOMPARE(refused.first().at(0).toString(), QStringLiteral("Klot"));
        QTRY_VERIFY(bot.isNull());
        QCOMPARE(rig.bots.count(), 0);
    }

    void leavingClosesTheConnectionAndDeletesIt()
    {
        Rig rig;
        QCOMPARE(rig.host.join(rig.server.port(), "Host"), 1);
        QPointer<BotPlayer> bot = rig.addBot(BotStrength::Easy);
        QVERIFY(bot);
        rig.bots.remove(bot);
        QCOMPARE(rig.host.waitFor("CMD_playerdisconnected"), QByteArray("CMD_playerdisconnected+2+Klot"));
        QTRY_VERIFY(bot.isNull());
        QCOMPARE(rig.bots.count(), 0);
    }

    void aHostThatCannotBeReachedLeavesNoPlayerBehind()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const quint16 port = closed.serverPort();
        closed.close();
        ComputerPlayers bots(*builtin().trie, {}, 1);
        QPointer<BotPlayer> bot = bots.add(BotStrength::Easy, QHostAddress::LocalHost, port);
        QVERIFY(bot);
        QTRY_VERIFY(bot.isNull());
        QCOMPARE(bots.count(), 0);
    }

    void aWholeSoloGameWithTwoComputerPlayersEndsWithAWinner()
    {
        Rig rig(seededDraw(2026));
        QCOMPARE(rig.host.join(rig.server.port(), "You"), 1);
        QVERIFY(rig.addBot(BotStrength::Hard));
        QVERIFY(rig.addBot(BotStrength::Medium));
        rig.start(5, 30, 4, 3);
        const QByteArray winner = rig.host.waitFor("CMD_winner", 30000);
        QVERIFY(winner == "CMD_winner+Klot+" || winner == "CMD_winner+Klock+");
        QCOMPARE(rig.host.waitFor("CMD_action"),
            QByteArray("CMD_action+2+Klot says: Good Game Everyone!|clBlack"));
        QCOMPARE(rig.host.waitFor("CMD_action"),
            QByteArray("CMD_action+3+Klock says: Good Game Everyone!|clBlack"));
        QVERIFY(rig.host.staysQuiet(100));
        // Nothing else is ever said.
        qsizetype said = 0;
        for (const QByteArray &m : rig.host.messages())
            said += (m.startsWith("CMD_chat") || m.startsWith("CMD_action") || m.startsWith("CMD_playasound"))
                ? 1
                : 0;
        QCOMPARE(said, 2);
        QCOMPARE(rig.server.gameRunning(), false);
    }

    void theClosingWordsAreTheNinthQuickPhrase()
    {
        QuickPhrases phrases;
        const auto message = phrases.b_phrase1Click(9, 4, Qt::black);
        QVERIFY(message);
        QCOMPARE(BotPlayer::goodGameMessage(4), Wire::toWire(message->text()) + Wire::terminator);
    }

    void hostileMessagesNeverMakeItPlay_data()
    {
        const Wire::BoardCells board = BoardDealer::deal(4, ScriptedDraw(richBoard).draw());
        const QByteArray good = Wire::ToPlayer::loadboard(board).chopped(1);
        QTest::addColumn<QList<QByteArray>>("messages");
        QTest::addColumn<bool>("plays");
        const auto withLogin = [](QList<QByteArray> rest) {
            rest.prepend("CMD_newplayerinfo+2+Klot+0");
            rest.prepend("CMD_sendlogininfo+2");
            return rest;
        };
        QTest::newRow("a sound board and its round") << withLogin({good, "CMD_nextplayer+2+"}) << true;
        QTest::newRow("round for another slot") << withLogin({good, "CMD_nextplayer+3+"}) << false;
        QTest::newRow("round with a broken slot") << withLogin({good, "CMD_nextplayer+2x+"}) << false;
        QTest::newRow("no board") << withLogin({"CMD_nextplayer+2+"}) << false;
        QTest::newRow("a row past the board")
            << withLogin({"CMD_loadboard+10+0+1+3+3+1", "CMD_nextplayer+2+"}) << false;
        QTest::newRow("a negative column")
            << withLogin({"CMD_loadboard+3+-1+1+3+3+1", "CMD_nextplayer+2+"}) << false;
        QTest::newRow("a cell that is not a number")
            << withLogin({good.left(good.size() - 2) + "+x", "CMD_nextplayer+2+"}) << false;
        QTest::newRow("a cell cut short") << withLogin({good + "+3+3", "CMD_nextplayer+2+"}) << false;
        QTest::newRow("more than a hundred cells")
            << withLogin({good + "+3+3+1", "CMD_nextplayer+2+"}) << false;
        QTest::newRow("time up after the round starts")
            << withLogin({good, "CMD_nextplayer+2+", "CMD_timeup+1+0+0"}) << false;
        QTest::newRow("a new board ends the round") << withLogin({good, "CMD_nextplayer+2+", good}) << false;
        QTest::newRow("set to watching")
            << withLogin({good, "CMD_nextplayer+2+", "CMD_justwatching+2+1"}) << false;
        QTest::newRow("watching stays until the next game")
            << withLogin({"CMD_justwatching+2+1", good, "CMD_nextplayer+2+"}) << false;
        QTest::newRow("a new game ends watching") << withLogin(
            {"CMD_justwatching+2+1", "CMD_startgame+Host+0+60+4+3+0+", good, "CMD_nextplayer+2+"})
                                                  << true;
        QTest::newRow("stats for another slot")
            << withLogin({good, "CMD_loadstats+3+0+60+4+3+40+1"}) << false;
        QTest::newRow("stats of a running round")
            << withLogin({good, "CMD_loadstats+2+0+60+4+3+40+1"}) << true;
        QTest::newRow("stats of a pause") << withLogin({good, "CMD_loadstats+2+0+60+4+3+5+2"}) << false;
        QTest::newRow("stats with nothing left")
            << withLogin({good, "CMD_loadstats+2+0+60+4+3+-4+1"}) << false;
        QTest::newRow("a slot past ten")
            << QList<QByteArray> {"CMD_sendlogininfo+11", good, "CMD_nextplayer+11+"} << false;
        QTest::newRow("slot zero") << QList<QByteArray> {"CMD_sendlogininfo+0", good, "CMD_nextplayer+0+"}
                                   << false;
        QTest::newRow("a second login keeps the first slot")
            << withLogin({"CMD_sendlogininfo+3", good, "CMD_nextplayer+3+"}) << false;
    }

    void hostileMessagesNeverMakeItPlay()
    {
        QFETCH(QList<QByteArray>, messages);
        QFETCH(bool, plays);
        BotPlayer bot(QStringLiteral("Klot"), BotStrength::Hard, *builtin().trie, 8);
        for (const QByteArray &m : messages)
            bot.handleMessage(m);
        QCOMPARE(bot.isPlaying(), plays);
        QCOMPARE(!bot.brain().plan().isEmpty(), plays);
    }

    void aHostFloodingUnframedBytesIsLeft()
    {
        QTcpServer fake;
        QVERIFY(fake.listen(QHostAddress::LocalHost, 0));
        BotPlayer bot(QStringLiteral("Klot"), BotStrength::Easy, *builtin().trie, 8);
        QSignalSpy closed(&bot, &BotPlayer::closed);
        bot.connectToHost(QHostAddress::LocalHost, fake.serverPort());
        QVERIFY(fake.waitForNewConnection(5000));
        QTcpSocket *peer = fake.nextPendingConnection();
        peer->write(QByteArray(70 * 1024, 'x'));
        QVERIFY(closed.wait(5000));
        QCOMPARE(closed.size(), 1);
        QTRY_COMPARE(peer->state(), QAbstractSocket::UnconnectedState);
    }
};

QTEST_GUILESS_MAIN(TestBotPlayer)
#include "tst_botplayer.moc"
