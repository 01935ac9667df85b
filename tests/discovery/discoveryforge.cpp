// Discovery queries with forged source addresses, for tests between network
// namespaces only (it needs root for its raw socket). It prints how many answers came
// back, then ends.
//
//   discoveryforge broadcast HOST PORT SOURCE
//     one query from SOURCE (a broadcast address of this side's subnet) to the host
//     at HOST:PORT; counts the answers heard on the query's source port: "answered N".
//   discoveryforge flood HOST PORT FORGED REAL...
//     over one second, FORGED queries from addresses off every subnet (198.18.0.0/15)
//     and one query from each REAL address (addresses of this machine, by ordinary
//     sockets, evenly spread); counts the real queries answered: "answered N of M".
#include "discoverywire.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QTextStream>
#include <QTimer>
#include <QUdpSocket>

#include <memory>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr quint16 answerPort = 47772;
constexpr int floodMs = 1000;
constexpr int listenAfterMs = 1500;

// One IPv4 packet carrying a UDP datagram, source and all of our choosing.
class RawSender
{
public:
    RawSender()
        : fd_(::socket(AF_INET, SOCK_RAW, IPPROTO_RAW))
    { }
    ~RawSender()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }

    bool send(
        quint32 source, quint16 sourcePort, quint32 destination, quint16 port, const QByteArray &payload)
    {
        QByteArray packet(28, '\0');
        auto *b = reinterpret_cast<unsigned char *>(packet.data());
        b[0] = 0x45; // IPv4, 20-byte header; the kernel fills in length, id and checksum
        b[8] = 64; // TTL
        b[9] = IPPROTO_UDP;
        put32(b + 12, source);
        put32(b + 16, destination);
        put16(b + 20, sourcePort);
        put16(b + 22, port);
        put16(b + 24, quint16(8 + payload.size()));
        // UDP checksum 0: none, which IPv4 allows.
        packet += payload;
        sockaddr_in to {};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(destination);
        return ::sendto(fd_, packet.constData(), size_t(packet.size()), 0, reinterpret_cast<sockaddr *>(&to),
                   sizeof to)
            == packet.size();
    }

private:
    static void put16(unsigned char *p, quint16 v)
    {
        p[0] = quint8(v >> 8);
        p[1] = quint8(v);
    }
    static void put32(unsigned char *p, quint32 v)
    {
        put16(p, quint16(v >> 16));
        put16(p + 2, quint16(v));
    }

    int fd_;
};

int fail(const QString &why)
{
    QTextStream(stderr) << "discoveryforge: " << why << Qt::endl;
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5)
        return fail(QStringLiteral("usage: broadcast HOST PORT SOURCE | flood HOST PORT FORGED REAL..."));
    const QString mode = args.at(1);
    const quint32 host = QHostAddress(args.at(2)).toIPv4Address();
    const auto port = quint16(args.at(3).toUInt());
    RawSender raw;
    if (!raw.isOpen())
        return fail(QStringLiteral("no raw socket (root needed)"));
    QTextStream out(stdout);
    int answered = 0;

    if (mode == QLatin1String("broadcast")) {
        QUdpSocket listener;
        if (!listener.bind(QHostAddress::AnyIPv4, answerPort, QUdpSocket::ShareAddress))
            return fail(listener.errorString());
        QObject::connect(&listener, &QUdpSocket::readyRead, [&] {
            while (listener.hasPendingDatagrams())
                answered += DiscoveryWire::decode(listener.receiveDatagram().data()).has_value();
        });
        if (!raw.send(QHostAddress(args.at(4)).toIPv4Address(), answerPort, host, port,
                DiscoveryWire::encodeQuery(0x5eed0001)))
            return fail(QStringLiteral("cannot send"));
        QTimer::singleShot(listenAfterMs, &app, [&] {
            out << "answered " << answered << Qt::endl;
            app.quit();
        });
        return QCoreApplication::exec();
    }

    if (mode != QLatin1String("flood") || args.size() < 6)
        return fail(QStringLiteral("unknown mode"));
    const int forged = args.at(4).toInt();
    std::vector<std::unique_ptr<QUdpSocket>> real;
    for (const QString &address : args.mid(5)) {
        auto socket = std::make_unique<QUdpSocket>();
        if (!socket->bind(QHostAddress(address), answerPort))
            return fail(address + QStringLiteral(": ") + socket->errorString());
        QUdpSocket *s = socket.get();
        const auto nonce = quint32(0x5eed0100 + real.size());
        QObject::connect(s, &QUdpSocket::readyRead, [&answered, s, nonce] {
            while (s->hasPendingDatagrams()) {
                const auto d = DiscoveryWire::decode(s->receiveDatagram().data());
                answered += d && d->kind == DiscoveryWire::Kind::Reply && d->nonce == nonce;
            }
        });
        real.push_back(std::move(socket));
    }

    // Each tick sends the forged queries due by then, and a real one when its turn has
    // come: the real ones in the middle of each eighth of the second.
    QElapsedTimer clock;
    clock.start();
    int forgedSent = 0;
    size_t realSent = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = std::min<qint64>(clock.elapsed(), floodMs);
        for (; forgedSent < forged * now / floodMs; ++forgedSent) {
            const quint32 source = 0xC6120000 | QRandomGenerator::global()->bounded(0x20000u);
            raw.send(source, quint16(1024 + forgedSent), host, port,
                DiscoveryWire::encodeQuery(quint32(forgedSent)));
        }
        for (; realSent < real.size() && qint64(2 * realSent + 1) * floodMs / qint64(2 * real.size()) <= now;
             ++realSent)
            real[realSent]->writeDatagram(
                DiscoveryWire::encodeQuery(quint32(0x5eed0100 + realSent)), QHostAddress(host), port);
        if (now < floodMs)
            return;
        tick.stop();
        QTimer::singleShot(listenAfterMs, &app, [&] {
            out << "answered " << answered << " of " << real.size() << " (" << forgedSent << " forged)"
                << Qt::endl;
            app.quit();
        });
    });
    tick.start();
    return QCoreApplication::exec();
}
