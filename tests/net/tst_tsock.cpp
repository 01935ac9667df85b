// TSock over loopback: accepting, ordered delivery, closes, resets, notices and failures.
#include "tsock.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <sys/socket.h>

Q_DECLARE_METATYPE(TSocketInfo)

namespace {

struct Notice
{
    TSocketInfo kind;
    QString text;
};

// Records every notice and event of a socket, in order.
class Recorder : public QObject
{
public:
    QList<Notice> notices;
    QStringList events;

    explicit Recorder(TSock *sock)
    {
        connect(sock, &TSock::OnInfo, this, [this](TSock *, TSocketInfo kind, const QString &text) {
            notices.append({kind, text});
            events.append(text);
        });
        connect(sock, &TSock::OnDisconnect, this, [this] { events.append(QStringLiteral("OnDisconnect")); });
        connect(sock, &TSock::OnConnect, this, [this] { events.append(QStringLiteral("OnConnect")); });
    }
    int count(const QString &text) const { return int(events.count(text)); }
};

// A listener on the loopback address and a client connected to it.
struct Pair
{
    TSock listener;
    TSock client;
    std::unique_ptr<TSock> accepted;

    bool open()
    {
        listener.setBindAddress(QHostAddress::LocalHost);
        listener.setPortName(QStringLiteral("0"));
        listener.setListen(true);
        QSignalSpy acceptSpy(&listener, &TSock::OnAccept);
        QSignalSpy connectSpy(&client, &TSock::OnConnect);
        client.setHostName(QStringLiteral("127.0.0.1"));
        client.setPortName(QString::number(listener.localPort()));
        client.Open();
        if (!acceptSpy.wait(5000) && acceptSpy.isEmpty())
            return false;
        accepted.reset(listener.Accept());
        if (connectSpy.isEmpty() && !connectSpy.wait(5000))
            return false;
        return accepted && accepted->connected() && client.connected();
    }
};

QByteArray receiveAtLeast(TSock &sock, qsizetype size)
{
    QByteArray got;
    QSignalSpy spy(&sock, &TSock::OnRead);
    while (got.size() < size) {
        got += sock.Receive();
        if (got.size() >= size || !spy.wait(5000))
            break;
    }
    return got;
}

} // namespace

class TestTSock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<TSocketInfo>(); }
    void listenerReportsItsStates();
    void messagesSentInARowArriveInOrder();
    void receiveReturnsEverythingSinceTheLastFetch();
    void largeArrivalComesInReadsOfAtMost32KiB();
    void peerCloseReportsDisconnectThenOneClosedNotice();
    void peerResetIsHandledLikeAClose();
    void ownCloseReportsClosedOnceAndFlushesWhatWasSent();
    void failuresRaiseTheirTexts_data();
    void failuresRaiseTheirTexts();
    void listeningOnATakenPortFails();
    void refusedConnectReportsAnErrorNotice();
    void errorTextNamesTheCode_data();
    void errorTextNamesTheCode();
};

void TestTSock::listenerReportsItsStates()
{
    TSock listener;
    Recorder rec(&listener);
    listener.setBindAddress(QHostAddress::LocalHost);
    listener.setPortName(QStringLiteral("0"));
    listener.setListen(true);
    QVERIFY(listener.Listen());
    QVERIFY(listener.localPort() != 0);
    listener.setListen(true);
    listener.setListen(false);
    QVERIFY(!listener.Listen());
    QCOMPARE(
        rec.events, QStringList({"Listening Started", "Listening Already Running", "Listening Stopped"}));
    QCOMPARE(rec.notices.at(0).kind, TSocketInfo::siListen);
}

void TestTSock::messagesSentInARowArriveInOrder()
{
    Pair p;
    Recorder clientRec(&p.client);
    QVERIFY(p.open());
    QVERIFY(clientRec.events.contains(QStringLiteral("Non-Blocking Socket Connected")));
    QCOMPARE(p.accepted->HostName(), QStringLiteral("127.0.0.1"));
    p.client.Send("one\xff");
    p.client.Send("two\xff");
    p.client.Send("three\xff");
    QCOMPARE(receiveAtLeast(*p.accepted, 14), QByteArray("one\xfftwo\xffthree\xff"));
    p.accepted->Send("back");
    QCOMPARE(receiveAtLeast(p.client, 4), QByteArray("back"));
}

void TestTSock::receiveReturnsEverythingSinceTheLastFetch()
{
    Pair p;
    QVERIFY(p.open());
    QSignalSpy reads(p.accepted.get(), &TSock::OnRead);
    p.client.Send("first");
    QVERIFY(reads.wait(5000));
    p.client.Send("second");
    QVERIFY(reads.wait(5000));
    // OnRead counts the whole unfetched buffer.
    QCOMPARE(reads.last().at(1).toLongLong(), qint64(11));
    QCOMPARE(p.accepted->Receive(), QByteArray("firstsecond"));
    QCOMPARE(p.accepted->Receive(), QByteArray());
}

void TestTSock::largeArrivalComesInReadsOfAtMost32KiB()
{
    Pair p;
    QVERIFY(p.open());
    QList<qsizetype> pieces;
    QByteArray got;
    connect(p.accepted.get(), &TSock::OnRead, this, [&](TSock *sock, qint64) {
        const QByteArray piece = sock->Receive();
        pieces.append(piece.size());
        got += piece;
    });
    QByteArray sent(200 * 1000, 'x');
    for (qsizetype i = 0; i < sent.size(); i += 997)
        sent[i] = char(i / 997);
    p.client.Send(sent);
    QTRY_COMPARE_WITH_TIMEOUT(got.size(), sent.size(), 10000);
    QCOMPARE(got, sent);
    QVERIFY(pieces.size() >= 7);
    for (const qsizetype size : std::as_const(pieces))
        QVERIFY2(size <= 32768, qPrintable(QString::number(size)));
}

void TestTSock::peerCloseReportsDisconnectThenOneClosedNotice()
{
    Pair p;
    QVERIFY(p.open());
    Recorder rec(p.accepted.get());
    QSignalSpy reads(p.accepted.get(), &TSock::OnRead);
    p.client.Send("last words");
    p.client.Close();
    QTRY_VERIFY(rec.count(QStringLiteral("Socket Closed")) == 1);
    QCOMPARE(rec.count(QStringLiteral("OnDisconnect")), 1);
    QVERIFY(rec.events.indexOf(QStringLiteral("OnDisconnect"))
        < rec.events.indexOf(QStringLiteral("Socket Closed")));
    // Data sent before the close is still delivered.
    QCOMPARE(p.accepted->Receive(), QByteArray("last words"));
    QVERIFY(!p.accepted->connected());
    // Closing again reports nothing more.
    QVERIFY(!p.accepted->Close());
    QCOMPARE(rec.count(QStringLiteral("Socket Closed")), 1);
}

void TestTSock::peerResetIsHandledLikeAClose()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    TSock listener;
    listener.setBindAddress(QHostAddress::LocalHost);
    listener.setPortName(QStringLiteral("0"));
    listener.setListen(true);
    QSignalSpy acceptSpy(&listener, &TSock::OnAccept);
    QTcpSocket raw;
    raw.connectToHost(QHostAddress::LocalHost, listener.localPort());
    QVERIFY(acceptSpy.wait(5000));
    std::unique_ptr<TSock> accepted(listener.Accept());
    QVERIFY(accepted);
    Recorder rec(accepted.get());
    const linger hard {1, 0};
    QVERIFY(::setsockopt(int(raw.socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard) == 0);
    raw.abort();
    QTRY_COMPARE(rec.count(QStringLiteral("Socket Closed")), 1);
    QCOMPARE(rec.count(QStringLiteral("OnDisconnect")), 1);
    QVERIFY_THROWS_EXCEPTION(ESockException, accepted->Send("x"));
}

void TestTSock::ownCloseReportsClosedOnceAndFlushesWhatWasSent()
{
    Pair p;
    QVERIFY(p.open());
    Recorder rec(p.accepted.get());
    QSignalSpy clientClosed(&p.client, &TSock::OnDisconnect);
    const QByteArray big(256 * 1024, 'x');
    p.accepted->Send(big);
    QVERIFY(p.accepted->Close());
    QCOMPARE(rec.count(QStringLiteral("Socket Closed")), 1);
    QVERIFY(!p.accepted->connected());
    QVERIFY_THROWS_EXCEPTION(ESockException, p.accepted->Send("more"));
    // The peer gets everything that was sent before the close, then the close.
    QByteArray got;
    QSignalSpy reads(&p.client, &TSock::OnRead);
    while (got.size() < big.size() && (reads.wait(5000) || p.client.connected()))
        got += p.client.Receive();
    got += p.client.Receive();
    QCOMPARE(got.size(), big.size());
    QTRY_COMPARE(clientClosed.size(), 1);
}

void TestTSock::failuresRaiseTheirTexts_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("text");
    QTest::newRow("send unopened") << "send"
                                   << "Send - Socket Not Connected";
    QTest::newRow("send on listener") << "send listener"
                                      << "Send - Cannot Send On A Listener Socket";
    QTest::newRow("receive unopened") << "receive"
                                      << "Receive - Socket Not Connected";
    QTest::newRow("receive on listener") << "receive listener"
                                         << "Receive - Cannot Receive On A Listener Socket";
    QTest::newRow("accept without listening") << "accept"
                                              << "Accept - Socket Not In Listening Mode";
    QTest::newRow("unknown service") << "service"
                                     << "Port Lookup - Could Not Find Service Entry";
    QTest::newRow("bad address") << "address"
                                 << "Host Lookup - Could Not Find Host Entry";
}

void TestTSock::failuresRaiseTheirTexts()
{
    QFETCH(QString, operation);
    QFETCH(QString, text);
    TSock sock;
    if (operation.endsWith(QLatin1String("listener"))) {
        sock.setBindAddress(QHostAddress::LocalHost);
        sock.setPortName(QStringLiteral("0"));
        sock.setListen(true);
    }
    QString raised;
    try {
        if (operation.startsWith(QLatin1String("send")))
            sock.Send("x");
        else if (operation.startsWith(QLatin1String("receive")))
            sock.Receive();
        else if (operation == QLatin1String("accept"))
            sock.Accept();
        else if (operation == QLatin1String("service")) {
            sock.setPortName(QStringLiteral("no-such-service-here"));
            sock.Open();
        } else {
            sock.setPortName(QStringLiteral("7"));
            sock.setHostName(QStringLiteral("300.1.2.3"));
            sock.Open();
        }
    } catch (const ESockException &e) {
        raised = e.text();
    }
    QCOMPARE(raised, text);
}

void TestTSock::listeningOnATakenPortFails()
{
    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress::LocalHost, 0));
    TSock sock;
    sock.setBindAddress(QHostAddress::LocalHost);
    sock.setPortName(QString::number(holder.serverPort()));
    QString raised;
    try {
        sock.setListen(true);
    } catch (const ESockException &e) {
        raised = e.text();
    }
    QCOMPARE(raised, QStringLiteral("Listen - Error Binding Socket"));
    QVERIFY(!sock.Listen());
}

void TestTSock::refusedConnectReportsAnErrorNotice()
{
    quint16 freePort;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        freePort = probe.serverPort();
    }
    TSock sock;
    Recorder rec(&sock);
    sock.setHostName(QStringLiteral("127.0.0.1"));
    sock.setPortName(QString::number(freePort));
    sock.Open();
    QTRY_VERIFY(rec.events.contains(QStringLiteral("Error #10061 (WSAECONNREFUSED)")));
    QVERIFY(!sock.connected());
    QCOMPARE(rec.count(QStringLiteral("Socket Closed")), 0);
}

void TestTSock::errorTextNamesTheCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("first") << 10004 << "Error #10004 (WSAEINTR)";
    QTest::newRow("reset") << 10054 << "Error #10054 (WSAECONNRESET)";
    QTest::newRow("host not found") << 11001 << "Error #11001 (WSAHOST_NOT_FOUND)";
    QTest::newRow("last") << 11004 << "Error #11004 (WSANO_DATA)";
    QTest::newRow("unknown") << 12345 << "Error #12345 (UNKNOWN ERROR)";
}

void TestTSock::errorTextNamesTheCode()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(TSock::errorText(code), text);
}

QTEST_GUILESS_MAIN(TestTSock)
#include "tst_tsock.moc"
