// The player's side of a game without a window or a socket: messages in through the
// client dispatch, the session's state, signals, lines and sounds out, and the requests
// the dispatch sends back.
#include "boardmodel.h"
#include "clientdispatch.h"
#include "gamesession.h"
#include "gamesounds.h"
#include "playsurface.h"
#include "recordingsoundplayer.h"
#include "rostermodel.h"
#include "sessionsounds.h"
#include "verdict.h"
#include "wordentry.h"
#include "wordresults.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QStringList texts(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toString();
    return out;
}

QList<QByteArray> bytes(const QSignalSpy &spy)
{
    QList<QByteArray> out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toByteArray();
    return out;
}

} // namespace

class TestGameSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void eachMessageReachesTheSession_data();
    void eachMessageReachesTheSession();
    void messagesOutsideTheTableAreIgnored_data();
    void messagesOutsideTheTableAreIgnored();
    void loginAnswersWithSlotVersionAndName();
    void loginWithoutASlotNumberIsIgnored();
    void rosterRecordsFillRowsAndPlayEnteredOnce();
    void aBrokenRecordStopsTheMessageKeepingEarlierRecords();
    void ownRecordAsksForTheSettings();
    void watcherRecordsFillTheSpyListWithinItsBound();
    void departuresOfWaitingSlotsAndUnknownWatchersSayNothing();
    void watchingFollowsTheHostForRosterSlotsOnly();
    void scoresSetBonusAndTotalUntilAFieldIsNoNumber_data();
    void scoresSetBonusAndTotalUntilAFieldIsNoNumber();
    void lateJoinerSeesTheGameAndEntersARunningRound_data();
    void lateJoinerSeesTheGameAndEntersARunningRound();
    void loadstatsShowsBoardSizesAndFallsBackToSixtySeconds_data();
    void loadstatsShowsBoardSizesAndFallsBackToSixtySeconds();
    void roundWordsAreHandedOnForTheOwnSlotOnly_data();
    void roundWordsAreHandedOnForTheOwnSlotOnly();
    void versionNoticesAndGameFull();
    void chatterSoundsPlayOrShowTheirCaption();
    void requestsAreSentOnlyWhenAllowed_data();
    void requestsAreSentOnlyWhenAllowed();
    void tallyRosterReadsEverySlot();

    void clockTextWritesMinutesAndTwoDigitSeconds_data();
    void clockTextWritesMinutesAndTwoDigitSeconds();
    void aRoundStartsForWhoeverHasTheTurn_data();
    void aRoundStartsForWhoeverHasTheTurn();
    void theClockTicksAloudBlanksBonusesAndClosesTheRound();
    void verdictsOnThisPlayersWordsOnly();
    void eachGameIsWonOnce_data();
    void eachGameIsWonOnce();
    void thePlaySurfaceFollowsTheRound();
    void returningWordsMarkOnlyWhatThePanelTook();

    void othersAwayAndBackShowInTheRoster();
    void aReturnRefillsTheSessionUpToItsWords_data();
    void aReturnRefillsTheSessionUpToItsWords();
    void onlyTheAnswerCountsWhileAReturnWaitsForIt_data();
    void onlyTheAnswerCountsWhileAReturnWaitsForIt();

private:
    void feed(const QByteArray &message) { dispatch_->processsocktimer(message); }
    // Logs in as `slot` and forgets the answer.
    void logIn(int slot);

    RecordingSoundPlayer player_;
    std::unique_ptr<GameSounds> sounds_;
    std::unique_ptr<GameSession> session_;
    std::unique_ptr<SessionSounds> sessionSounds_;
    std::unique_ptr<ClientDispatch> dispatch_;
    std::unique_ptr<QSignalSpy> lines_;
    std::unique_ptr<QSignalSpy> sent_;
    RosterModel *roster_ = nullptr;
    const ClientState *state_ = nullptr;
};

void TestGameSession::init()
{
    player_.played.clear();
    sounds_ = std::make_unique<GameSounds>(&player_);
    session_ = std::make_unique<GameSession>();
    session_->setPlayer(QStringLiteral("Dee"), QStringLiteral("127.0.0.1"));
    session_->takeRole(false);
    sessionSounds_ = std::make_unique<SessionSounds>(*session_, *sounds_);
    dispatch_ = std::make_unique<ClientDispatch>(*session_);
    lines_ = std::make_unique<QSignalSpy>(session_.get(), &GameSession::systemLine);
    sent_ = std::make_unique<QSignalSpy>(dispatch_.get(), &ClientDispatch::send);
    roster_ = session_->roster();
    state_ = &session_->state();
}

void TestGameSession::logIn(int slot)
{
    feed("CMD_sendlogininfo+" + QByteArray::number(slot));
    sent_->clear();
}

void TestGameSession::eachMessageReachesTheSession_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("event");
    QTest::newRow("start") << QByteArray("CMD_startgame+Ann+30+60+7+4+0+") << "gameStarting";
    QTest::newRow("next player") << QByteArray("CMD_nextplayer+2+") << "roundStarting";
    QTest::newRow("winner") << QByteArray("CMD_winner+Ann+") << "winner";
    QTest::newRow("board") << QByteArray("CMD_loadboard+0+0+1") << "board";
    QTest::newRow("good word") << QByteArray("CMD_goodword+2+3+CAT+3+1+") << "accepted";
    QTest::newRow("not valid") << QByteArray("CMD_notvalid+2+1+XYZ+") << "refused";
    QTest::newRow("time up") << QByteArray("CMD_timeup+1+0+0") << "roundScored";
    QTest::newRow("chat") << QByteArray("CMD_chat+2+Ann chats: hi") << "chat";
    QTest::newRow("action") << QByteArray("CMD_action+2+Ann waves") << "chat";
}

void TestGameSession::eachMessageReachesTheSession()
{
    QFETCH(QByteArray, message);
    QFETCH(QString, event);
    logIn(2);
    QStringList events;
    const auto record = [&events](const char *name) { return [&events, name] { events << name; }; };
    connect(session_.get(), &GameSession::gameStarting, this, record("gameStarting"));
    connect(session_.get(), &GameSession::roundStarting, this, record("roundStarting"));
    connect(session_.get(), &GameSession::winnerChanged, this, [&events](const QString &text) {
        if (!text.isEmpty())
            events << "winner";
    });
    connect(session_.get(), &GameSession::boardArrived, this, record("board"));
    connect(session_.get(), &GameSession::wordAccepted, this, record("accepted"));
    connect(session_.get(), &GameSession::wordRefused, this, record("refused"));
    connect(session_.get(), &GameSession::roundScored, this, record("roundScored"));
    connect(session_.get(), &GameSession::chatLine, this, record("chat"));
    feed(message);
    QCOMPARE(events, QStringList {event});
}

void TestGameSession::messagesOutsideTheTableAreIgnored_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no plus") << QByteArray("CMD_full");
    QTest::newRow("empty command") << QByteArray("+CMD_full+");
    QTest::newRow("other case") << QByteArray("cmd_full+");
    QTest::newRow("unknown") << QByteArray("CMD_fullish+");
    QTest::newRow("player's own word") << QByteArray("CMD_logininfo+1+1.0.7+Ann");
    QTest::newRow("empty") << QByteArray();
}

void TestGameSession::messagesOutsideTheTableAreIgnored()
{
    QFETCH(QByteArray, message);
    QSignalSpy full(session_.get(), &GameSession::gameFull);
    QSignalSpy status(session_.get(), &GameSession::statusChanged);
    feed(message);
    QCOMPARE(full.count() + status.count() + lines_->count() + sent_->count(), 0);
}

void TestGameSession::loginAnswersWithSlotVersionAndName()
{
    QSignalSpy loggedIn(session_.get(), &GameSession::loggedIn);
    feed("CMD_sendlogininfo+3");
    QCOMPARE(state_->myslot, 3);
    QVERIFY(state_->isconnected);
    QCOMPARE(loggedIn.count(), 1);
    // The offer to come back after a drop goes first: an older host ignores it.
    QCOMPARE(bytes(*sent_),
        QList<QByteArray>(
            {QByteArray("CMD_canrejoin+3+1+\xFF"), QByteArray("CMD_logininfo+3+1.0.7+Dee\xFF")}));
}

void TestGameSession::loginWithoutASlotNumberIsIgnored()
{
    feed("CMD_sendlogininfo+three");
    feed("CMD_sendlogininfo+0");
    QCOMPARE(state_->myslot, 0);
    QVERIFY(!state_->isconnected);
    QCOMPARE(sent_->count(), 0);
}

void TestGameSession::rosterRecordsFillRowsAndPlayEnteredOnce()
{
    logIn(4);
    feed("CMD_existingplayers+1+Ann+0+2+Bob+1+3+Cat+0");
    QCOMPARE(roster_->row(1).name, QStringLiteral("Ann"));
    QCOMPARE(roster_->row(2).name, QStringLiteral("Bob"));
    QVERIFY(roster_->row(2).watching);
    QCOMPARE(roster_->row(3).name, QStringLiteral("Cat"));
    QVERIFY(!roster_->row(3).watching);
    QCOMPARE(texts(*lines_), QStringList({"Ann is Connected.", "Bob is Connected.", "Cat is Connected."}));
    QCOMPARE(player_.played, QStringList {QStringLiteral("entered")});

    sounds_->setPlaySounds(false);
    feed("CMD_newplayerinfo+5+Eve+0");
    QCOMPARE(player_.played.size(), 1);
}

void TestGameSession::aBrokenRecordStopsTheMessageKeepingEarlierRecords()
{
    feed("CMD_existingplayers+1+Ann+0+two+Bob+0+3+Cat+0");
    QCOMPARE(roster_->row(1).name, QStringLiteral("Ann"));
    QVERIFY(roster_->isWaiting(2));
    QVERIFY(roster_->isWaiting(3));
    QVERIFY(player_.played.isEmpty());
}

void TestGameSession::ownRecordAsksForTheSettings()
{
    logIn(2);
    QSignalSpy admitted(session_.get(), &GameSession::admitted);
    feed("CMD_newplayerinfo+2+Dee+0");
    QCOMPARE(admitted.count(), 1);
    QCOMPARE(texts(*lines_), QStringList {QStringLiteral("You are Connected.")});
    QCOMPARE(roster_->row(2).name, QStringLiteral("Dee"));
}

void TestGameSession::watcherRecordsFillTheSpyListWithinItsBound()
{
    logIn(12);
    QSignalSpy added(session_.get(), &GameSession::spyAdded);
    feed("CMD_newplayerinfo+11+Eve+0");
    feed("CMD_newplayerinfo+12+Dee+0");
    QCOMPARE(texts(*lines_),
        QStringList({"Eve is Connected.", "Eve is spying.", "You are Connected.", "You are spying."}));
    QCOMPARE(session_->spies(), QStringList({"11: Eve", "12: Dee"}));
    QCOMPARE(added.count(), 2);
    QCOMPARE(added.at(0).at(0).toInt(), 11);

    // A host repeating a watcher, or sending thousands, grows the list no further.
    feed("CMD_newplayerinfo+11+Eve+0");
    QByteArray many = "CMD_existingplayers";
    for (int slot = 100; slot < 400; ++slot)
        many += "+" + QByteArray::number(slot) + "+W+0";
    feed(many);
    QCOMPARE(session_->spies().size(), GameSession::maxSpies);
    QCOMPARE(session_->spies().count(QStringLiteral("11: Eve")), 1);
}

void TestGameSession::departuresOfWaitingSlotsAndUnknownWatchersSayNothing()
{
    feed("CMD_existingplayers+3+Cat+1+11+Eve+0");
    lines_->clear();
    feed("CMD_playerdisconnected+4+Zed");
    feed("CMD_playerdisconnected+11+Zed");
    feed("CMD_playerdisconnected+12+Eve");
    QCOMPARE(lines_->count(), 0);

    QSignalSpy removed(session_.get(), &GameSession::spyRemoved);
    feed("CMD_playerdisconnected+3+Cat");
    feed("CMD_playerdisconnected+11+Eve");
    feed("CMD_playerdisconnected+11+Eve");
    QCOMPARE(texts(*lines_), QStringList({"Cat has left the room.", "Eve has disconnected."}));
    QVERIFY(roster_->isWaiting(3));
    QVERIFY(!roster_->row(3).watching);
    QCOMPARE(removed.count(), 1);
    QVERIFY(session_->spies().isEmpty());
}

void TestGameSession::watchingFollowsTheHostForRosterSlotsOnly()
{
    logIn(2);
    feed("CMD_existingplayers+1+Ann+0+2+Dee+0");
    lines_->clear();
    QSignalSpy mark(session_.get(), &GameSession::watchingChanged);
    feed("CMD_justwatching+2+1");
    QVERIFY(state_->justWatching);
    QVERIFY(roster_->row(2).watching);
    feed("CMD_justwatching+1+1");
    feed("CMD_justwatching+2+2");
    QVERIFY(!state_->justWatching);
    QCOMPARE(mark.count(), 2);
    feed("CMD_justwatching+12+1");
    feed("CMD_justwatching+x+1");
    QCOMPARE(texts(*lines_),
        QStringList({"Dee is just watching", "Ann is just watching", "Dee is now playing again"}));
    QVERIFY(roster_->row(1).watching);
}

void TestGameSession::scoresSetBonusAndTotalUntilAFieldIsNoNumber_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<QString>("score");
    QTest::newRow("whole") << QByteArray("CMD_addscore+2+5+17+") << "+5"
                           << "17";
    QTest::newRow("total not a number") << QByteArray("CMD_addscore+2+5+many+") << "+5"
                                        << "0";
    QTest::newRow("points not a number") << QByteArray("CMD_addscore+2+five+17+") << ""
                                         << "0";
}

void TestGameSession::scoresSetBonusAndTotalUntilAFieldIsNoNumber()
{
    QFETCH(QByteArray, message);
    QFETCH(QString, bonus);
    QFETCH(QString, score);
    feed(message);
    QCOMPARE(roster_->row(2).bonus, bonus);
    QCOMPARE(roster_->row(2).score, score);
    if (!bonus.isEmpty())
        QCOMPARE(roster_->row(2).bonusTag, 3);
}

void TestGameSession::lateJoinerSeesTheGameAndEntersARunningRound_data()
{
    QTest::addColumn<int>("myslot");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("phase");
    QTest::addColumn<bool>("joins");
    QTest::newRow("round running") << 2 << 50 << 1 << true;
    QTest::newRow("five seconds left") << 2 << 5 << 1 << true;
    QTest::newRow("four seconds left") << 2 << 4 << 1 << false;
    QTest::newRow("between rounds") << 2 << 50 << 2 << false;
    QTest::newRow("watcher") << 11 << 50 << 1 << false;
    // A host that sends the game before the login opens no word entry for slot 0.
    QTest::newRow("before the login") << 0 << 50 << 1 << false;
}

void TestGameSession::lateJoinerSeesTheGameAndEntersARunningRound()
{
    QFETCH(int, myslot);
    QFETCH(int, left);
    QFETCH(int, phase);
    QFETCH(bool, joins);
    logIn(myslot);
    sounds_->setTurnSound(GameSounds::New);
    QSignalSpy settingsShown(session_.get(), &GameSession::gameSettingsChanged);
    QSignalSpy started(session_.get(), &GameSession::roundStarted);
    QByteArray message = "CMD_loadstats+" + QByteArray::number(myslot) + "+300+90+9+5+"
        + QByteArray::number(left) + "+" + QByteArray::number(phase);
    for (int slot = 1; slot <= 10; ++slot)
        message += "+" + QByteArray::number(slot) + "+" + QByteArray::number(slot * 10);
    feed(message);

    QCOMPARE(settingsShown.count(), 1);
    QCOMPARE(state_->playToScoreCaption, QStringLiteral("Play to Score: 300"));
    QCOMPARE(state_->roundLength, 90);
    QCOMPARE(state_->pixelspersecond, 2);
    QCOMPARE(state_->boardSizeCaption, QStringLiteral("Board Size: 5X5"));
    QVERIFY(state_->oddboard);
    QCOMPARE(state_->minLetters, 5);
    QCOMPARE(texts(*lines_), QStringList {QStringLiteral("5 LETTER MINIMUM!")});
    QCOMPARE(roster_->row(3).score, QStringLiteral("30"));
    QCOMPARE(roster_->row(10).score, QStringLiteral("100"));

    QCOMPARE(state_->activeslot, joins ? myslot : 0);
    QCOMPARE(state_->secondsleft, joins ? left : 0);
    QCOMPARE(player_.played, joins ? QStringList {QStringLiteral("turnnew")} : QStringList {});
    QCOMPARE(started.count(), joins ? 1 : 0);
    QCOMPARE(session_->turntime().isActive(), joins);
    QCOMPARE(session_->status(), joins ? QStringLiteral("Click or Type a Word!") : GameSession::welcome);
}

void TestGameSession::loadstatsShowsBoardSizesAndFallsBackToSixtySeconds_data()
{
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<int>("roundLength");
    QTest::addColumn<QString>("boardSize");
    QTest::addColumn<bool>("odd");
    QTest::addColumn<bool>("shown");
    QTest::newRow("10X10") << QByteArray("100+60+7+4+0+2+1+0") << 60 << "Board Size: 10X10" << false << true;
    QTest::newRow("random") << QByteArray("100+45+8+4+0+2+1+0") << 45 << "Board Size: ?" << false << true;
    QTest::newRow("9X9") << QByteArray("100+180+11+4+0+2+1+0") << 180 << "Board Size: 9X9" << true << true;
    QTest::newRow("unknown code keeps the label")
        << QByteArray("100+60+12+4+0+2+1+0") << 60 << "Board Size: 6X6" << false << true;
    QTest::newRow("round length not a number")
        << QByteArray("100+soon+5+4+0+2+1+0") << 60 << "Board Size: 6X6" << false << true;
    // As at a game's start: a round that could never tick down lasts 60 seconds.
    QTest::newRow("zero seconds") << QByteArray("100+0+5+4+0+2+1+0") << 60 << "Board Size: 6X6" << false
                                  << true;
    QTest::newRow("negative seconds")
        << QByteArray("100+-30+5+4+0+2+1+0") << 60 << "Board Size: 6X6" << false << true;
    QTest::newRow("minimum not a number")
        << QByteArray("100+90+9+four+0+2+1+0") << 60 << "Board Size: 6X6" << false << false;
    QTest::newRow("broken score pair shows nothing")
        << QByteArray("100+90+9+4+0+2+1+x") << 60 << "Board Size: 6X6" << false << false;
    QTest::newRow("other slot") << QByteArray() << 60 << "Board Size: 6X6" << false << false;
}

void TestGameSession::loadstatsShowsBoardSizesAndFallsBackToSixtySeconds()
{
    QFETCH(QByteArray, fields);
    QFETCH(int, roundLength);
    QFETCH(QString, boardSize);
    QFETCH(bool, odd);
    QFETCH(bool, shown);
    logIn(1);
    feed("CMD_startgame+Ann+100+60+5+4+0+");
    QSignalSpy settingsShown(session_.get(), &GameSession::gameSettingsChanged);
    feed(fields.isEmpty() ? QByteArray("CMD_loadstats+2+100+90+9+5+50+1") : "CMD_loadstats+1+" + fields);
    QCOMPARE(settingsShown.count(), shown ? 1 : 0);
    QCOMPARE(state_->roundLength, roundLength);
    QCOMPARE(state_->boardSizeCaption, boardSize);
    QCOMPARE(state_->oddboard, odd);
    QVERIFY(state_->pixelspersecond >= 1);
}

void TestGameSession::roundWordsAreHandedOnForTheOwnSlotOnly_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("handed");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("words") << QByteArray("CMD_mainlist+3+CAT+DOG+TOP") << true
                           << QStringList({"CAT", "DOG", "TOP"});
    QTest::newRow("no words") << QByteArray("CMD_mainlist+3+No Words") << true << QStringList {};
    QTest::newRow("other slot") << QByteArray("CMD_mainlist+4+CAT") << false << QStringList {};
    QTest::newRow("slot alone") << QByteArray("CMD_mainlist+3") << true << QStringList {};
}

void TestGameSession::roundWordsAreHandedOnForTheOwnSlotOnly()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, handed);
    QFETCH(QStringList, words);
    logIn(3);
    QSignalSpy handedOn(session_.get(), &GameSession::roundWords);
    feed(message);
    QCOMPARE(handedOn.count(), handed ? 1 : 0);
    if (handed)
        QCOMPARE(handedOn.at(0).at(0).toStringList(), words);
}

void TestGameSession::versionNoticesAndGameFull()
{
    QSignalSpy full(session_.get(), &GameSession::gameFull);
    feed("CMD_havewrongversion+Zed");
    feed("CMD_wrongversion+");
    feed("CMD_full+");
    QCOMPARE(texts(*lines_),
        QStringList({"Zed has a different version of the game then you.",
            "You have a differnt version of the game then the host."}));
    QCOMPARE(full.count(), 1);
}

void TestGameSession::chatterSoundsPlayOrShowTheirCaption()
{
    feed("CMD_existingplayers+2+Bob+0");
    player_.played.clear();
    sounds_->setPlayChatterSounds(true);
    feed("CMD_playasound+2+wave1+");
    QCOMPARE(player_.played, QStringList {QStringLiteral("wave1")});
    lines_->clear();
    sounds_->setPlayChatterSounds(false);
    feed("CMD_playasound+2+wave1+");
    feed("CMD_playasound+12+wave2+");
    QCOMPARE(texts(*lines_), QStringList {QStringLiteral("Bob: <Chatter Sound> Doh")});
}

void TestGameSession::requestsAreSentOnlyWhenAllowed_data()
{
    QTest::addColumn<bool>("host");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("offline");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::newRow("host") << true << true << false
                          << QList<QByteArray> {"CMD_kickhim+1+5+\xFF", "CMD_justwatch+5+1\xFF",
                                 "CMD_justwatch+5+2\xFF", "CMD_justwatch+1+1\xFF",
                                 "CMD_playerdone+1+1+3+4\xFF"};
    QTest::newRow("player") << false << true << false
                            << QList<QByteArray> {"CMD_justwatch+5+1\xFF", "CMD_justwatch+5+2\xFF",
                                   "CMD_justwatch+1+1\xFF", "CMD_playerdone+1+1+3+4\xFF"};
    QTest::newRow("not connected") << true << false << false << QList<QByteArray> {};
    QTest::newRow("coming back after a drop") << true << true << true << QList<QByteArray> {};
}

void TestGameSession::requestsAreSentOnlyWhenAllowed()
{
    QFETCH(bool, host);
    QFETCH(bool, connected);
    QFETCH(bool, offline);
    QFETCH(QList<QByteArray>, sent);
    session_->takeRole(host);
    if (connected)
        logIn(1);
    dispatch_->setOnline(!offline);
    dispatch_->kicking(5);
    dispatch_->SettoJustWatch1Click(5);
    dispatch_->UnsetJustWatch1Click(5);
    dispatch_->SettoJustWatch1Click(11);
    dispatch_->JustWatch1Click();
    const Wire::Tile tile {3, 4};
    dispatch_->playerdone({&tile, 1});
    QCOMPARE(bytes(*sent_), sent);
}

void TestGameSession::tallyRosterReadsEverySlot()
{
    logIn(2);
    feed("CMD_existingplayers+1+Ann+0+2+Dee+0+4+Bob+0");
    const TallyRoster roster = session_->tallyRoster();
    QCOMPARE(roster.myslot, 2);
    QCOMPARE(roster.names.size(), 10);
    QCOMPARE(roster.names.at(3), QStringLiteral("Bob"));
    QCOMPARE(roster.names.at(2), QStringLiteral("<Waiting>"));
}

void TestGameSession::clockTextWritesMinutesAndTwoDigitSeconds_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("65") << 65 << "Time: 1:05";
    QTest::newRow("70") << 70 << "Time: 1:10";
    QTest::newRow("9") << 9 << "Time: 0:09";
    QTest::newRow("180") << 180 << "Time: 3:00";
    QTest::newRow("0") << 0 << "Time: 0:00";
}

void TestGameSession::clockTextWritesMinutesAndTwoDigitSeconds()
{
    QFETCH(int, seconds);
    QFETCH(QString, text);
    QCOMPARE(GameSession::clockText(seconds), text);
}

void TestGameSession::aRoundStartsForWhoeverHasTheTurn_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("activeslot");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("sounds");
    QTest::newRow("mine") << QByteArray("CMD_nextplayer+1+") << 1 << "Click or Type a Word!"
                          << QStringList {"turn"};
    QTest::newRow("another's") << QByteArray("CMD_nextplayer+2+") << 2 << "Bob's turn." << QStringList {};
    // The round still resets (word entry, results), but nobody's turn starts.
    QTest::newRow("no number") << QByteArray("CMD_nextplayer+x+") << 0 << GameSession::welcome
                               << QStringList {};
}

void TestGameSession::aRoundStartsForWhoeverHasTheTurn()
{
    QFETCH(QByteArray, message);
    QFETCH(int, activeslot);
    QFETCH(QString, status);
    QFETCH(QStringList, sounds);
    logIn(1);
    feed("CMD_existingplayers+1+Dee+0+2+Bob+0");
    player_.played.clear();
    QSignalSpy starting(session_.get(), &GameSession::roundStarting);
    feed(message);
    QCOMPARE(starting.count(), 1);
    QCOMPARE(state_->activeslot, activeslot);
    QCOMPARE(session_->isMyTurn(), activeslot == 1);
    QCOMPARE(session_->status(), status);
    QCOMPARE(player_.played, sounds);
    QCOMPARE(session_->turntime().isActive(), activeslot != 0);
}

void TestGameSession::theClockTicksAloudBlanksBonusesAndClosesTheRound()
{
    logIn(1);
    feed("CMD_startgame+Bob+30+60+4+3+0+");
    QCOMPARE(session_->clockPlace(), GameSession::ClockPlace::Clock);
    feed("CMD_nextplayer+1+");
    feed("CMD_addscore+3+5+12+");
    QSignalSpy turn(session_.get(), &GameSession::turnChanged);
    QList<int> tickedAt;
    for (int left = 59; left >= 1; --left) {
        player_.played.clear();
        session_->turntimeTimer();
        QCOMPARE(state_->secondsleft, left);
        if (player_.played.contains(QStringLiteral("tick")))
            tickedAt.append(left);
        // A bonus shown by a score is blanked on the fourth tick after it.
        QCOMPARE(roster_->row(3).bonus, left > 56 ? QStringLiteral("+5") : QString());
    }
    QCOMPARE(tickedAt, (QList<int> {20, 15, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    QCOMPARE(turn.count(), 0);
    session_->turntimeTimer();
    QCOMPARE(state_->secondsleft, 0);
    QCOMPARE(state_->activeslot, 0);
    QCOMPARE(turn.count(), 1);
    QVERIFY(!session_->turntime().isActive());
}

void TestGameSession::verdictsOnThisPlayersWordsOnly()
{
    logIn(1);
    QSignalSpy accepted(session_.get(), &GameSession::wordAccepted);
    QSignalSpy refused(session_.get(), &GameSession::wordRefused);
    feed("CMD_goodword+1+4+RAVINE+6+1+");
    feed("CMD_goodword+2+4+RAVINE+6+1+");
    feed("CMD_goodword+1+3+CAT+3+2+");
    feed("CMD_notvalid+1+2+CAT+");
    feed("CMD_notvalid+2+1+XYZ+");
    QCOMPARE(accepted.count(), 2);
    QCOMPARE(accepted.at(0), (QList<QVariant> {QStringLiteral("RAVINE"), 4, true}));
    QCOMPARE(accepted.at(1).at(2).toBool(), false);
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.at(0).at(0).value<Wire::RejectReason>(), Wire::RejectReason::AlreadyFound);
}

void TestGameSession::eachGameIsWonOnce_data()
{
    QTest::addColumn<QList<QByteArray>>("messages");
    QTest::addColumn<int>("won");
    const QByteArray start = "CMD_startgame+Ann+30+60+4+3+0+";
    const QByteArray won = "CMD_winner+Bob+";
    QTest::newRow("started and won") << QList<QByteArray> {start, won} << 1;
    QTest::newRow("joined late and won")
        << QList<QByteArray> {"CMD_loadstats+1+30+60+4+3+20+1+1+0+2+0", won} << 1;
    QTest::newRow("winner declared twice") << QList<QByteArray> {start, won, won} << 1;
    QTest::newRow("winner without a game") << QList<QByteArray> {won} << 0;
    QTest::newRow("two games") << QList<QByteArray> {start, won, start, won} << 2;
}

void TestGameSession::eachGameIsWonOnce()
{
    QFETCH(QList<QByteArray>, messages);
    QFETCH(int, won);
    logIn(1);
    QSignalSpy gameWon(session_.get(), &GameSession::gameWon);
    for (const QByteArray &message : messages)
        feed(message);
    QCOMPARE(gameWon.count(), won);
    // The banner shows each time, counted or not.
    QCOMPARE(session_->winnerText(), QStringLiteral("Bob has Won the Game!"));
    QVERIFY(player_.played.contains(QStringLiteral("gameover")));
}

void TestGameSession::thePlaySurfaceFollowsTheRound()
{
    BoardModel board;
    WordEntry entry(&board);
    WordResults results;
    PlaySurface surface(*session_, board, entry, results, *dispatch_, *sounds_);
    logIn(1);
    feed("CMD_startgame+Dee+30+60+9+5+0+");
    QCOMPARE(entry.minLetters(), 5);
    QVERIFY(board.oddboard());
    feed("CMD_loadboard+3+3+3+3+4+1+3+5+20");
    QCOMPARE(board.realboard()[3][4], 1);
    board.setPathOverlay({{3, 3}});
    feed("CMD_nextplayer+1+");
    QVERIFY(entry.entryOpen());
    QVERIFY(board.pathOverlay().isEmpty());

    feed("CMD_goodword+1+4+CAT+3+1+");
    QCOMPARE(results.count(), 1);
    QCOMPARE(session_->status(), QStringLiteral("You made CAT for 4 points!"));
    feed("CMD_notvalid+1+2+CAT+");
    QCOMPARE(session_->status(), Verdict::alreadyFound);
    feed("CMD_timeup+1+4+4");
    QVERIFY(!entry.entryOpen());
}

void TestGameSession::returningWordsMarkOnlyWhatThePanelTook()
{
    BoardModel board;
    WordEntry entry(&board);
    WordResults results;
    PlaySurface surface(*session_, board, entry, results, *dispatch_, *sounds_);
    logIn(2);
    feed("CMD_startgame+Ann+100+60+4+3+0+");
    session_->connectionLost();
    dispatch_->awaitReturn();
    feed("CMD_welcomeback+2+0123456789abcdef0123456789abcdef+90+");
    // A host's list of repeats and junk costs one look per word, and marks nothing of it.
    feed("CMD_foundwords+2+CAT+2+1+cat+2+1+A1B+1+1+TOOLONGFORAWORD+1+1+TEAM+1+2");
    QCOMPARE(results.count(), 2);
    QCOMPARE(entry.wordsfound(), QStringList({"cat", "team"}));
}

void TestGameSession::othersAwayAndBackShowInTheRoster()
{
    logIn(3);
    feed("CMD_existingplayers+1+Ann+0+2+Bob+0");
    feed("CMD_playeraway+2+");
    feed("CMD_playeraway+2+");
    QVERIFY(roster_->row(2).away);
    QCOMPARE(roster_->row(2).name, QStringLiteral("Bob"));
    // Nobody away in an empty seat or in this player's own.
    feed("CMD_playeraway+5+");
    feed("CMD_playeraway+3+");
    QVERIFY(!roster_->row(5).away && !roster_->row(3).away);
    feed("CMD_playerback+2+");
    QVERIFY(!roster_->row(2).away);
    feed("CMD_playeraway+1+");
    feed("CMD_playerdisconnected+1+Ann");
    QVERIFY(!roster_->row(1).away);
    QCOMPARE(texts(*lines_).mid(2),
        QStringList({"Bob has lost the connection.", "Bob is back.", "Ann has lost the connection.",
            "Ann has left the room."}));
}

void TestGameSession::aReturnRefillsTheSessionUpToItsWords_data()
{
    QTest::addColumn<QByteArray>("stats");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("secondsLeft");
    QTest::newRow("into a running round")
        << QByteArray("CMD_loadstats+2+100+60+4+3+41+1+1+5+2+7") << true << 41;
    QTest::newRow("between rounds") << QByteArray("CMD_loadstats+2+100+60+4+3+8+2+1+5+2+7") << true << 0;
    QTest::newRow("after the game") << QByteArray() << false << 0;
}

void TestGameSession::aReturnRefillsTheSessionUpToItsWords()
{
    QFETCH(QByteArray, stats);
    QFETCH(bool, running);
    QFETCH(int, secondsLeft);
    logIn(2);
    feed("CMD_startgame+Ann+100+60+4+3+0+");
    feed("CMD_nextplayer+2+");
    feed("CMD_existingplayers+1+Ann+0+3+Cy+0+4+Dee+0");
    lines_->clear();
    session_->connectionLost();
    QVERIFY(!session_->isMyTurn());

    // Seats and words come only with a return.
    feed("CMD_seats+1+Ann+0+0+2+Dee+0+0");
    QCOMPARE(roster_->row(3).name, QStringLiteral("Cy"));
    QSignalSpy restored(session_.get(), &GameSession::wordsRestored);
    QSignalSpy returned(session_.get(), &GameSession::returned);
    feed("CMD_foundwords+2+CAT+2+1");
    QCOMPARE(restored.count(), 0);

    dispatch_->awaitReturn();
    feed("CMD_welcomeback+2+0123456789abcdef0123456789abcdef+90+");
    QCOMPARE(bytes(*sent_), QList<QByteArray> {QByteArray("CMD_logininfo+2+1.0.7+Dee\xFF")});
    QVERIFY(session_->isReturning());
    feed("CMD_seats+1+Ann+0+1+2+Dee+1+0+4+Dee+0+0");
    QCOMPARE(roster_->row(3).name, RosterModel::waiting);
    QVERIFY(roster_->row(1).away);
    QVERIFY(state_->justWatching);
    if (!stats.isEmpty())
        feed(stats);
    feed("CMD_foundwords+2+CAT+2+1+TEAM+1+2");
    QCOMPARE(restored.count(), 1);
    QCOMPARE(restored.first().first().value<QList<Wire::FromHost::Found>>().size(), 2);
    QCOMPARE(returned.count(), 1);
    QVERIFY(!session_->isReturning());
    QCOMPARE(state_->gameRunning, running);
    QCOMPARE(session_->isMyTurn(), secondsLeft > 0);
    QCOMPARE(session_->turntime().isActive(), secondsLeft > 0);
    QCOMPARE(state_->secondsleft, secondsLeft);
    QVERIFY(texts(*lines_).endsWith(QStringLiteral("You are back in the game.")));
    QVERIFY(!texts(*lines_).join('|').contains(QStringLiteral("LETTER MINIMUM")));
}

void TestGameSession::onlyTheAnswerCountsWhileAReturnWaitsForIt_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("welcome") << QByteArray("CMD_welcomeback+2+0123456789abcdef0123456789abcdef+90+") << true;
    QTest::newRow("refusal") << QByteArray("CMD_rejoinrefused+") << false;
}

void TestGameSession::onlyTheAnswerCountsWhileAReturnWaitsForIt()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, accepted);
    logIn(2);
    QSignalSpy full(session_.get(), &GameSession::gameFull);
    QSignalSpy welcomed(dispatch_.get(), &ClientDispatch::returnAccepted);
    QSignalSpy refused(dispatch_.get(), &ClientDispatch::returnRefused);
    dispatch_->awaitReturn();
    // The seat the connection got on arrival, or a game with no seat free.
    feed("CMD_sendlogininfo+5");
    feed("CMD_full+");
    feed("CMD_newplayerinfo+5+Dee+0");
    QCOMPARE(state_->myslot, 2);
    QCOMPARE(full.count() + lines_->count() + sent_->count(), 0);
    feed(answer);
    QCOMPARE(welcomed.count(), int(accepted));
    QCOMPARE(refused.count(), int(!accepted));
    QVERIFY(!dispatch_->isAwaitingReturn());
    // An answer that nobody waits for changes nothing.
    feed(answer);
    QCOMPARE(welcomed.count() + refused.count(), 1);
}

QTEST_GUILESS_MAIN(TestGameSession)
#include "tst_gamesession.moc"
