// Seats in a room of a real Prosody on loopback: they see each other, chat, announce
// games, take another name when theirs is taken, sign in again after the server went
// away, and drop floods.
#include "addressfinder.h"
#include "gamepayload.h"
#include "prosodyserver.h"
#include "roomannouncer.h"
#include "roomclient.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestRoomClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void seatsSeeEachOtherAndChat();

private:
    CommunityAccount account(const QString &nick) const;
    RoomClient *seat(const QString &nick);

    ProsodyServer server_;
    std::vector<std::unique_ptr<RoomClient>> seats_;
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
}

CommunityAccount TestRoomClient::account(const QString &nick) const
{
    CommunityAccount a;
    a.domain = server_.domain();
    a.port = server_.port();
    a.nick = nick;
    a.authorities = server_.authorities();
    return a;
}

RoomClient *TestRoomClient::seat(const QString &nick)
{
    seats_.push_back(std::make_unique<RoomClient>());
    RoomClient *client = seats_.back().get();
    client->capture(GamePayload::elementName, GamePayload::ns);
    client->start(account(nick));
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
    QVERIFY(anna->sendRoomMessage(QStringLiteral("hello Ben")));
    QTRY_VERIFY(!toBen.isEmpty());
    QCOMPARE(toBen.last().at(0).toString(), QStringLiteral("Anna"));
    QCOMPARE(toBen.last().at(1).toString(), QStringLiteral("hello Ben"));
}

QTEST_GUILESS_MAIN(TestRoomClient)
#include "tst_roomclient.moc"
