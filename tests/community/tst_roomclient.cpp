// Seats in a room of a real Prosody on loopback: they see each other, chat, send each
// other payloads, announce games, take another name when theirs is taken, sign in
// again after the server went away, refuse a server they cannot trust, drop floods,
// and learn their own address from the server (XEP-0279) or its STUN service
// (XEP-0215, a coturn on loopback).
#include "addressfinder.h"
#include "gameannouncement.h"
#include "gamepayload.h"
#include "prosodyserver.h"
#include "roomannouncer.h"
#include "roomclient.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QUdpSocket>

#include <memory>

class TestRoomClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void seatsSeeEachOtherAndChat();
    void aTakenNameGetsANumber();
    void directPayloadsReachOnePerson();
    void anAnnouncedGameIsSeenUpdatedAndGoesWithItsHost();
    void floodsAreDroppedOrMerged();
    void forgedHistoryIsGated_data();
    void forgedHistoryIsGated();
    void aStanzaKeepsOneElementOfAKind();
    void leavingAndComingBackKeepsTheGate();
    void aSilentServerIsGivenUp();
    void aFailedAddressLookupIsTriedAgain();
    void aBrokenConnectionIsTriedAgain();
    void anUntrustedServerIsRefused();
    void accountsSignInWithTheirPassword();
    void theOwnAddressIsLearnedFromTheServer_data();
    void theOwnAddressIsLearnedFromTheServer();
    void theShippedConfigurationRunsALobby();

private:
    CommunityAccount account(const ProsodyServer &server, const QString &nick) const;
    RoomClient *seat(const QString &nick, ProsodyServer *server = nullptr);
    // A bare session in the room, sending whatever a test makes up.
    XmppSession *rawSeat(const QString &nick);

    ProsodyServer server_;
    std::vector<std::unique_ptr<RoomClient>> seats_;
    std::vector<std::unique_ptr<XmppSession>> rawSeats_;
};

void TestRoomClient::initTestCase()
{
    ProsodyServer::Options options;
    options.modules << QStringLiteral("ipcheck");
    QVERIFY2(server_.start(options), qPrintable(server_.errorString() + server_.log()));
}

void TestRoomClient::cleanup()
{
    seats_.clear();
    rawSeats_.clear();
}

CommunityAccount TestRoomClient::account(const ProsodyServer &server, const QString &nick) const
{
    CommunityAccount a;
    a.domain = server.domain();
    a.port = server.port();
    a.nick = nick;
    a.authorities = server.authorities();
    return a;
}

RoomClient *TestRoomClient::seat(const QString &nick, ProsodyServer *server)
{
    seats_.push_back(std::make_unique<RoomClient>());
    RoomClient *client = seats_.back().get();
    client->setTiming({200, 400, 60000, 20000, 5000});
    client->capture(GamePayload::elementName, GamePayload::ns);
    client->start(account(server ? *server : server_, nick));
    return client;
}

void TestRoomClient::seatsSeeEachOtherAndChat()
{
    RoomClient *anna = seat(QStringLiteral("Anna"));
    QTRY_VERIFY2(anna->isInRoom(), qPrintable(anna->status()));
    RoomClient *ben = seat(QStringLiteral("Ben"));
    QTRY_VERIFY2(ben->isInRoom(), qPrintable(ben->status()));
    QTRY_VERIFY(anna->occupants().contains(QStringLiteral("Ben")));
    QVERIFY(ben->occupants().contains(QStringLiteral("Anna")));

    QSignalSpy toBen(ben, &RoomClient::roomMessage);
    QSignalSpy toAnna(anna, &RoomClient::roomMessage);
    QVERIFY(anna->sendRoomMessage(QStringLiteral("hello Ben")));
    QVERIFY(ben->sendRoomMessage(QStringLiteral("hello Anna")));
    QTRY_VERIFY(toBen.size() >= 2 && toAnna.size() >= 2);
    const auto said = [](const QSignalSpy &spy, const QString &nick, const QString &text) {
        return std::any_of(spy.begin(), spy.end(),
            [&](const QList<QVariant> &line) { return line.at(0) == nick && line.at(1) == text; });
    };
    QVERIFY(said(toBen, QStringLiteral("Anna"), QStringLiteral("hello Ben")));
    QVERIFY(said(toAnna, QStringLiteral("Ben"), QStringLiteral("hello Anna")));
}

void TestRoomClient::aTakenNameGetsANumber()
{
    RoomClient *first = seat(QStringLiteral("Cleo"));
    QTRY_VERIFY(first->isInRoom());
    RoomClient *second = seat(QStringLiteral("Cleo"));
    QTRY_VERIFY(second->isInRoom());
    QCOMPARE(second->ownNick(), QStringLiteral("Cleo (2)"));
    QTRY_VERIFY(first->occupants().contains(QStringLiteral("Cleo (2)")));
}

void TestRoomClient::directPayloadsReachOnePerson()
{
    const QString ns = QStringLiteral("urn:x-test:offer:1");
    RoomClient *anna = seat(QStringLiteral("Anna"));
    RoomClient *ben = seat(QStringLiteral("Ben"));
    RoomClient *cleo = seat(QStringLiteral("Cleo"));
    for (RoomClient *c : {anna, ben, cleo})
        c->capture(QStringLiteral("offer"), ns);
    QTRY_VERIFY(anna->isInRoom() && ben->isInRoom() && cleo->isInRoom());
    QTRY_VERIFY(anna->occupants().contains(QStringLiteral("Ben")));
    QSignalSpy toBen(ben, &RoomClient::directMessage);
    QSignalSpy toCleo(cleo, &RoomClient::directMessage);
    const XmlPayload offer {QStringLiteral("offer"), ns, {{QStringLiteral("id"), QStringLiteral("7")}},
        QStringLiteral("candidate lines"), {}};
    QVERIFY(anna->sendDirect(QStringLiteral("Ben"), QStringLiteral("an offer"), {offer}));
    QVERIFY(toBen.wait(5000));
    QCOMPARE(toBen.at(0).at(0).toString(), QStringLiteral("Anna"));
    const auto payloads = toBen.at(0).at(2).value<QList<XmlPayload>>();
    QCOMPARE(payloads.size(), 1);
    QVERIFY(payloads.first() == offer);
    QVERIFY(toCleo.isEmpty());
    QVERIFY(!anna->sendDirect(QStringLiteral("Nobody"), QStringLiteral("lost")));
}

void TestRoomClient::anAnnouncedGameIsSeenUpdatedAndGoesWithItsHost()
{
    DiscoveryWire::Game game;
    game.port = 7772;
    game.players = 1;
    game.version = "1.0.7";
    game.hostName = "Anna";
    RoomClient *host = seat(QStringLiteral("Anna's host"));
    RoomAnnouncer announcer(*host, [&game] { return game; });
    announcer.setAddress(QStringLiteral("192.0.2.7"), 7772);
    RoomClient *lobby = seat(QStringLiteral("Ben"));
    QTRY_VERIFY(lobby->isInRoom());
    const auto seen = [lobby]() -> std::optional<GamePayload::Announced> {
        const auto it = lobby->occupants().constFind(QStringLiteral("Anna's host"));
        if (it == lobby->occupants().cend() || it->payloads.isEmpty())
            return std::nullopt;
        return GamePayload::decode(it->payloads.first());
    };
    QTRY_VERIFY(seen());
    QCOMPARE(seen()->address, QStringLiteral("192.0.2.7"));
    QCOMPARE(seen()->game.players, quint8(1));

    game.players = 3;
    announcer.gameChanged();
    QTRY_COMPARE_WITH_TIMEOUT(seen()->game.players, quint8(3), 5000);

    QSignalSpy left(lobby, &RoomClient::occupantLeft);
    host->stop();
    QVERIFY(left.wait(5000));
    QCOMPARE(left.at(0).at(0).toString(), QStringLiteral("Anna's host"));
    QVERIFY(!seen());
}

void TestRoomClient::floodsAreDroppedOrMerged()
{
    RoomClient *flooder = seat(QStringLiteral("Flood"));
    RoomClient *lobby = seat(QStringLiteral("Calm"));
    QTRY_VERIFY(flooder->isInRoom() && lobby->isInRoom());
    QTRY_VERIFY(lobby->occupants().contains(QStringLiteral("Flood")));
    QSignalSpy lines(lobby, &RoomClient::roomMessage);
    QSignalSpy updates(lobby, &RoomClient::occupantUpdated);
    for (int i = 0; i < 30; ++i) {
        flooder->sendRoomMessage(QStringLiteral("line %1").arg(i));
        flooder->setPresencePayload(
            XmlPayload {GamePayload::elementName, GamePayload::ns, {}, QString::number(i), {}});
    }
    // The last word of the presence flood stands, once the gate lets it through.
    QTRY_VERIFY_WITH_TIMEOUT(
        lobby->occupants().value(QStringLiteral("Flood")).payloads.value(0).text == QStringLiteral("29"),
        10000);
    QTRY_VERIFY(std::any_of(lines.begin(), lines.end(),
        [](const QList<QVariant> &l) { return l.at(1).toString() == QStringLiteral("line 4"); }));
    QVERIFY2(lines.size() <= RoomClient::Rates().chat.burst + 2, qPrintable(QString::number(lines.size())));
    QVERIFY(updates.size() <= RoomClient::Rates().presence.burst + 4);
    QVERIFY(lobby->droppedCount() > 20);
}

XmppSession *TestRoomClient::rawSeat(const QString &nick)
{
    XmppSession::Setup setup;
    setup.domain = server_.domain();
    setup.port = server_.port();
    setup.authorities = server_.authorities();
    rawSeats_.push_back(std::make_unique<XmppSession>(setup));
    XmppSession *session = rawSeats_.back().get();
    QSignalSpy signedIn(session, &XmppSession::signedIn);
    session->open();
    if (!signedIn.wait(10000))
        return nullptr;
    session->sendPresence(server_.room() + QLatin1Char('/') + nick, true,
        {XmlPayload {QStringLiteral("x"), QStringLiteral("http://jabber.org/protocol/muc"), {}, {}, {}}});
    return session;
}

void TestRoomClient::forgedHistoryIsGated_data()
{
    QTest::addColumn<QString>("delayFrom"); // "-": no from
    QTest::newRow("no from") << QStringLiteral("-");
    QTest::newRow("the sender") << QStringLiteral("anyone@localhost");
    QTest::newRow("an occupant") << server_.room() + QStringLiteral("/Calm");
    QTest::newRow("the room") << server_.room();
}

void TestRoomClient::forgedHistoryIsGated()
{
    QFETCH(QString, delayFrom);
    RoomClient *lobby = seat(QStringLiteral("Calm"));
    QTRY_VERIFY(lobby->isInRoom());
    XmppSession *forger = rawSeat(QStringLiteral("Forger"));
    QVERIFY(forger);
    QTRY_VERIFY(lobby->occupants().contains(QStringLiteral("Forger")));
    QSignalSpy lines(lobby, &RoomClient::roomMessage);
    XmlPayload delay {QStringLiteral("delay"), QStringLiteral("urn:xmpp:delay"),
        {{QStringLiteral("stamp"), QStringLiteral("2020-01-01T00:00:00Z")}}, {}, {}};
    if (delayFrom != QLatin1String("-"))
        delay.attributes.append({QStringLiteral("from"), delayFrom});
    for (int i = 0; i < 30; ++i)
        forger->sendMessage(
            server_.room(), XmppSession::Message::GroupChat, QStringLiteral("line %1").arg(i), {delay});
    // Every line is either shown or dropped.
    QTRY_COMPARE(lines.size() + lobby->droppedCount(), 30);
    QVERIFY2(lines.size() <= RoomClient::Rates().chat.burst + 1, qPrintable(QString::number(lines.size())));
    QVERIFY(
        std::none_of(lines.begin(), lines.end(), [](const QList<QVariant> &l) { return l.at(2).toBool(); }));

    // The room's own history still passes whole.
    RoomClient *late = seat(QStringLiteral("Late"));
    QSignalSpy history(late, &RoomClient::roomMessage);
    QTRY_VERIFY(late->isInRoom());
    QTRY_COMPARE(history.size(), RoomClient::historyLines);
    QVERIFY(std::all_of(
        history.begin(), history.end(), [](const QList<QVariant> &l) { return l.at(2).toBool(); }));
}

void TestRoomClient::aStanzaKeepsOneElementOfAKind()
{
    RoomClient *lobby = seat(QStringLiteral("Calm"));
    QTRY_VERIFY(lobby->isInRoom());
    XmppSession *forger = rawSeat(QStringLiteral("Forger"));
    QVERIFY(forger);
    QTRY_VERIFY(lobby->occupants().contains(QStringLiteral("Forger")));
    QList<XmlPayload> games;
    for (int i = 0; i < 300; ++i)
        games << XmlPayload {GamePayload::elementName, GamePayload::ns, {}, QString::number(i), {}};
    forger->sendPresence(server_.room() + QStringLiteral("/Forger"), true, games);
    QTRY_VERIFY(!lobby->occupants().value(QStringLiteral("Forger")).payloads.isEmpty());
    const QList<XmlPayload> kept = lobby->occupants().value(QStringLiteral("Forger")).payloads;
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept.first().text, QStringLiteral("0"));
}

void TestRoomClient::leavingAndComingBackKeepsTheGate()
{
    RoomClient *lobby = seat(QStringLiteral("Calm"));
    QTRY_VERIFY(lobby->isInRoom());
    QSignalSpy lines(lobby, &RoomClient::roomMessage);
    for (int round = 0; round < 3; ++round) {
        RoomClient *flooder = seat(QStringLiteral("Flood"));
        QTRY_VERIFY(flooder->isInRoom());
        QTRY_VERIFY(lobby->occupants().contains(QStringLiteral("Flood")));
        for (int i = 0; i < 5; ++i)
            flooder->sendRoomMessage(QStringLiteral("line %1").arg(i));
        QSignalSpy left(lobby, &RoomClient::occupantLeft);
        seats_.back()->stop();
        QVERIFY(left.wait(5000));
    }
    QVERIFY(lobby->sendRoomMessage(QStringLiteral("over")));
    QTRY_VERIFY(!lines.isEmpty() && lines.last().at(1).toString() == QStringLiteral("over"));
    QVERIFY2(lines.size() <= RoomClient::Rates().chat.burst + 2, qPrintable(QString::number(lines.size())));
}

void TestRoomClient::aSilentServerIsGivenUp()
{
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
    seats_.push_back(std::make_unique<RoomClient>());
    RoomClient *client = seats_.back().get();
    client->setTiming({60000, 60000, 60000, 20000, 300});
    CommunityAccount a = account(server_, QStringLiteral("Hal"));
    a.host = QStringLiteral("127.0.0.1");
    a.port = silent.serverPort();
    client->start(a);
    QTRY_COMPARE(client->state(), RoomClient::State::Waiting);
    QVERIFY(silent.hasPendingConnections());
    QVERIFY2(client->status().startsWith(QStringLiteral("127.0.0.1 did not answer. Trying again in")),
        qPrintable(client->status()));
}

void TestRoomClient::aFailedAddressLookupIsTriedAgain()
{
    ProsodyServer bare; // neither an IP check nor a STUN service
    QVERIFY2(bare.start(), qPrintable(bare.errorString() + bare.log()));
    RoomClient *client = seat(QStringLiteral("Ivy"), &bare);
    GameAnnouncement announcement(*client, [] { return DiscoveryWire::Game(); });
    announcement.setRetryDelays(100, 200);
    QSignalSpy notes(&announcement, &GameAnnouncement::noteChanged);
    announcement.start(7772);
    QTRY_VERIFY(client->isInRoom());
    const auto failures = [&notes] {
        return std::count_if(
            notes.begin(), notes.end(), [](const QList<QVariant> &n) { return n.at(1).toBool(); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(failures() >= 3, 10000);
    announcement.stop();
}

void TestRoomClient::aBrokenConnectionIsTriedAgain()
{
    ProsodyServer server;
    QVERIFY2(server.start(), qPrintable(server.errorString() + server.log()));
    RoomClient *client = seat(QStringLiteral("Dora"), &server);
    QTRY_VERIFY(client->isInRoom());
    QSignalSpy states(client, &RoomClient::stateChanged);
    server.stop(true);
    QTRY_COMPARE(client->state(), RoomClient::State::Waiting);
    QVERIFY(client->status().contains(QStringLiteral("Trying again in")));
    QVERIFY(client->occupants().isEmpty());
    QVERIFY(server.restart());
    QTRY_VERIFY_WITH_TIMEOUT(client->isInRoom(), 10000);
}

void TestRoomClient::anUntrustedServerIsRefused()
{
    seats_.push_back(std::make_unique<RoomClient>());
    RoomClient *client = seats_.back().get();
    CommunityAccount a = account(server_, QStringLiteral("Eve"));
    a.authorities = QSslCertificate::fromPath(QStringLiteral("/etc/ssl/certs/ca-certificates.crt"));
    QSignalSpy states(client, &RoomClient::stateChanged);
    client->start(a);
    QTRY_COMPARE(client->state(), RoomClient::State::Off);
    QVERIFY2(client->status().contains(QStringLiteral("its certificate is not signed by an authority")),
        qPrintable(client->status()));
    QVERIFY(!states.contains({QVariant::fromValue(RoomClient::State::Joining)}));
}

void TestRoomClient::accountsSignInWithTheirPassword()
{
    ProsodyServer server;
    ProsodyServer::Options options;
    options.accounts = true;
    QVERIFY2(server.start(options), qPrintable(server.errorString() + server.log()));
    QVERIFY2(
        server.addUser(QStringLiteral("fay"), QStringLiteral("right")), qPrintable(server.errorString()));
    seats_.push_back(std::make_unique<RoomClient>());
    RoomClient *client = seats_.back().get();
    CommunityAccount a = account(server, QStringLiteral("Fay"));
    a.account = QStringLiteral("fay@") + server.usersDomain();
    a.host = QStringLiteral("127.0.0.1");
    a.password = QStringLiteral("wrong");
    QSignalSpy refused(client, &RoomClient::credentialsRefused);
    client->start(a);
    QVERIFY(refused.wait(10000));
    QCOMPARE(client->state(), RoomClient::State::Off);
    QVERIFY2(client->status().contains(QStringLiteral("check the name and the password")),
        qPrintable(client->status()));
    a.password = QStringLiteral("right");
    client->start(a);
    QTRY_VERIFY2(client->isInRoom(), qPrintable(client->status()));
}

void TestRoomClient::theOwnAddressIsLearnedFromTheServer_data()
{
    QTest::addColumn<bool>("stun");
    QTest::newRow("server IP check") << false;
    QTest::newRow("the server's STUN service") << true;
}

void TestRoomClient::theOwnAddressIsLearnedFromTheServer()
{
    QFETCH(bool, stun);
    ProsodyServer stunServer;
    QProcess coturn;
    ProsodyServer *server = &server_;
    if (stun) {
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
        const quint16 stunPort = probe.localPort();
        probe.close();
        coturn.setProcessChannelMode(QProcess::MergedChannels);
        coturn.start(QStringLiteral("turnserver"),
            {QStringLiteral("-n"), QStringLiteral("--stun-only"), QStringLiteral("--listening-ip=127.0.0.1"),
                QStringLiteral("--listening-port=%1").arg(stunPort), QStringLiteral("--no-tls"),
                QStringLiteral("--no-dtls"), QStringLiteral("--no-cli"),
                QStringLiteral("--log-file=stdout")});
        QVERIFY(coturn.waitForStarted(10000));
        ProsodyServer::Options options;
        options.modules << QStringLiteral("external_services");
        options.global
            = QStringLiteral("external_services = { { type = \"stun\", transport = \"udp\", host = "
                             "\"127.0.0.1\", port = %1 } }")
                  .arg(stunPort);
        QVERIFY2(stunServer.start(options), qPrintable(stunServer.errorString() + stunServer.log()));
        server = &stunServer;
    }
    RoomClient *client = seat(QStringLiteral("Gus"), server);
    AddressFinder finder(*client);
    QTRY_VERIFY(client->isInRoom());
    QSignalSpy found(&finder, &AddressFinder::found);
    QSignalSpy failed(&finder, &AddressFinder::failed);
    finder.find();
    // coturn may still be starting: the probe repeats its request for a few seconds.
    QTRY_VERIFY_WITH_TIMEOUT(!found.isEmpty() || !failed.isEmpty(), 10000);
    QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).value(0).toString()));
    QCOMPARE(found.at(0).at(0).toString(), QStringLiteral("127.0.0.1"));
    QCOMPARE(found.at(0).at(1).toString().contains(QStringLiteral("STUN")), stun);
    if (stun) {
        coturn.terminate();
        QVERIFY(coturn.waitForFinished(10000));
    }
}

void TestRoomClient::theShippedConfigurationRunsALobby()
{
    QFile shipped(QStringLiteral(WENDLEWICK_SOURCE_DIR "/dist/prosody/wendlewick-lobby.cfg.lua"));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    QString config = QString::fromUtf8(shipped.readAll());
    config.replace(QStringLiteral("lobby.example.org"), QStringLiteral("localhost"));
    ProsodyServer server;
    QVERIFY2(server.startWith(config), qPrintable(server.errorString() + server.log()));

    // Only an admin makes rooms: a guest finds none until the lobby is made as the
    // README says.
    RoomClient *early = seat(QStringLiteral("Early"), &server);
    QTRY_COMPARE(early->state(), RoomClient::State::Off);
    QVERIFY2(early->status().contains(QStringLiteral("There is no room")), qPrintable(early->status()));
    QVERIFY2(server.shell(
                 QStringLiteral("muc:create('lobby@rooms.localhost', { persistent = true; public = true })")),
        qPrintable(server.errorString()));

    RoomClient *guest = seat(QStringLiteral("Guest"), &server);
    QVERIFY2(server.addUser(QStringLiteral("ida"), QStringLiteral("pass")), qPrintable(server.errorString()));
    seats_.push_back(std::make_unique<RoomClient>());
    RoomClient *member = seats_.back().get();
    CommunityAccount a = account(server, QStringLiteral("Ida"));
    a.host = server.domain();
    a.account = QStringLiteral("ida@") + server.usersDomain();
    a.password = QStringLiteral("pass");
    member->start(a);
    QTRY_VERIFY2(guest->isInRoom(), qPrintable(guest->status()));
    QTRY_VERIFY2(member->isInRoom(), qPrintable(member->status()));
    QTRY_VERIFY(guest->occupants().contains(QStringLiteral("Ida")));
    AddressFinder finder(*guest);
    QSignalSpy found(&finder, &AddressFinder::found);
    finder.find();
    QVERIFY(found.wait(5000));
}

QTEST_GUILESS_MAIN(TestRoomClient)
#include "tst_roomclient.moc"
