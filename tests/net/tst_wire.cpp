// The codec without sockets: framing, fields, numbers, text and every message layout.
#include "fieldreader.h"
#include "gameaddress.h"
#include "inputbuffer.h"
#include "wire.h"

#include <QTest>

using namespace Wire;

namespace {

const QByteArray ff(1, char(0xFF));

QByteArray m(const QByteArray &text)
{
    return text + ff;
}

QByteArray m(const char *text)
{
    return m(QByteArray(text));
}

QString n(const std::optional<int> &number)
{
    return number ? QString::number(*number) : QStringLiteral("-");
}

// What the decoder of a message (terminator and all) makes of it, written out: fields
// joined by "|", the records of a list by ";" (";cut" where it stopped), "-" for nothing.
QString decoded(const QByteArray &message)
{
    const auto [command, rest] = FieldReader::splitCommand(message.chopped(1));
    const auto join = [](const QStringList &fields) { return fields.join(QLatin1Char('|')); };
    const auto opt
        = [](const auto &value, const auto &write) { return value ? write(*value) : QStringLiteral("-"); };
    using namespace FromHost;
    if (command == Cmd::sendlogininfo)
        return n(sendlogininfo(rest));
    if (command == Cmd::newplayerinfo || command == Cmd::existingplayers) {
        const PlayerRecords records = newplayerinfo(rest);
        QStringList out;
        for (const PlayerRecord &p : records.players)
            out << join({QString::number(p.slot), p.name, QString::number(p.watching)});
        return out.join(QLatin1Char(';')) + (records.complete ? "" : ";cut");
    }
    if (command == Cmd::playerdisconnected)
        return opt(playerdisconnected(rest), [&](const PlayerLeft &p) { return join({n(p.slot), p.name}); });
    if (command == Cmd::justwatching)
        return opt(justwatching(rest), [&](const JustWatching &w) {
            return join({n(w.slot), n(int(w.mode))});
        });
    if (command == Cmd::addscore)
        return opt(addscore(rest), [&](const AddScore &a) {
            return join({n(a.slot), n(a.points), n(a.total)});
        });
    if (command == Cmd::loadstats)
        return opt(loadstats(rest), [&](const LoadStats &l) {
            return join({n(l.slot), opt(l.game, [&](const GameUnderWay &g) {
                             QStringList scores;
                             for (const auto &[slot, score] : g.scores)
                                 scores << n(slot) + ":" + n(score);
                             return join({n(g.target), n(g.roundSeconds), n(g.boardCode), n(g.minLetters),
                                 n(g.secondsLeft), n(int(g.phase)),
                                 scores.join(QLatin1Char(',')) + (g.complete ? "" : ",cut")});
                         })});
        });
    if (command == Cmd::mainlist)
        return opt(mainlist(rest), [&](const MainList &l) { return join({n(l.slot), l.words.join(',')}); });
    if (command == Cmd::startgame) {
        const StartGame g = startgame(rest);
        return join({g.starter, g.target, n(g.roundSeconds), n(g.minLetters), n(g.boardCode)});
    }
    if (command == Cmd::nextplayer)
        return n(nextplayer(rest));
    if (command == Cmd::timeup) {
        const TimeUp t = timeup(rest);
        QStringList out;
        for (const RoundScore &r : t.scores)
            out << join({n(r.slot), n(r.points), n(r.total)});
        return out.join(QLatin1Char(';')) + (t.complete ? "" : ";cut");
    }
    if (command == Cmd::winner)
        return winner(rest);
    if (command == Cmd::loadboard) {
        QStringList out;
        for (const BoardCell &c : loadboard(rest))
            out << join({n(c.row), n(c.col), n(c.code)});
        return out.join(QLatin1Char(';'));
    }
    if (command == Cmd::goodword)
        return opt(goodword(rest), [&](const GoodWord &g) {
            return join({n(g.slot), n(g.points), g.word, n(g.tiles), n(int(g.finder))});
        });
    if (command == Cmd::notvalid)
        return opt(notvalid(rest), [&](const NotValid &v) {
            return join({n(v.slot), n(int(v.reason)), v.word});
        });
    if (command == Cmd::rejointoken || command == Cmd::welcomeback)
        return opt(rejointoken(rest), [&](const RejoinTicket &t) {
            return join({n(t.slot), QString::fromLatin1(tokenText(t.token)), n(t.graceSeconds)});
        });
    if (command == Cmd::playeraway || command == Cmd::playerback)
        return n(slotOf(rest));
    if (command == Cmd::seats) {
        const Seats taken = seats(rest);
        QStringList out;
        for (const SeatRecord &s : taken.seats)
            out << join({n(s.slot), s.name, n(s.watching), n(s.away)});
        return out.join(QLatin1Char(';')) + (taken.complete ? "" : ";cut");
    }
    if (command == Cmd::foundwords)
        return opt(foundwords(rest), [&](const FoundWords &f) -> QString {
            QStringList out {n(f.slot)};
            for (const Found &w : f.words)
                out << w.word + ":" + n(w.points) + (w.first ? "*" : "");
            return join(out) + (f.complete ? "" : "|cut");
        });
    return text(rest);
}

} // namespace

class TestWire : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void framingCutsMessagesAtTheTerminator_data();
    void framingCutsMessagesAtTheTerminator();
    void unterminatedInputBeyondTheBoundIsRefused();
    void queuedInputBeyondItsBoundsIsRefused_data();
    void queuedInputBeyondItsBoundsIsRefused();
    void fieldsAreTakenUpToTheNextPlus_data();
    void fieldsAreTakenUpToTheNextPlus();
    void listsAreReadUntilTheEndMark_data();
    void listsAreReadUntilTheEndMark();
    void numbersConvertStrictly_data();
    void numbersConvertStrictly();
    void commandWordIsTheTextBeforeTheFirstPlus_data();
    void commandWordIsTheTextBeforeTheFirstPlus();
    void everyMessageHasItsExactLayout_data();
    void everyMessageHasItsExactLayout();
    void whatTheHostSendsDecodesToItsFields_data();
    void whatTheHostSendsDecodesToItsFields();
    void boardTravelsAsAllHundredCells();
    void textGoesOutAsLatin1_data();
    void textGoesOutAsLatin1();
    void shownTextHidesControlsAndOverrides_data();
    void shownTextHidesControlsAndOverrides();
    void noFieldCarriesTheTerminator();
    void noMessageCarriesALineBreak_data();
    void noMessageCarriesALineBreak();
    void anAddressMayNameThePort_data();
    void anAddressMayNameThePort();
};

void TestWire::framingCutsMessagesAtTheTerminator_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QList<QByteArray>>("messages");
    QTest::addColumn<qsizetype>("left");
    QTest::newRow("one message") << QList<QByteArray> {m("CMD_full+")} << QList<QByteArray> {"CMD_full+"}
                                 << qsizetype(0);
    QTest::newRow("split over two reads") << QList<QByteArray> {"CMD_chat+1+he", m("llo")}
                                          << QList<QByteArray> {"CMD_chat+1+hello"} << qsizetype(0);
    QTest::newRow("two in one read") << QList<QByteArray> {m("A+1") + m("B+2")}
                                     << QList<QByteArray> {"A+1", "B+2"} << qsizetype(0);
    QTest::newRow("tail waits") << QList<QByteArray> {m("A+1") + "B+"} << QList<QByteArray> {"A+1"}
                                << qsizetype(2);
    QTest::newRow("terminator alone completes")
        << QList<QByteArray> {"A+1", ff} << QList<QByteArray> {"A+1"} << qsizetype(0);
    QTest::newRow("empty messages are not queued")
        << QList<QByteArray> {ff + ff + m("A+") + ff} << QList<QByteArray> {"A+"} << qsizetype(0);
    QByteArray bytes = m("CMD_chat+2+x") + m("CMD_action+2+y");
    QList<QByteArray> oneByOne;
    for (char c : bytes)
        oneByOne.append(QByteArray(1, c));
    QTest::newRow("byte by byte") << oneByOne << QList<QByteArray> {"CMD_chat+2+x", "CMD_action+2+y"}
                                  << qsizetype(0);
    QTest::newRow("no line splitting")
        << QList<QByteArray> {m("A+1\r\n2")} << QList<QByteArray> {"A+1\r\n2"} << qsizetype(0);
}

void TestWire::framingCutsMessagesAtTheTerminator()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QList<QByteArray>, messages);
    QFETCH(qsizetype, left);
    InputBuffer in;
    for (const QByteArray &r : reads)
        QVERIFY(in.append(r));
    QList<QByteArray> got;
    while (in.hasMessage())
        got.append(in.takeMessage());
    QCOMPARE(got, messages);
    QCOMPARE(in.partialBytes(), left);
    QCOMPARE(in.takeMessage(), QByteArray());
}

void TestWire::unterminatedInputBeyondTheBoundIsRefused()
{
    InputBuffer in;
    const qsizetype bound = in.limits().maxPartialBytes;
    QVERIFY(in.append(QByteArray(bound - 1, 'x')));
    QVERIFY(in.append("x"));
    QVERIFY(in.append(ff)); // exactly at the bound, then terminated: one message
    QCOMPARE(in.takeMessage().size(), bound);

    QVERIFY(in.append(QByteArray(bound, 'y')));
    QVERIFY(!in.append("y"));
    QVERIFY(in.overflowed());
    QCOMPARE(in.partialBytes(), 0);
    QVERIFY(!in.append(m("A+"))); // refused until cleared
    QVERIFY(!in.hasMessage());

    in.clear();
    QVERIFY(in.append(m("A+")));
    QCOMPARE(in.takeMessage(), QByteArray("A+"));

    // One read holding an over-long message and its terminator is refused too.
    InputBuffer big;
    QVERIFY(!big.append(QByteArray(QByteArray(bound + 1, 'z') + ff)));
}

void TestWire::queuedInputBeyondItsBoundsIsRefused_data()
{
    QTest::addColumn<int>("messageSize");
    QTest::addColumn<int>("accepted");
    // Limits below: 4 messages, 100 bytes.
    QTest::newRow("too many messages") << 5 << 4;
    QTest::newRow("too many bytes") << 40 << 2;
}

void TestWire::queuedInputBeyondItsBoundsIsRefused()
{
    QFETCH(int, messageSize);
    QFETCH(int, accepted);
    InputBuffer in({.maxPartialBytes = 1000, .maxQueuedMessages = 4, .maxQueuedBytes = 100});
    const QByteArray one = QByteArray(messageSize, 'a') + ff;
    for (int i = 0; i < accepted; ++i)
        QVERIFY(in.append(one));
    QCOMPARE(in.queuedMessages(), accepted);
    QVERIFY(!in.append(one));
    QCOMPARE(in.queuedMessages(), 0);
    QCOMPARE(in.queuedBytes(), 0);
    // Taking messages makes room again.
    in.clear();
    for (int i = 0; i < accepted * 3; ++i) {
        QVERIFY(in.append(one));
        QCOMPARE(in.takeMessage().size(), messageSize);
    }
}

void TestWire::fieldsAreTakenUpToTheNextPlus_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("fields");
    QTest::addColumn<QByteArray>("rest");
    QTest::newRow("two fields and a rest")
        << QByteArray("3+1.0.7+Ann+Lee") << QList<QByteArray> {"3", "1.0.7"} << QByteArray("Ann+Lee");
    QTest::newRow("no plus left: empty field, rest kept")
        << QByteArray("5") << QList<QByteArray> {"", ""} << QByteArray("5");
    QTest::newRow("empty fields") << QByteArray("++x") << QList<QByteArray> {"", ""} << QByteArray("x");
    QTest::newRow("trailing plus") << QByteArray("1+2+") << QList<QByteArray> {"1", "2", ""} << QByteArray();
}

void TestWire::fieldsAreTakenUpToTheNextPlus()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, fields);
    QFETCH(QByteArray, rest);
    FieldReader f(text);
    for (const QByteArray &expected : fields)
        QCOMPARE(f.next(), expected);
    QCOMPARE(f.rest(), rest);
}

void TestWire::listsAreReadUntilTheEndMark_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("fields");
    QTest::newRow("records ended by plus")
        << QByteArray("2+Ann+0+3+Bo+1+") << QList<QByteArray> {"2", "Ann", "0", "3", "Bo", "1", ""};
    QTest::newRow("records without a last plus")
        << QByteArray("2+Ann+0") << QList<QByteArray> {"2", "Ann", "0"};
    QTest::newRow("empty") << QByteArray() << QList<QByteArray> {""};
    QTest::newRow("stray at sign") << QByteArray("@") << QList<QByteArray> {"@"};
}

void TestWire::listsAreReadUntilTheEndMark()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, fields);
    FieldReader f(text);
    f.beginList();
    QList<QByteArray> got;
    while (!f.atListEnd() && got.size() < 100)
        got.append(f.next());
    QCOMPARE(got, fields);
}

void TestWire::numbersConvertStrictly_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << QByteArray("0") << true << 0;
    QTest::newRow("negative") << QByteArray("-5") << true << -5;
    QTest::newRow("leading zeros") << QByteArray("007") << true << 7;
    QTest::newRow("largest") << QByteArray("2147483647") << true << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << true << int(-2147483648LL);
    QTest::newRow("too large") << QByteArray("2147483648") << false << 0;
    QTest::newRow("far too large") << QByteArray("99999999999999999999") << false << 0;
    QTest::newRow("empty") << QByteArray() << false << 0;
    QTest::newRow("minus alone") << QByteArray("-") << false << 0;
    QTest::newRow("plus sign") << QByteArray("+5") << false << 0;
    QTest::newRow("blank before") << QByteArray(" 5") << false << 0;
    QTest::newRow("blank after") << QByteArray("5 ") << false << 0;
    QTest::newRow("hexadecimal") << QByteArray("$1A") << false << 0;
    QTest::newRow("0x") << QByteArray("0x1") << false << 0;
    QTest::newRow("letters after") << QByteArray("12a") << false << 0;
    QTest::newRow("NUL inside") << QByteArray("1\0"
                                              "2",
        3) << false << 0;
}

void TestWire::numbersConvertStrictly()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto n = FieldReader::toInt(text);
    QCOMPARE(n.has_value(), ok);
    if (ok)
        QCOMPARE(*n, value);
}

void TestWire::commandWordIsTheTextBeforeTheFirstPlus_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("rest");
    QTest::newRow("with fields") << QByteArray("CMD_chat+1+a+b") << QByteArray("CMD_chat")
                                 << QByteArray("1+a+b");
    QTest::newRow("no fields") << QByteArray("CMD_full+") << QByteArray("CMD_full") << QByteArray();
    QTest::newRow("no plus") << QByteArray("CMD_full") << QByteArray() << QByteArray();
    QTest::newRow("empty word") << QByteArray("+1") << QByteArray() << QByteArray("1");
}

void TestWire::commandWordIsTheTextBeforeTheFirstPlus()
{
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, rest);
    const auto [c, r] = FieldReader::splitCommand(message);
    QCOMPARE(c, command);
    QCOMPARE(r, rest);
}

void TestWire::everyMessageHasItsExactLayout_data()
{
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("expected");
    const Tile tiles[] = {{3, 3}, {3, 4}, {4, 5}};
    std::array<int, slotCount> scores {};
    scores[0] = 12;
    scores[4] = -3;
    std::array<int, slotCount> round {};
    round[1] = 4;

    QTest::newRow("logininfo") << ToHost::logininfo(2, "1.0.7", "Ann+Lee")
                               << m("CMD_logininfo+2+1.0.7+Ann+Lee");
    QTest::newRow("startgame to host")
        << ToHost::startgame("Ann", 50, 90, 8, 4) << m("CMD_startgame+Ann+50+90+8+4+0+");
    QTest::newRow("playerdone") << ToHost::playerdone(3, tiles) << m("CMD_playerdone+3+1+3+3+2+3+4+3+4+5");
    QTest::newRow("chat to host") << ToHost::chat(2, "hi + bye", "clRed") << m("CMD_chat+2+hi + bye|clRed");
    QTest::newRow("action to host") << ToHost::action(2, "waves", "$00FF0000")
                                    << m("CMD_action+2+waves|$00FF0000");
    QTest::newRow("playasound to host") << ToHost::playasound(4, 17) << m("CMD_playasound+4+wave17+");
    QTest::newRow("justwatch") << ToHost::justwatch(5, 1) << m("CMD_justwatch+5+1");
    QTest::newRow("kickhim") << ToHost::kickhim(1, 5) << m("CMD_kickhim+1+5+");

    QTest::newRow("sendlogininfo") << ToPlayer::sendlogininfo(7) << m("CMD_sendlogininfo+7");
    QTest::newRow("full") << ToPlayer::full() << m("CMD_full+");
    QTest::newRow("newplayerinfo") << ToPlayer::newplayerinfo(2, "Ann") << m("CMD_newplayerinfo+2+Ann+0");
    const ToPlayer::RosterEntry roster[] = {{1, "Host", false}, {3, "Bo", true}};
    QTest::newRow("existingplayers") << ToPlayer::existingplayers(roster)
                                     << m("CMD_existingplayers+1+Host+0+3+Bo+1");
    QTest::newRow("havewrongversion") << ToPlayer::havewrongversion("Ann") << m("CMD_havewrongversion+Ann");
    QTest::newRow("wrongversion") << ToPlayer::wrongversion() << m("CMD_wrongversion+");
    QTest::newRow("loadstats") << ToPlayer::loadstats(4, 100, 60, 8, 4, -2, 2,
        scores) << m("CMD_loadstats+4+100+60+8+4+-2+2+1+12+2+0+3+0+4+0+5+-3+6+0+7+0+8+0+9+0+10+0");
    QTest::newRow("playerdisconnected")
        << ToPlayer::playerdisconnected(3, "Bo") << m("CMD_playerdisconnected+3+Bo");
    QTest::newRow("justwatching") << ToPlayer::justwatching(3, 2) << m("CMD_justwatching+3+2");
    QTest::newRow("chat to players") << ToPlayer::chat(2, "Ann", "hi + bye|clRed")
                                     << m("CMD_chat+2+Ann chats: hi + bye|clRed");
    QTest::newRow("action to players")
        << ToPlayer::action(2, "Ann", "waves|clRed") << m("CMD_action+2+Ann waves|clRed");
    QTest::newRow("playasound to players")
        << ToPlayer::playasound(4, "wave17+") << m("CMD_playasound+4+wave17+");
    QTest::newRow("startgame to players")
        << ToPlayer::startgame({"Ann", "50", "x", "8", "4", "0"}) << m("CMD_startgame+Ann+50+x+8+4+0+");
    QTest::newRow("nextplayer") << ToPlayer::nextplayer(6) << m("CMD_nextplayer+6+");
    QTest::newRow("notvalid") << ToPlayer::notvalid(2, 3, "CAT") << m("CMD_notvalid+2+3+CAT+");
    QTest::newRow("addscore") << ToPlayer::addscore(2, 4, 17) << m("CMD_addscore+2+4+17+");
    QTest::newRow("goodword") << ToPlayer::goodword(2, 4, "TEAMS", 5, 1) << m("CMD_goodword+2+4+TEAMS+5+1+");
    QTest::newRow("timeup") << ToPlayer::timeup(round, scores)
                            << m("CMD_timeup+1+0+12+2+4+0+3+0+0+4+0+0+5+0+-3+6+0+0+7+0+0+8+0+0+9+0+0+10+0+0");
    QTest::newRow("mainlist") << ToPlayer::mainlist(3, {"CAT", "TEAM"}) << m("CMD_mainlist+3+CAT+TEAM");
    QTest::newRow("mainlist without words") << ToPlayer::mainlist(3, {}) << m("CMD_mainlist+3+No Words");
    QTest::newRow("winner") << ToPlayer::winner("Klot") << m("CMD_winner+Klot+");

    RejoinToken token {};
    token[0] = 0xAB;
    token[15] = 0x01;
    const char *hex = "ab000000000000000000000000000001";
    QTest::newRow("canrejoin") << ToHost::canrejoin(3) << m("CMD_canrejoin+3+1+");
    QTest::newRow("rejoin") << ToHost::rejoin(token) << m("CMD_rejoin+ab000000000000000000000000000001+");
    QTest::newRow("leaving") << ToHost::leaving(3) << m("CMD_leaving+3+");
    QTest::newRow("rejointoken") << ToPlayer::rejointoken(3, token, 90)
                                 << m("CMD_rejointoken+3+" + QByteArray(hex) + "+90+");
    QTest::newRow("welcomeback") << ToPlayer::welcomeback(3, token, 90)
                                 << m("CMD_welcomeback+3+" + QByteArray(hex) + "+90+");
    QTest::newRow("rejoinrefused") << ToPlayer::rejoinrefused() << m("CMD_rejoinrefused+");
    QTest::newRow("playeraway") << ToPlayer::playeraway(2) << m("CMD_playeraway+2+");
    QTest::newRow("playerback") << ToPlayer::playerback(2) << m("CMD_playerback+2+");
    const ToPlayer::Seat seated[] = {{1, "Ann", false, false}, {2, "Bo", true, true}};
    QTest::newRow("seats") << ToPlayer::seats(seated) << m("CMD_seats+1+Ann+0+0+2+Bo+1+1");
    const FoundWord found[] = {{"CAT", 2, Finder::First}, {"TEAM", 1, Finder::Later}};
    QTest::newRow("foundwords") << ToPlayer::foundwords(2, found) << m("CMD_foundwords+2+CAT+2+1+TEAM+1+2");
    QTest::newRow("foundwords, none") << ToPlayer::foundwords(2, {}) << m("CMD_foundwords+2");
    QTest::newRow("hostclosing") << ToPlayer::hostclosing() << m("CMD_hostclosing+");
}

void TestWire::everyMessageHasItsExactLayout()
{
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, expected);
    QCOMPARE(built, expected);
}

void TestWire::whatTheHostSendsDecodesToItsFields_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("fields");
    std::array<int, slotCount> scores {};
    scores[2] = 30;
    std::array<int, slotCount> round {};
    round[2] = 5;
    const ToPlayer::RosterEntry roster[] = {{1, "Ann", false}, {2, "Bob", true}};

    QTest::newRow("login") << ToPlayer::sendlogininfo(3) << "3";
    QTest::newRow("login, slot 0") << m("CMD_sendlogininfo+0") << "-";
    QTest::newRow("players") << ToPlayer::existingplayers(roster) << "1|Ann|0;2|Bob|1";
    QTest::newRow("players, a slot no number") << m("CMD_existingplayers+1+Ann+0+two+Bob+0") << "1|Ann|0;cut";
    QTest::newRow("departure") << ToPlayer::playerdisconnected(3, "Cat") << "3|Cat";
    QTest::newRow("departure, slot no number") << m("CMD_playerdisconnected+x+Cat") << "-";
    QTest::newRow("watching") << ToPlayer::justwatching(2, WatchMode::Watch) << "2|1";
    QTest::newRow("watching, only \"1\" watches") << m("CMD_justwatching+2+1+") << "2|2";
    QTest::newRow("score") << ToPlayer::addscore(2, 5, 17) << "2|5|17";
    QTest::newRow("score, total no number") << m("CMD_addscore+2+5+many+") << "2|5|-";
    QTest::newRow("score, points no number") << m("CMD_addscore+2+five+17+") << "-";
    QTest::newRow("late join") << m("CMD_loadstats+2+300+soon+9+5+50+1+3+30") << "2|300|-|9|5|50|1|3:30";
    QTest::newRow("late join, a broken pair")
        << m("CMD_loadstats+2+300+90+9+5+50+1+3+30+4+x") << "2|300|90|9|5|50|1|3:30,cut";
    QTest::newRow("late join, minimum no number") << m("CMD_loadstats+2+300+90+9+four+50+1") << "2|-";
    QTest::newRow("late join, built") << ToPlayer::loadstats(2, 30, 60, 4, 3, 20, 1, scores)
                                      << "2|30|60|4|3|20|1|1:0,2:0,3:30,4:0,5:0,6:0,7:0,8:0,9:0,10:0";
    QTest::newRow("round's words") << ToPlayer::mainlist(3, {"CAT", "DOG"}) << "3|CAT,DOG";
    QTest::newRow("no words") << ToPlayer::mainlist(3, {}) << "3|";
    QTest::newRow("round's words, slot no number") << m("CMD_mainlist+x+CAT") << "-";
    QTest::newRow("start") << ToPlayer::startgame({"Ann", "30", "60", "7", "4", "0"}) << "Ann|30|60|4|7";
    QTest::newRow("start, no numbers")
        << ToPlayer::startgame({"Ann", "lots", "abc", "x", "5", "0"}) << "Ann|lots|-|5|-";
    QTest::newRow("start, minimum no number") << m("CMD_startgame+Ann+30+60+7+four+0+") << "Ann|30|60|-|-";
    QTest::newRow("next player") << ToPlayer::nextplayer(6) << "6";
    QTest::newRow("round's end") << ToPlayer::timeup(round, scores)
                                 << "1|0|0;2|0|0;3|5|30;4|0|0;5|0|0;6|0|0;7|0|0;8|0|0;9|0|0;10|0|0";
    QTest::newRow("round's end, broken") << m("CMD_timeup+1+12+40+2+0+x") << "1|12|40;cut";
    QTest::newRow("winner") << ToPlayer::winner("Klot") << "Klot";
    QTest::newRow("board") << m("CMD_loadboard+3+4+5+1+1+x") << "3|4|5";
    QTest::newRow("word found first")
        << ToPlayer::goodword(2, 4, "TEAMS", 5, Finder::First) << "2|4|TEAMS|5|1";
    QTest::newRow("word found later")
        << ToPlayer::goodword(2, 4, "TEAMS", 5, Finder::Later) << "2|4|TEAMS|5|2";
    QTest::newRow("word, tiles no number") << m("CMD_goodword+1+5+TABLE+5x+1+") << "-";
    QTest::newRow("refusal") << ToPlayer::notvalid(2, RejectReason::TooShort, "CAT") << "2|3|CAT";
    QTest::newRow("refusal, another host's reason") << m("CMD_notvalid+1+9+CAT+") << "1|9|CAT";
    QTest::newRow("refusal, slot no number") << m("CMD_notvalid++1+CAT+") << "-";
    QTest::newRow("chat") << ToPlayer::chat(2, "Ann", "hi + bye") << "2+Ann chats: hi + bye";

    const QByteArray token = "0123456789abcdef0123456789abcdef";
    QTest::newRow("token") << m(QByteArray("CMD_rejointoken+2+") + token + "+90+")
                           << QString::fromLatin1("2|" + token + "|90");
    QTest::newRow("welcome") << m(QByteArray("CMD_welcomeback+2+") + token + "+90+")
                             << QString::fromLatin1("2|" + token + "|90");
    QTest::newRow("token, upper case") << m("CMD_rejointoken+2+0123456789ABCDEF0123456789ABCDEF+90+") << "-";
    QTest::newRow("token, one digit short")
        << m(QByteArray("CMD_rejointoken+2+") + token.chopped(1) + "+90+") << "-";
    QTest::newRow("token, not hexadecimal")
        << m(QByteArray("CMD_rejointoken+2+") + token.chopped(1) + "g+90+") << "-";
    QTest::newRow("token, no grace") << m(QByteArray("CMD_rejointoken+2+") + token + "+0+") << "-";
    QTest::newRow("token, grace past a day")
        << m(QByteArray("CMD_rejointoken+2+") + token + "+86401+") << "-";
    QTest::newRow("token, slot 0") << m(QByteArray("CMD_welcomeback+0+") + token + "+90+") << "-";
    QTest::newRow("away") << ToPlayer::playeraway(4) << "4";
    QTest::newRow("back, slot no number") << m("CMD_playerback+x+") << "-";
    QTest::newRow("seats") << m("CMD_seats+1+Ann+0+0+2+Bo+1+1") << "1|Ann|0|0;2|Bo|1|1";
    QTest::newRow("seats, a slot no number") << m("CMD_seats+1+Ann+0+0+x+Bo+1+1") << "1|Ann|0|0;cut";
    QTest::newRow("found words") << m("CMD_foundwords+2+CAT+2+1+TEAM+1+2") << "2|CAT:2*|TEAM:1";
    QTest::newRow("found words, points no number")
        << m("CMD_foundwords+2+CAT+2+1+TEAM+x+2") << "2|CAT:2*|cut";
    QTest::newRow("found words, slot no number") << m("CMD_foundwords+x+CAT+2+1") << "-";
    QTest::newRow("found words, none") << ToPlayer::foundwords(2, {}) << "2";
    QTest::newRow("found words, past the most taken")
        << m("CMD_foundwords+2" + QByteArray("+CAT+2+1").repeated(FromHost::maxFoundWords + 1))
        << "2|" + QStringList(FromHost::maxFoundWords, QStringLiteral("CAT:2*")).join(QLatin1Char('|'))
            + "|cut";
}

void TestWire::whatTheHostSendsDecodesToItsFields()
{
    QFETCH(QByteArray, message);
    QFETCH(QString, fields);
    QCOMPARE(decoded(message), fields);
}

void TestWire::boardTravelsAsAllHundredCells()
{
    BoardCells board;
    for (auto &row : board)
        row.fill(noTile);
    board[3][3] = 1;
    board[6][6] = 26;
    const QByteArray msg = ToPlayer::loadboard(board);
    QVERIFY(msg.endsWith(ff));
    QVERIFY(msg.startsWith("CMD_loadboard+0+0+29+0+1+29+"));
    FieldReader f(msg.first(msg.size() - 1));
    QCOMPARE(f.next(), QByteArray("CMD_loadboard"));
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 10; ++col) {
            QCOMPARE(f.nextInt(), std::optional<int>(row));
            QCOMPARE(f.nextInt(), std::optional<int>(col));
            QCOMPARE(FieldReader::toInt(col == 9 && row == 9 ? f.rest() : f.next()),
                std::optional<int>(board[row][col]));
        }
    QVERIFY(msg.size() <= 714);
}

void TestWire::textGoesOutAsLatin1_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("ascii") << QStringLiteral("Ann") << QByteArray("Ann");
    QTest::newRow("latin-1") << QStringLiteral("Zoë ß") << QByteArray("Zo\xeb \xdf");
    QTest::newRow("y with diaeresis is the terminator") << QStringLiteral("ÿes") << QByteArray("?es");
    QTest::newRow("euro sign") << QStringLiteral("5€") << QByteArray("5?");
    QTest::newRow("outside the BMP is one character") << QStringLiteral("a😀b") << QByteArray("a?b");
}

void TestWire::textGoesOutAsLatin1()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, wire);
    QCOMPARE(toWire(text), wire);
    QCOMPARE(toWire(fromWire(wire)), wire);
    QCOMPARE(fromWire(wire).size(), wire.size());
}

void TestWire::shownTextHidesControlsAndOverrides_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QStringLiteral("Zoë 😀") << QStringLiteral("Zoë 😀");
    QTest::newRow("escape, DEL, C1") << QStringLiteral("a\x1b[2Jb\x7f\u009b") << QStringLiteral("a?[2Jb??");
    QTest::newRow("right-to-left override")
        << QStringLiteral("Anna\u202Egpj.exe") << QStringLiteral("Anna?gpj.exe");
    QTest::newRow("isolates, marks, invisible")
        << QStringLiteral("\u2066x\u2069\u200Fy\u200B\uFEFF") << QStringLiteral("?x??y??");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QStringLiteral("a?b");
    QTest::newRow("joiners stay") << QStringLiteral("\u0645\u200C\u0627 👩\u200D💻")
                                  << QStringLiteral("\u0645\u200C\u0627 👩\u200D💻");
}

void TestWire::shownTextHidesControlsAndOverrides()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(printable(text), shown);
}

void TestWire::noFieldCarriesTheTerminator()
{
    const QByteArray evil = "a" + ff + "b";
    const QList<QByteArray> built = {
        ToPlayer::newplayerinfo(2, evil),
        ToPlayer::chat(2, evil, evil),
        ToPlayer::winner(evil),
        ToPlayer::mainlist(1, {evil}),
        ToPlayer::startgame({evil, evil, evil, evil, evil, evil}),
        ToHost::logininfo(1, QStringLiteral("1.0.7"), QStringLiteral("ÿÿ")),
    };
    for (const QByteArray &msg : built) {
        QCOMPARE(msg.count(char(0xFF)), 1);
        QVERIFY(msg.endsWith(ff));
    }
    QCOMPARE(ToPlayer::winner(evil), m("CMD_winner+a?b+"));
}

void TestWire::noMessageCarriesALineBreak_data()
{
    const QByteArray evil = "one\r\ntwo\nthree\r";
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("relayed chat") << ToPlayer::chat(2, "Ann", QByteArray(evil + "|clRed"))
                                  << m("CMD_chat+2+Ann chats: one  two three |clRed");
    QTest::newRow("relayed action") << ToPlayer::action(2, "Ann\n", evil)
                                    << m("CMD_action+2+Ann  one  two three ");
    QTest::newRow("name in the roster")
        << ToPlayer::newplayerinfo(3, "B\nob") << m("CMD_newplayerinfo+3+B ob+0");
    QTest::newRow("leaver's name") << ToPlayer::playerdisconnected(3, "B\rob")
                                   << m("CMD_playerdisconnected+3+B ob");
    QTest::newRow("winner") << ToPlayer::winner("B\r\nob") << m("CMD_winner+B  ob+");
    QTest::newRow("typed chat") << ToHost::chat(1, QStringLiteral("hi\nthere"), QStringLiteral("clRed"))
                                << m("CMD_chat+1+hi there|clRed");
    QTest::newRow("login name") << ToHost::logininfo(1, QStringLiteral("1.0.7"), QStringLiteral("A\nB"))
                                << m("CMD_logininfo+1+1.0.7+A B");
}

void TestWire::noMessageCarriesALineBreak()
{
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, expected);
    QCOMPARE(built, expected);
}

QTEST_GUILESS_MAIN(TestWire)
void TestWire::anAddressMayNameThePort_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("no port") << "192.0.2.1"
                             << "192.0.2.1" << 7772;
    QTest::newRow("IPv4 and port") << "192.0.2.1:7773"
                                   << "192.0.2.1" << 7773;
    QTest::newRow("name and port") << "games.example:65535"
                                   << "games.example" << 65535;
    QTest::newRow("bracketed IPv6 and port") << "[2001:db8::1]:7774"
                                             << "2001:db8::1" << 7774;
    QTest::newRow("bare IPv6") << "2001:db8::1"
                               << "2001:db8::1" << 7772;
    QTest::newRow("port 0") << "192.0.2.1:0"
                            << "192.0.2.1:0" << 7772;
    QTest::newRow("port too large") << "192.0.2.1:65536"
                                    << "192.0.2.1:65536" << 7772;
    QTest::newRow("port not a number") << "192.0.2.1:http"
                                       << "192.0.2.1:http" << 7772;
    QTest::newRow("no host") << ":7773"
                             << ":7773" << 7772;
}

// Read back, and written again as the lobby writes a listed game's address.
void TestWire::anAddressMayNameThePort()
{
    QFETCH(QString, address);
    QFETCH(QString, host);
    QFETCH(int, port);
    const GameAddress::Target target = GameAddress::parse(address, 7772);
    QCOMPARE(target.host, host);
    QCOMPARE(int(target.port), port);
    const QString written = GameAddress::format(target.host, target.port, 7772);
    QCOMPARE(GameAddress::parse(written, 7772).host, host);
    QCOMPARE(int(GameAddress::parse(written, 7772).port), port);
}

#include "tst_wire.moc"
