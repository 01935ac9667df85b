// The client side of the protocol without a window or a socket: messages in, roster,
// state, lines, sounds and requests out.
#include "clientdispatch.h"
#include "clientstate.h"
#include "gameflowhandlers.h"
#include "gamesounds.h"
#include "recordingsoundplayer.h"
#include "rostermodel.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Records what reaches the game flow, as "handler:rest".
class RecordingGameFlow : public GameFlowHandlers
{
public:
    void startthegame(const QByteArray &rest) override { calls << "startthegame:" + rest; }
    void getnextplayer(const QByteArray &rest) override { calls << "getnextplayer:" + rest; }
    void winner(const QByteArray &rest) override { calls << "winner:" + rest; }
    void loadboard(const QByteArray &rest) override { calls << "loadboard:" + rest; }
    void goodword(const QByteArray &rest) override { calls << "goodword:" + rest; }
    void notvalid(const QByteArray &rest) override { calls << "notvalid:" + rest; }
    void timeup(const QByteArray &rest) override { calls << "timeup:" + rest; }
    void joinRunningRound() override { calls << "joinRunningRound"; }

    QList<QByteArray> calls;
};

} // namespace

class TestClientDispatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void gameCourseMessagesGoToTheGameFlow_data();
    void gameCourseMessagesGoToTheGameFlow();
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

private:
    void feed(const QByteArray &message) { dispatch_->processsocktimer(message); }

    ClientState state_;
    std::unique_ptr<RosterModel> roster_;
    RecordingSoundPlayer player_;
    std::unique_ptr<GameSounds> sounds_;
    RecordingGameFlow flow_;
    std::unique_ptr<ClientDispatch> dispatch_;
    std::unique_ptr<QSignalSpy> lines_;
    std::unique_ptr<QSignalSpy> sent_;
};

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

void TestClientDispatch::init()
{
    state_ = ClientState();
    state_.loginname = QStringLiteral("Dee");
    roster_ = std::make_unique<RosterModel>();
    player_.played.clear();
    sounds_ = std::make_unique<GameSounds>(&player_);
    flow_.calls.clear();
    dispatch_ = std::make_unique<ClientDispatch>(state_, *roster_, *sounds_);
    dispatch_->setGameFlow(&flow_);
    lines_ = std::make_unique<QSignalSpy>(dispatch_.get(), &ClientDispatch::systemLine);
    sent_ = std::make_unique<QSignalSpy>(dispatch_.get(), &ClientDispatch::send);
}

void TestClientDispatch::gameCourseMessagesGoToTheGameFlow_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("call");
    QTest::newRow("start") << QByteArray("CMD_startgame+Ann+30+60+7+4+0+")
                           << QByteArray("startthegame:Ann+30+60+7+4+0+");
    QTest::newRow("next player") << QByteArray("CMD_nextplayer+2+") << QByteArray("getnextplayer:2+");
    QTest::newRow("winner") << QByteArray("CMD_winner+Ann+") << QByteArray("winner:Ann+");
    QTest::newRow("board") << QByteArray("CMD_loadboard+0+0+1") << QByteArray("loadboard:0+0+1");
    QTest::newRow("good word") << QByteArray("CMD_goodword+2+3+CAT+3+1+")
                               << QByteArray("goodword:2+3+CAT+3+1+");
    QTest::newRow("not valid") << QByteArray("CMD_notvalid+2+1+XYZ+") << QByteArray("notvalid:2+1+XYZ+");
    QTest::newRow("time up") << QByteArray("CMD_timeup+1+0+0") << QByteArray("timeup:1+0+0");
}

void TestClientDispatch::gameCourseMessagesGoToTheGameFlow()
{
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, call);
    feed(message);
    QCOMPARE(flow_.calls, QList<QByteArray> {call});
}

void TestClientDispatch::messagesOutsideTheTableAreIgnored_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no plus") << QByteArray("CMD_full");
    QTest::newRow("empty command") << QByteArray("+CMD_full+");
    QTest::newRow("other case") << QByteArray("cmd_full+");
    QTest::newRow("unknown") << QByteArray("CMD_fullish+");
    QTest::newRow("player's own word") << QByteArray("CMD_logininfo+1+1.0.7+Ann");
    QTest::newRow("empty") << QByteArray();
}

void TestClientDispatch::messagesOutsideTheTableAreIgnored()
{
    QFETCH(QByteArray, message);
    QSignalSpy full(dispatch_.get(), &ClientDispatch::gameFull);
    feed(message);
    QCOMPARE(full.count(), 0);
    QCOMPARE(lines_->count(), 0);
    QCOMPARE(sent_->count(), 0);
    QVERIFY(flow_.calls.isEmpty());
}

void TestClientDispatch::loginAnswersWithSlotVersionAndName()
{
    QSignalSpy loggedIn(dispatch_.get(), &ClientDispatch::loggedIn);
    feed("CMD_sendlogininfo+3");
    QCOMPARE(state_.myslot, 3);
    QVERIFY(state_.isconnected);
    QCOMPARE(loggedIn.count(), 1);
    QCOMPARE(bytes(*sent_), QList<QByteArray> {QByteArray("CMD_logininfo+3+1.0.7+Dee\xFF")});
}

void TestClientDispatch::loginWithoutASlotNumberIsIgnored()
{
    feed("CMD_sendlogininfo+three");
    feed("CMD_sendlogininfo+0");
    QCOMPARE(state_.myslot, 0);
    QVERIFY(!state_.isconnected);
    QCOMPARE(sent_->count(), 0);
}

void TestClientDispatch::rosterRecordsFillRowsAndPlayEnteredOnce()
{
    state_.myslot = 4;
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

void TestClientDispatch::aBrokenRecordStopsTheMessageKeepingEarlierRecords()
{
    feed("CMD_existingplayers+1+Ann+0+two+Bob+0+3+Cat+0");
    QCOMPARE(roster_->row(1).name, QStringLiteral("Ann"));
    QVERIFY(roster_->isWaiting(2));
    QVERIFY(roster_->isWaiting(3));
    QVERIFY(player_.played.isEmpty());
}

void TestClientDispatch::ownRecordAsksForTheSettings()
{
    state_.myslot = 2;
    QSignalSpy admitted(dispatch_.get(), &ClientDispatch::admitted);
    feed("CMD_newplayerinfo+2+Dee+0");
    QCOMPARE(admitted.count(), 1);
    QCOMPARE(texts(*lines_), QStringList {QStringLiteral("You are Connected.")});
    QCOMPARE(roster_->row(2).name, QStringLiteral("Dee"));
}

void TestClientDispatch::watcherRecordsFillTheSpyListWithinItsBound()
{
    state_.myslot = 12;
    QSignalSpy added(dispatch_.get(), &ClientDispatch::spyAdded);
    feed("CMD_newplayerinfo+11+Eve+0");
    feed("CMD_newplayerinfo+12+Dee+0");
    QCOMPARE(texts(*lines_),
        QStringList({"Eve is Connected.", "Eve is spying.", "You are Connected.", "You are spying."}));
    QCOMPARE(dispatch_->spies(), QStringList({"11: Eve", "12: Dee"}));
    QCOMPARE(added.count(), 2);
    QCOMPARE(added.at(0).at(0).toInt(), 11);

    // A host repeating a watcher, or sending thousands, grows the list no further.
    feed("CMD_newplayerinfo+11+Eve+0");
    QByteArray many = "CMD_existingplayers";
    for (int slot = 100; slot < 400; ++slot)
        many += "+" + QByteArray::number(slot) + "+W+0";
    feed(many);
    QCOMPARE(dispatch_->spies().size(), ClientDispatch::maxSpies);
    QCOMPARE(dispatch_->spies().count(QStringLiteral("11: Eve")), 1);
}

void TestClientDispatch::departuresOfWaitingSlotsAndUnknownWatchersSayNothing()
{
    feed("CMD_existingplayers+3+Cat+1+11+Eve+0");
    lines_->clear();
    feed("CMD_playerdisconnected+4+Zed");
    feed("CMD_playerdisconnected+11+Zed");
    feed("CMD_playerdisconnected+12+Eve");
    QCOMPARE(lines_->count(), 0);

    QSignalSpy removed(dispatch_.get(), &ClientDispatch::spyRemoved);
    feed("CMD_playerdisconnected+3+Cat");
    feed("CMD_playerdisconnected+11+Eve");
    feed("CMD_playerdisconnected+11+Eve");
    QCOMPARE(texts(*lines_), QStringList({"Cat has left the room.", "Eve has disconnected."}));
    QVERIFY(roster_->isWaiting(3));
    QVERIFY(!roster_->row(3).watching);
    QCOMPARE(removed.count(), 1);
    QVERIFY(dispatch_->spies().isEmpty());
}

void TestClientDispatch::watchingFollowsTheHostForRosterSlotsOnly()
{
    state_.myslot = 2;
    feed("CMD_existingplayers+1+Ann+0+2+Dee+0");
    lines_->clear();
    QSignalSpy mark(dispatch_.get(), &ClientDispatch::justWatchingChanged);
    feed("CMD_justwatching+2+1");
    QVERIFY(state_.justWatching);
    QVERIFY(roster_->row(2).watching);
    feed("CMD_justwatching+1+1");
    feed("CMD_justwatching+2+2");
    QVERIFY(!state_.justWatching);
    QCOMPARE(mark.count(), 2);
    feed("CMD_justwatching+12+1");
    feed("CMD_justwatching+x+1");
    QCOMPARE(texts(*lines_),
        QStringList({"Dee is just watching", "Ann is just watching", "Dee is now playing again"}));
    QVERIFY(roster_->row(1).watching);
}

void TestClientDispatch::scoresSetBonusAndTotalUntilAFieldIsNoNumber_data()
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

void TestClientDispatch::scoresSetBonusAndTotalUntilAFieldIsNoNumber()
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

void TestClientDispatch::lateJoinerSeesTheGameAndEntersARunningRound_data()
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
}

void TestClientDispatch::lateJoinerSeesTheGameAndEntersARunningRound()
{
    QFETCH(int, myslot);
    QFETCH(int, left);
    QFETCH(int, phase);
    QFETCH(bool, joins);
    state_.myslot = myslot;
    sounds_->setTurnSound(GameSounds::New);
    QSignalSpy settingsShown(dispatch_.get(), &ClientDispatch::gameSettingsChanged);
    QByteArray message = "CMD_loadstats+" + QByteArray::number(myslot) + "+300+90+9+5+"
        + QByteArray::number(left) + "+" + QByteArray::number(phase);
    for (int slot = 1; slot <= 10; ++slot)
        message += "+" + QByteArray::number(slot) + "+" + QByteArray::number(slot * 10);
    feed(message);

    QCOMPARE(settingsShown.count(), 1);
    QCOMPARE(state_.playToScoreCaption, QStringLiteral("Play to Score: 300"));
    QCOMPARE(state_.roundLength, 90);
    QCOMPARE(state_.pixelspersecond, 2);
    QCOMPARE(state_.boardSizeCaption, QStringLiteral("Board Size: 5X5"));
    QVERIFY(state_.oddboard);
    QCOMPARE(state_.minLetters, 5);
    QCOMPARE(texts(*lines_), QStringList {QStringLiteral("5 LETTER MINIMUM!")});
    QCOMPARE(roster_->row(3).score, QStringLiteral("30"));
    QCOMPARE(roster_->row(10).score, QStringLiteral("100"));

    QCOMPARE(state_.activeslot, joins ? myslot : 0);
    QCOMPARE(state_.secondsleft, joins ? left : 0);
    QCOMPARE(player_.played, joins ? QStringList {QStringLiteral("turnnew")} : QStringList {});
    QCOMPARE(flow_.calls, joins ? QList<QByteArray> {"joinRunningRound"} : QList<QByteArray> {});
}

void TestClientDispatch::loadstatsShowsBoardSizesAndFallsBackToSixtySeconds_data()
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
        << QByteArray("100+60+9+four+0+2+1+0") << 60 << "Board Size: 6X6" << false << false;
    QTest::newRow("broken score pair shows nothing")
        << QByteArray("100+60+9+4+0+2+1+x") << 60 << "Board Size: 6X6" << false << false;
    QTest::newRow("other slot") << QByteArray() << 60 << "Board Size: 6X6" << false << false;
}

void TestClientDispatch::loadstatsShowsBoardSizesAndFallsBackToSixtySeconds()
{
    QFETCH(QByteArray, fields);
    QFETCH(int, roundLength);
    QFETCH(QString, boardSize);
    QFETCH(bool, odd);
    QFETCH(bool, shown);
    state_.myslot = 1;
    state_.boardSizeCaption = QStringLiteral("Board Size: 6X6");
    QSignalSpy settingsShown(dispatch_.get(), &ClientDispatch::gameSettingsChanged);
    feed(fields.isEmpty() ? QByteArray("CMD_loadstats+2+100+90+9+5+50+1") : "CMD_loadstats+1+" + fields);
    QCOMPARE(settingsShown.count(), shown ? 1 : 0);
    QCOMPARE(state_.roundLength, roundLength);
    QCOMPARE(state_.boardSizeCaption, boardSize);
    QCOMPARE(state_.oddboard, odd);
    QVERIFY(state_.pixelspersecond >= 1);
}

void TestClientDispatch::roundWordsAreHandedOnForTheOwnSlotOnly_data()
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

void TestClientDispatch::roundWordsAreHandedOnForTheOwnSlotOnly()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, handed);
    QFETCH(QStringList, words);
    state_.myslot = 3;
    QSignalSpy handedOn(dispatch_.get(), &ClientDispatch::roundWords);
    feed(message);
    QCOMPARE(handedOn.count(), handed ? 1 : 0);
    if (handed)
        QCOMPARE(handedOn.at(0).at(0).toStringList(), words);
}

void TestClientDispatch::versionNoticesAndGameFull()
{
    QSignalSpy full(dispatch_.get(), &ClientDispatch::gameFull);
    feed("CMD_havewrongversion+Zed");
    feed("CMD_wrongversion+");
    feed("CMD_full+");
    QCOMPARE(texts(*lines_),
        QStringList({"Zed has a different version of the game then you.",
            "You have a differnt version of the game then the host."}));
    QCOMPARE(full.count(), 1);
}

void TestClientDispatch::chatterSoundsPlayOrShowTheirCaption()
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

void TestClientDispatch::requestsAreSentOnlyWhenAllowed_data()
{
    QTest::addColumn<bool>("host");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::newRow("host") << true << true
                          << QList<QByteArray> {"CMD_kickhim+1+5+\xFF", "CMD_justwatch+5+1\xFF",
                                 "CMD_justwatch+5+2\xFF", "CMD_justwatch+1+1\xFF"};
    QTest::newRow("player") << false << true
                            << QList<QByteArray> {
                                   "CMD_justwatch+5+1\xFF", "CMD_justwatch+5+2\xFF", "CMD_justwatch+1+1\xFF"};
    QTest::newRow("not connected") << true << false << QList<QByteArray> {};
}

void TestClientDispatch::requestsAreSentOnlyWhenAllowed()
{
    QFETCH(bool, host);
    QFETCH(bool, connected);
    QFETCH(QList<QByteArray>, sent);
    state_.ishost = host;
    state_.isconnected = connected;
    state_.myslot = 1;
    dispatch_->kicking(5);
    dispatch_->SettoJustWatch1Click(5);
    dispatch_->UnsetJustWatch1Click(5);
    dispatch_->SettoJustWatch1Click(11);
    dispatch_->JustWatch1Click();
    QCOMPARE(bytes(*sent_), sent);
}

void TestClientDispatch::tallyRosterReadsEverySlot()
{
    state_.myslot = 2;
    feed("CMD_existingplayers+1+Ann+0+2+Dee+0+4+Bob+0");
    const TallyRoster roster = dispatch_->tallyRoster();
    QCOMPARE(roster.myslot, 2);
    QCOMPARE(roster.names.size(), 10);
    QCOMPARE(roster.names.at(3), QStringLiteral("Bob"));
    QCOMPARE(roster.names.at(2), QStringLiteral("<Waiting>"));
}

QTEST_GUILESS_MAIN(TestClientDispatch)
#include "tst_clientdispatch.moc"
