// Arbitrary bytes, cut into arbitrary reads from three connections, into the host's
// receive side and dispatch, mixed with countdown ticks and connections closing.
//
// Input: byte 0 picks a preamble (bit 0: the three connections log in; bit 1: slot 1
// then starts a game on the board-size code in byte 1; bit 2: the logins offer to come
// back, so that their seats are held when they drop). Then operations, each a byte and
// its operands:
//   0 conn len bytes...  bytes arrive on a connection (len up to 255)
//   1                    one dispatch tick
//   2                    one second of the countdown (when it runs)
//   3 conn               that connection's peer closes
//   4                    the event loop runs (socket events are delivered)
//   5                    dispatch ticks until every queue is empty
//   6 conn               that connection's peer connects again (a new connection)
//   7 conn len bytes...  the peer writes the bytes on its socket, and the loop runs
//   8 slot               the grace period of that seat (1 to 10) is over
// Tokens are 16 bytes of a counter, the n-th given being "n" in its first byte (the
// first is 01000000000000000000000000000000), so inputs can show ones that fit.
#include "hostenvironment.h"
#include "tdictn.h"
#include "tserver.h"
#include "wire.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <random>

namespace {

constexpr int connections = 3;

class FuzzEnvironment : public HostEnvironment
{
public:
    FuzzEnvironment()
        : spell(folder.path(), TDictn::builtinResource)
    { }
    bool isword(QByteArrayView word) const override { return spell.isword(word); }
    int pauseBetweenRounds() const override { return 2; }
    bool autoStartNextGame() const override { return true; }

    QTemporaryDir folder;
    TDictn spell;
};

QCoreApplication &app()
{
    static int argc = 1;
    static char name[] = "fuzz_host";
    static char *argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

void runEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    app();
    static FuzzEnvironment environment;
    if (size < 2)
        return 0;

    std::mt19937 engine(data[1]);
    {
        TServer server(environment,
            [&engine](int bound) { return int(std::uniform_int_distribution<int>(0, bound - 1)(engine)); });
        server.setSecondLength(3600 * 1000); // the countdown moves only by operation 2
        server.setDispatchInterval(3600 * 1000); // ticks only by operations 1 and 5 (and 4 when idle)
        quint8 tokensGiven = 0;
        server.setTokenSource([&tokensGiven] {
            Wire::RejoinToken token {};
            token[0] = ++tokensGiven;
            return token;
        });
        server.listen(0, QHostAddress::LocalHost);

        std::array<std::unique_ptr<QTcpSocket>, connections> peers;
        for (auto &peer : peers) {
            peer = std::make_unique<QTcpSocket>();
            peer->connectToHost(QHostAddress::LocalHost, server.port());
        }
        for (int i = 0; i < 200 && server.highestSlot() < connections; ++i)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        if (server.highestSlot() < connections)
            return 0;

        const auto drain = [&server] {
            for (int i = 0; i < 64; ++i) {
                bool queued = false;
                for (int s = 1; s <= Wire::slotCount; ++s)
                    queued = queued || (server.slot(s).inUse && server.slot(s).input.hasMessage());
                if (!queued)
                    break;
                server.socktimerTimer();
            }
        };

        if (data[0] & 1) {
            for (int s = 1; s <= connections; ++s) {
                if (data[0] & 4)
                    server.receiveBytes(s, Wire::ToHost::canrejoin(s));
                server.receiveBytes(
                    s, Wire::ToHost::logininfo(s, QStringLiteral("1.0.7"), QStringLiteral("P%1").arg(s)));
            }
            drain();
        }
        if (data[0] & 2) {
            server.receiveBytes(1, Wire::ToHost::startgame(QStringLiteral("P1"), 20, 30, 4 + data[1] % 8, 3));
            drain();
        }

        size_t i = 2;
        const auto byte = [&]() -> int { return i < size ? data[i++] : 0; };
        while (i < size) {
            switch (byte() % 9) {
            case 0: {
                const int slot = byte() % connections + 1;
                const size_t len = std::min<size_t>(size_t(byte()), size - i);
                server.receiveBytes(
                    slot, QByteArrayView(reinterpret_cast<const char *>(data + i), qsizetype(len)));
                i += len;
                break;
            }
            case 1:
                server.socktimerTimer();
                break;
            case 2:
                server.timer1Timer();
                break;
            case 3:
                peers[size_t(byte() % connections)]->abort();
                break;
            case 4:
                runEvents();
                break;
            case 5:
                drain();
                break;
            case 6: {
                auto &peer = peers[size_t(byte() % connections)];
                peer->abort();
                peer = std::make_unique<QTcpSocket>();
                peer->connectToHost(QHostAddress::LocalHost, server.port());
                runEvents();
                break;
            }
            case 7: {
                auto &peer = peers[size_t(byte() % connections)];
                const size_t len = std::min<size_t>(size_t(byte()), size - i);
                peer->write(reinterpret_cast<const char *>(data + i), qint64(len));
                peer->flush();
                i += len;
                runEvents();
                break;
            }
            case 8:
                server.graceOver(byte() % Wire::slotCount + 1);
                break;
            }
        }
        runEvents();
    }
    // Sockets the host let go of are deleted later; do it now so nothing piles up.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
