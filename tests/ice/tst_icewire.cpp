// The pure parts of connecting through routers: the signals' element, which
// candidates may be checked, the bridges' frames, the servers a community names and
// how a working pair is described.
#include "candidatepolicy.h"
#include "externalservices.h"
#include "icepath.h"
#include "icesignal.h"
#include "tunnelcodec.h"

#include <QTest>

namespace {

IceSignal sampleOffer()
{
    IceSignal s;
    s.kind = IceSignal::Kind::Offer;
    s.session = QStringLiteral("0123456789abcdef");
    s.ufrag = QStringLiteral("Ab+/");
    s.password = QStringLiteral("abcdefghijklmnopqrstuv");
    s.candidates = {{QStringLiteral("1"), 2130706431, QHostAddress(QStringLiteral("10.1.0.2")), 50000,
                        IceSignal::Candidate::Type::Host},
        {QStringLiteral("2"), 1694498815, QHostAddress(QStringLiteral("2001:db8::2")), 40000,
            IceSignal::Candidate::Type::ServerReflexive},
        {QStringLiteral("3"), 16777215, QHostAddress(QStringLiteral("172.16.0.1")), 49152,
            IceSignal::Candidate::Type::Relayed}};
    return s;
}

void setAttribute(XmlPayload &p, const QString &key, const QString &value)
{
    p.attributes.removeIf([&key](const auto &a) { return a.first == key; });
    if (value != QLatin1String("<none>"))
        p.attributes.append({key, value});
}

} // namespace

class TestIceWire : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyKindRoundTrips();
    void brokenSignalsAreRefused_data();
    void brokenSignalsAreRefused();
    void candidatesThatMayNotBeChecked_data();
    void candidatesThatMayNotBeChecked();
    void framesSurviveAnyCutting();
    void brokenFramesStopTheReader_data();
    void brokenFramesStopTheReader();
    void communityServices_data();
    void communityServices();
    void pairsAreDescribed_data();
    void pairsAreDescribed();
};

void TestIceWire::everyKindRoundTrips()
{
    IceSignal offer = sampleOffer();
    IceSignal answer = offer;
    answer.kind = IceSignal::Kind::Answer;
    IceSignal refuse;
    refuse.kind = IceSignal::Kind::Refuse;
    refuse.session = QStringLiteral("ABCdef12");
    refuse.refusal = IceSignal::Refusal::NotHosting;
    IceSignal end = refuse;
    end.kind = IceSignal::Kind::End;
    end.refusal = {};
    IceSignal accepts;
    accepts.kind = IceSignal::Kind::Accepts;
    for (const IceSignal &s : {offer, answer, refuse, end, accepts}) {
        const XmlPayload payload = s.encode();
        QVERIFY(payload.isWithinBounds());
        const std::optional<IceSignal> back = IceSignal::decode(payload);
        QVERIFY(back);
        QCOMPARE(*back, s);
    }
    // The most candidates an offer may carry still fit every payload bound.
    offer.candidates = QList<IceSignal::Candidate>(IceSignal::maxCandidates,
        {QStringLiteral("12345678901234567890123456789012"), 0x7fffffff,
            QHostAddress(QStringLiteral("2001:db8:ffff:ffff:ffff:ffff:ffff:ffff")), 65535,
            IceSignal::Candidate::Type::Host});
    offer.password = QString(128, QLatin1Char('p'));
    offer.ufrag = QString(64, QLatin1Char('u'));
    QVERIFY(offer.encode().isWithinBounds());
    QVERIFY(IceSignal::decode(offer.encode()));
}

void TestIceWire::brokenSignalsAreRefused_data()
{
    // "key=value" on the offer, or "candidate:key=value" on its second candidate; a
    // value "<none>" leaves the attribute out.
    QTest::addColumn<QString>("change");
    QTest::newRow("unknown type") << "type=hello";
    QTest::newRow("no session") << "session=<none>";
    QTest::newRow("short session") << "session=abc";
    QTest::newRow("session with a blank") << "session=0123 4567";
    QTest::newRow("short ufrag") << "ufrag=abc";
    QTest::newRow("short password") << "pwd=abcdefghijklmnopqrstu";
    QTest::newRow("password with a quote") << "pwd=abcdefghijklmnopqrstuv\"";
    QTest::newRow("extra attribute") << "extra=1";
    QTest::newRow("priority 0") << "candidate:priority=0";
    QTest::newRow("priority past 2^31-1") << "candidate:priority=2147483648";
    QTest::newRow("priority with a sign") << "candidate:priority=+5";
    QTest::newRow("port 0") << "candidate:port=0";
    QTest::newRow("port 65536") << "candidate:port=65536";
    QTest::newRow("a name for an address") << "candidate:ip=turn.example.org";
    QTest::newRow("a scoped address") << "candidate:ip=fe80::1%eth0";
    QTest::newRow("peer reflexive") << "candidate:type=prflx";
    QTest::newRow("a long foundation") << "candidate:foundation=" + QString(33, QLatin1Char('f'));
    QTest::newRow("no foundation") << "candidate:foundation=<none>";
    QTest::newRow("a component") << "candidate:component=2";
}

void TestIceWire::brokenSignalsAreRefused()
{
    QFETCH(QString, change);
    XmlPayload payload = sampleOffer().encode();
    const bool onCandidate = change.startsWith(QLatin1String("candidate:"));
    const QString setting = onCandidate ? change.mid(10) : change;
    const qsizetype equals = setting.indexOf(QLatin1Char('='));
    setAttribute(onCandidate ? payload.children[1] : payload, setting.left(equals), setting.mid(equals + 1));
    QVERIFY(!IceSignal::decode(payload));
}

void TestIceWire::candidatesThatMayNotBeChecked_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("allowLoopback");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("an address on the internet") << "203.0.113.9" << 50000 << false << true;
    QTest::newRow("a home network") << "192.168.1.20" << 50000 << false << true;
    QTest::newRow("loopback") << "127.0.0.1" << 50000 << false << false;
    QTest::newRow("loopback, elsewhere in 127/8") << "127.3.4.5" << 50000 << false << false;
    QTest::newRow("loopback, allowed in tests") << "127.0.0.1" << 50000 << true << true;
    QTest::newRow("IPv6 loopback") << "::1" << 50000 << false << false;
    QTest::newRow("loopback mapped into IPv6") << "::ffff:127.0.0.1" << 50000 << false << false;
    QTest::newRow("unspecified") << "0.0.0.0" << 50000 << false << false;
    QTest::newRow("this network") << "0.1.2.3" << 50000 << false << false;
    QTest::newRow("multicast") << "239.255.77.72" << 50000 << false << false;
    QTest::newRow("IPv6 multicast") << "ff02::1" << 50000 << false << false;
    QTest::newRow("broadcast") << "255.255.255.255" << 50000 << false << false;
    QTest::newRow("IPv6 link-local") << "fe80::1" << 50000 << false << false;
    QTest::newRow("IPv4 link-local") << "169.254.169.254" << 50000 << false << false;
    QTest::newRow("IPv4 link-local mapped into IPv6") << "::ffff:169.254.1.2" << 50000 << false << false;
    QTest::newRow("just outside IPv4 link-local") << "169.255.0.1" << 50000 << false << true;
    QTest::newRow("our own address at our own port") << "198.51.100.7" << 40000 << false << false;
    QTest::newRow("our own address at the game's port") << "198.51.100.7" << 7772 << false << false;
    QTest::newRow("our own address mapped, at our own port")
        << "::ffff:198.51.100.7" << 40000 << false << false;
    QTest::newRow("our own address at another port") << "198.51.100.7" << 40001 << false << true;
    QTest::newRow("another address at our port") << "198.51.100.8" << 40000 << false << true;
}

void TestIceWire::candidatesThatMayNotBeChecked()
{
    QFETCH(QString, address);
    QFETCH(int, port);
    QFETCH(bool, allowLoopback);
    QFETCH(bool, allowed);
    CandidatePolicy policy;
    policy.setAllowLoopback(allowLoopback);
    policy.addOwnPort(7772);
    // Our own mapping, as a STUN server told it.
    policy.addOwnCandidates({{QStringLiteral("1"), 1, QHostAddress(QStringLiteral("198.51.100.7")), 40000,
        IceSignal::Candidate::Type::ServerReflexive}});
    const IceSignal::Candidate c {
        QStringLiteral("9"), 1, QHostAddress(address), quint16(port), IceSignal::Candidate::Type::Host};
    QCOMPARE(policy.problem(c).isEmpty(), allowed);
    QCOMPARE(policy.filter({c}).size(), allowed ? 1 : 0);
}

void TestIceWire::framesSurviveAnyCutting()
{
    QByteArray game(TunnelCodec::maxDataBytes + 100, Qt::Uninitialized);
    for (qsizetype i = 0; i < game.size(); ++i)
        game[i] = char(i * 7);
    const QByteArray stream = TunnelCodec::data("CMD_sendlogininfo+2\xff") + TunnelCodec::alive()
        + TunnelCodec::data(game) + TunnelCodec::close();
    // Every cut of the stream into two reads, and one byte at a time.
    for (qsizetype cut = 0; cut <= stream.size(); cut += (cut < 40 ? 1 : 997)) {
        TunnelCodec reader;
        QList<TunnelCodec::Frame> frames;
        QVERIFY(reader.feed(QByteArrayView(stream).first(cut), frames));
        QVERIFY(reader.feed(QByteArrayView(stream).sliced(cut), frames));
        QCOMPARE(frames.size(), 5); // the game's bytes took two data frames
        QCOMPARE(frames[0].body, QByteArray("CMD_sendlogininfo+2\xff"));
        QCOMPARE(frames[1].kind, TunnelCodec::Kind::Alive);
        QCOMPARE(frames[2].body + frames[3].body, game);
        QCOMPARE(frames[4].kind, TunnelCodec::Kind::Close);
        QCOMPARE(reader.pending(), 0);
    }
    TunnelCodec reader;
    QList<TunnelCodec::Frame> frames;
    for (char c : stream)
        QVERIFY(reader.feed(QByteArrayView(&c, 1), frames));
    QCOMPARE(frames.size(), 5);
    QVERIFY(reader.pending() <= TunnelCodec::headerBytes + TunnelCodec::maxDataBytes);
}

void TestIceWire::brokenFramesStopTheReader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("unknown kind") << QByteArray("\x09\x00\x00", 3);
    QTest::newRow("kind 0") << QByteArray("\x00\x00\x01x", 4);
    QTest::newRow("empty data") << QByteArray("\x01\x00\x00", 3);
    QTest::newRow("data past the bound") << QByteArray("\x01\x40\x01", 3);
    QTest::newRow("alive with a body") << QByteArray("\x02\x00\x01x", 4);
    QTest::newRow("close with a body") << QByteArray("\x03\x00\x02xy", 5);
    QTest::newRow("good, then bad") << QByteArray("\x01\x00\x01x\x07\x00\x00", 7);
}

void TestIceWire::brokenFramesStopTheReader()
{
    QFETCH(QByteArray, bytes);
    TunnelCodec reader;
    QList<TunnelCodec::Frame> frames;
    QVERIFY(!reader.feed(bytes, frames));
    QVERIFY(reader.isBroken());
    QCOMPARE(reader.pending(), 0);
    // Nothing after a broken frame is taken for frames.
    QVERIFY(!reader.feed(TunnelCodec::alive(), frames));
    QVERIFY(frames.size() <= 1);
}

void TestIceWire::communityServices_data()
{
    // A service's attributes, blank apart ("-" for none): type, transport, host, port,
    // username (with a password when there is one).
    QTest::addColumn<QString>("service");
    QTest::addColumn<bool>("allowLoopback");
    QTest::addColumn<bool>("taken");
    QTest::newRow("stun") << "stun udp stun.example.org 3478 -" << false << true;
    QTest::newRow("stun without a transport") << "stun - 192.0.2.1 3478 -" << false << true;
    QTest::newRow("turn with credentials") << "turn udp 192.0.2.1 3478 1700000000:x" << false << true;
    QTest::newRow("turn without credentials") << "turn udp 192.0.2.1 3478 -" << false << false;
    QTest::newRow("turn over tcp") << "turn tcp 192.0.2.1 3478 u" << false << false;
    QTest::newRow("turns") << "turns tcp 192.0.2.1 5349 u" << false << false;
    QTest::newRow("no port") << "stun udp 192.0.2.1 - -" << false << false;
    QTest::newRow("port 0") << "stun udp 192.0.2.1 0 -" << false << false;
    QTest::newRow("a multicast host") << "stun udp 239.1.2.3 3478 -" << false << false;
    QTest::newRow("loopback") << "stun udp 127.0.0.1 3478 -" << false << false;
    QTest::newRow("loopback, server on loopback") << "stun udp 127.0.0.1 3478 -" << true << true;
}

void TestIceWire::communityServices()
{
    QFETCH(QString, service);
    QFETCH(bool, allowLoopback);
    QFETCH(bool, taken);
    const QStringList fields = service.split(QLatin1Char(' '));
    const QStringList names {"type", "transport", "host", "port", "username"};
    XmlPayload item {QStringLiteral("service"), {}, {}, {}, {}};
    for (qsizetype i = 0; i < names.size(); ++i)
        if (fields[i] != QLatin1String("-"))
            item.attributes.append({names[i], fields[i]});
    if (fields[4] != QLatin1String("-"))
        item.attributes.append({QStringLiteral("password"), QStringLiteral("c2VjcmV0")});
    item.attributes.append({QStringLiteral("expires"), QStringLiteral("2030-01-01T00:00:00Z")});
    XmlPayload answer = ExternalServices::request();
    answer.children = QList<XmlPayload>(ExternalServices::maxServices + 3, item);
    const QList<ExternalServices::Service> services = ExternalServices::read(answer, allowLoopback);
    QCOMPARE(services.size(), taken ? ExternalServices::maxServices : 0);
    if (taken && fields[0] == QLatin1String("turn")) {
        QCOMPARE(services[0].username, fields[4]);
        QCOMPARE(services[0].expires, QDateTime(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC));
    }
}

void TestIceWire::pairsAreDescribed_data()
{
    using C = IcePath::Candidate;
    QTest::addColumn<int>("local");
    QTest::addColumn<int>("localPreference");
    QTest::addColumn<int>("remote");
    QTest::addColumn<int>("remotePreference");
    QTest::addColumn<QString>("way");
    QTest::newRow("host to host") << int(C::Host) << 60 << int(C::Host) << 60 << "direct";
    QTest::newRow("to a STUN mapping") << int(C::Host) << 60 << int(C::ServerReflexive) << 50 << "stun";
    QTest::newRow("from a peer's mapping") << int(C::PeerReflexive) << 55 << int(C::Host) << 60 << "stun";
    QTest::newRow("to a port the router opened")
        << int(C::Host) << 60 << int(C::ServerReflexive) << 52 << "upnp";
    QTest::newRow("the router's port, unreliable agent")
        << int(C::ServerReflexive) << 105 << int(C::Host) << 120 << "upnp";
    QTest::newRow("to a relay") << int(C::Host) << 60 << int(C::Relayed) << 10 << "relay";
    QTest::newRow("from a relay to a router's port")
        << int(C::Relayed) << 10 << int(C::ServerReflexive) << 52 << "relay";
}

void TestIceWire::pairsAreDescribed()
{
    QFETCH(int, local);
    QFETCH(int, localPreference);
    QFETCH(int, remote);
    QFETCH(int, remotePreference);
    QFETCH(QString, way);
    QCOMPARE(IcePath::name(IcePath::classify(
                 IcePath::Candidate(local), localPreference, IcePath::Candidate(remote), remotePreference)),
        way);
}

QTEST_GUILESS_MAIN(TestIceWire)
#include "tst_icewire.moc"
