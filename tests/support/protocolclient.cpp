#include "protocolclient.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <sys/socket.h>

namespace {

constexpr char terminator = char(0xFF);

} // namespace

ProtocolClient::ProtocolClient(QObject *parent)
    : QObject(parent)
{
    connect(&socket_, &QTcpSocket::readyRead, this, &ProtocolClient::readSome);
}

bool ProtocolClient::connectTo(quint16 port, int timeoutMs)
{
    socket_.connectToHost(host_, port);
    if (socket_.state() == QAbstractSocket::ConnectedState)
        return true;
    QSignalSpy connected(&socket_, &QTcpSocket::connected);
    return connected.wait(timeoutMs);
}

int ProtocolClient::join(quint16 port, const QByteArray &name, const QByteArray &version)
{
    if (!connectTo(port))
        return 0;
    const QByteArray ask = waitFor("CMD_sendlogininfo");
    if (ask.isEmpty())
        return 0;
    const QByteArray slot = ask.mid(qsizetype(sizeof("CMD_sendlogininfo")));
    send("CMD_logininfo+" + slot + "+" + version + "+" + name);
    const QByteArray self = waitFor("CMD_newplayerinfo+" + slot);
    if (self.isEmpty())
        return 0;
    slot_ = slot.toInt();
    return slot_;
}

void ProtocolClient::sendRaw(const QByteArray &bytes)
{
    socket_.write(bytes);
    socket_.flush();
}

void ProtocolClient::send(const QByteArray &message)
{
    sendRaw(message + terminator);
}

void ProtocolClient::readSome()
{
    if (!reading_)
        return;
    partial_ += socket_.readAll();
    bool any = false;
    for (qsizetype end; (end = partial_.indexOf(terminator)) >= 0;) {
        messages_.append(partial_.first(end));
        partial_.remove(0, end + 1);
        any = true;
    }
    if (any)
        Q_EMIT messageArrived();
}

QByteArray ProtocolClient::next(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (cursor_ >= messages_.size()) {
        if (deadline.hasExpired())
            return {};
        QSignalSpy spy(this, &ProtocolClient::messageArrived);
        spy.wait(int(std::max<qint64>(1, deadline.remainingTime())));
    }
    return messages_.at(cursor_++);
}

QByteArray ProtocolClient::waitFor(const QByteArray &command, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QByteArray m = next(int(std::max<qint64>(1, deadline.remainingTime())));
        if (m.isEmpty())
            return {};
        if (m == command || m.startsWith(QByteArray(command + "+"))
            || (command.endsWith('+') && m.startsWith(command)))
            return m;
    }
}

bool ProtocolClient::staysQuiet(int ms)
{
    if (unread() > 0)
        return false;
    QSignalSpy spy(this, &ProtocolClient::messageArrived);
    return !spy.wait(ms);
}

bool ProtocolClient::waitForClosed(int timeoutMs)
{
    if (socket_.state() == QAbstractSocket::UnconnectedState)
        return true;
    QSignalSpy closed(&socket_, &QTcpSocket::disconnected);
    return closed.wait(timeoutMs) || socket_.state() == QAbstractSocket::UnconnectedState;
}

void ProtocolClient::reset()
{
    const linger hard {1, 0};
    ::setsockopt(int(socket_.socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    socket_.abort();
}

void ProtocolClient::stopReading()
{
    reading_ = false;
    socket_.setReadBufferSize(1);
}

QList<Wire::Tile> ProtocolClient::threeInARow(const QByteArray &loadboard)
{
    const QList<QByteArray> fields = loadboard.split('+');
    QSet<std::pair<int, int>> letters;
    for (qsizetype i = 1; i + 2 < fields.size(); i += 3)
        if (fields[i + 2].toInt() != Wire::noTile)
            letters.insert({fields[i].toInt(), fields[i + 1].toInt()});
    for (int r = 0; r < Wire::boardSize; ++r)
        for (int c = 0; c + 2 < Wire::boardSize; ++c)
            if (letters.contains({r, c}) && letters.contains({r, c + 1}) && letters.contains({r, c + 2}))
                return {{r, c}, {r, c + 1}, {r, c + 2}};
    return {};
}
