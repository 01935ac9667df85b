#include "tsock.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

// How long a closed connection may still deliver what the system had not taken.
constexpr int lingerMs = 5000;
// The most one read notification takes in; a larger arrival comes in several.
constexpr qint64 maxReadBytes = 32768;

struct WsaName
{
    int code;
    const char *name;
};

constexpr WsaName wsaNames[] = {
    {10004, "WSAEINTR"},
    {10009, "WSAEBADF"},
    {10013, "WSAEACCES"},
    {10014, "WSAEFAULT"},
    {10022, "WSAEINVAL"},
    {10024, "WSAEMFILE"},
    {10035, "WSAEWOULDBLOCK"},
    {10036, "WSAEINPROGRESS"},
    {10037, "WSAEALREADY"},
    {10038, "WSAENOTSOCK"},
    {10039, "WSAEDESTADDRREQ"},
    {10040, "WSAEMSGSIZE"},
    {10041, "WSAEPROTOTYPE"},
    {10042, "WSAENOPROTOOPT"},
    {10043, "WSAEPROTONOSUPPORT"},
    {10044, "WSAESOCKTNOSUPPORT"},
    {10045, "WSAEOPNOTSUPP"},
    {10046, "WSAEPFNOSUPPORT"},
    {10047, "WSAEAFNOSUPPORT"},
    {10048, "WSAEADDRINUSE"},
    {10049, "WSAEADDRNOTAVAIL"},
    {10050, "WSAENETDOWN"},
    {10051, "WSAENETUNREACH"},
    {10052, "WSAENETRESET"},
    {10053, "WSAECONNABORTED"},
    {10054, "WSAECONNRESET"},
    {10055, "WSAENOBUFS"},
    {10056, "WSAEISCONN"},
    {10057, "WSAENOTCONN"},
    {10058, "WSAESHUTDOWN"},
    {10059, "WSAETOOMANYREFS"},
    {10060, "WSAETIMEDOUT"},
    {10061, "WSAECONNREFUSED"},
    {10062, "WSAELOOP"},
    {10063, "WSAENAMETOOLONG"},
    {10064, "WSAEHOSTDOWN"},
    {10065, "WSAEHOSTUNREACH"},
    {10066, "WSAENOTEMPTY"},
    {10067, "WSAEPROCLIM"},
    {10068, "WSAEUSERS"},
    {10069, "WSAEDQUOT"},
    {10070, "WSAESTALE"},
    {10071, "WSAEREMOTE"},
    {10091, "WSASYSNOTREADY"},
    {10092, "WSAVERNOTSUPPORTED"},
    {10093, "WSANOTINITIALISED"},
    {11001, "WSAHOST_NOT_FOUND"},
    {11002, "WSATRY_AGAIN"},
    {11003, "WSANO_RECOVERY"},
    {11004, "WSANO_DATA"},
};

// The Windows Sockets code players and logs know for Qt's error.
int wsaCode(QAbstractSocket::SocketError e)
{
    switch (e) {
    case QAbstractSocket::ConnectionRefusedError:
        return 10061;
    case QAbstractSocket::RemoteHostClosedError:
        return 10054;
    case QAbstractSocket::HostNotFoundError:
        return 11001;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
        return 10060;
    case QAbstractSocket::DatagramTooLargeError:
        return 10040;
    case QAbstractSocket::NetworkError:
        return 10050;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10045;
    default:
        return int(e);
    }
}

} // namespace

TSock::TSock(QObject *parent)
    : QObject(parent)
{ }

TSock::~TSock()
{
    // Closes without notices: the receivers may be going away too.
    const QSignalBlocker blocker(this);
    Close();
}

void TSock::setHostName(const QString &name)
{
    if (connected_)
        info(TSocketInfo::siLookup, QStringLiteral("Setting HostName While Connected Has No Effect"));
    else
        hostName_ = name;
}

void TSock::setPortName(const QString &name)
{
    if (connected_)
        info(TSocketInfo::siLookup, QStringLiteral("Setting PortName While Connected Has No Effect"));
    else
        portName_ = name;
}

bool TSock::Listen() const
{
    return server_ != nullptr;
}

quint16 TSock::resolvePort()
{
    const QString name = portName_.trimmed();
    if (!name.isEmpty() && name.at(0).isDigit()) {
        bool ok = false;
        const uint port = name.toUInt(&ok);
        if (ok && port <= 65535)
            return quint16(port);
        throw ESockException(QStringLiteral("Port Lookup - Could Not Find Service Entry"));
    }
    info(TSocketInfo::siLookup, QStringLiteral("Lookup Of Port ") + name);
    // The services list is a local file: looking it up does not wait on the network.
    const servent *entry = name.isEmpty() ? nullptr : ::getservbyname(name.toLatin1().constData(), "tcp");
    if (!entry)
        throw ESockException(QStringLiteral("Port Lookup - Could Not Find Service Entry"));
    return quint16(ntohs(quint16(entry->s_port)));
}

void TSock::setListen(bool on)
{
    if (!on) {
        if (server_) {
            Close();
            info(TSocketInfo::siListen, QStringLiteral("Listening Stopped"));
        }
        return;
    }
    if (server_) {
        info(TSocketInfo::siListen, QStringLiteral("Listening Already Running"));
        return;
    }
    if (socket_)
        throw ESockException(QStringLiteral("Listen - Socket Already Connected"));
    const quint16 port = resolvePort();
    auto *server = new QTcpServer(this);
    server->setListenBacklogSize(5);
    if (!server->listen(bindAddress_, port)) {
        delete server;
        throw ESockException(QStringLiteral("Listen - Error Binding Socket"));
    }
    server_ = server;
    connect(server_, &QTcpServer::newConnection, this, [this] { Q_EMIT OnAccept(this); });
    info(TSocketInfo::siListen, QStringLiteral("Listening Started"));
}

quint16 TSock::localPort() const
{
    if (server_)
        return server_->serverPort();
    return socket_ ? socket_->localPort() : 0;
}

QString TSock::peerAddress() const
{
    return socket_ ? socket_->peerAddress().toString() : QString();
}

void TSock::Open()
{
    if (server_)
        throw ESockException(QStringLiteral("Open - Socket Is Listening"));
    if (socket_)
        dropSocket(false);
    const quint16 port = resolvePort();
    const QString host = hostName_.trimmed();
    auto *socket = new QTcpSocket(this);
    adopt(socket);
    if (host.isEmpty()) {
        socket->connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    } else if (host.at(0).isDigit()) {
        const QHostAddress address(host);
        if (address.isNull()) {
            dropSocket(false);
            throw ESockException(QStringLiteral("Host Lookup - Could Not Find Host Entry"));
        }
        socket->connectToHost(address, port);
    } else {
        info(TSocketInfo::siLookup, QStringLiteral("Lookup Of Host ") + host);
        // Resolved without blocking; a name that does not resolve reports an Error notice.
        socket->connectToHost(host, port);
    }
}

TSock *TSock::Accept(QObject *parent)
{
    if (!server_)
        throw ESockException(QStringLiteral("Accept - Socket Not In Listening Mode"));
    QTcpSocket *socket = server_->nextPendingConnection();
    if (!socket || socket->state() != QAbstractSocket::ConnectedState) {
        delete socket;
        info(TSocketInfo::siAccept, QStringLiteral("Could Not Accept Connection"));
        return nullptr;
    }
    auto *sock = new TSock(parent);
    sock->portName_ = portName_;
    sock->hostName_ = socket->peerAddress().toString();
    sock->adopt(socket);
    sock->connected_ = true;
    info(TSocketInfo::siAccept, QStringLiteral("Created New TSock Structure"));
    return sock;
}

void TSock::adopt(QTcpSocket *socket)
{
    socket->setParent(this);
    socket_ = socket;
    socket->setReadBufferSize(maxReadBytes);
    // Messages are small and each is sent whole: without this, a second message
    // (CMD_goodword after CMD_addscore) waits for the peer's delayed acknowledgement.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::connected, this, [this] {
        if (socket_)
            socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        applyKeepAlive();
        connected_ = true;
        info(TSocketInfo::siConnect, QStringLiteral("Non-Blocking Socket Connected"));
        Q_EMIT OnConnect(this);
    });
    connect(socket, &QTcpSocket::readyRead, this, &TSock::readyRead);
    connect(socket, &QTcpSocket::bytesWritten, this, [this] {
        info(TSocketInfo::siSend, QStringLiteral("Non-Blocking Outgoing Data"));
        Q_EMIT OnWrite(this);
    });
    connect(socket, &QTcpSocket::disconnected, this, &TSock::peerClosed);
    connect(
        socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) { socketError(e); });
}

void TSock::setKeepAlive(const TcpKeepAlive &keepAlive)
{
    keepAlive_ = keepAlive;
    applyKeepAlive();
}

void TSock::applyKeepAlive()
{
    if (!keepAlive_ || !socket_ || socket_->socketDescriptor() < 0)
        return;
    const int fd = int(socket_->socketDescriptor());
    const int on = 1;
    const int idle = std::max(1, keepAlive_->idleSeconds);
    const int interval = std::max(1, keepAlive_->intervalSeconds);
    const int probes = std::max(1, keepAlive_->probes);
    const unsigned userTimeout = unsigned(std::max(0, keepAlive_->userTimeoutMs));
    // Best effort: a system that refuses one of these keeps its own defaults.
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &userTimeout, sizeof userTimeout);
}

void TSock::readyRead()
{
    if (!socket_)
        return;
    // One notification takes at most maxReadBytes, so one peer's flood comes in
    // bounded pieces between the other sockets' events.
    const QByteArray data = socket_->readAll();
    if (data.isEmpty())
        return;
    input_ += data;
    info(TSocketInfo::siReceive, QStringLiteral("Non-Blocking Incoming Data"));
    Q_EMIT OnRead(this, input_.size());
}

void TSock::socketError(int qtError)
{
    const auto e = QAbstractSocket::SocketError(qtError);
    // A reset or a close by the peer is reported by peerClosed() as a close.
    if (e == QAbstractSocket::RemoteHostClosedError)
        return;
    info(TSocketInfo::siError, errorText(wsaCode(e)));
    // A connection that fails once it was up is over: the socket reports
    // `disconnected`, and peerClosed() closes it like a normal close.
}

void TSock::peerClosed()
{
    if (!socket_ || !connected_)
        return;
    // Whatever arrived with the close still reaches the owner first.
    if (socket_->bytesAvailable() > 0) {
        input_ += socket_->readAll();
        info(TSocketInfo::siReceive, QStringLiteral("Non-Blocking Incoming Data"));
        Q_EMIT OnRead(this, input_.size());
    }
    Q_EMIT OnDisconnect(this);
    Close();
}

void TSock::Send(QByteArrayView bytes)
{
    if (server_)
        throw ESockException(QStringLiteral("Send - Cannot Send On A Listener Socket"));
    if (!socket_ || !connected_ || socket_->state() != QAbstractSocket::ConnectedState)
        throw ESockException(QStringLiteral("Send - Socket Not Connected"));
    if (bytes.isEmpty() && socket_->bytesToWrite() == 0)
        return;
    socket_->write(bytes.constData(), bytes.size());
    info(TSocketInfo::siSend, QStringLiteral("Non-Blocking Outgoing Data"));
    // Hands the system what it takes now, without waiting.
    if (socket_)
        socket_->flush();
}

QByteArray TSock::Receive()
{
    if (server_)
        throw ESockException(QStringLiteral("Receive - Cannot Receive On A Listener Socket"));
    if (!socket_ && input_.isEmpty())
        throw ESockException(QStringLiteral("Receive - Socket Not Connected"));
    return std::exchange(input_, QByteArray());
}

qint64 TSock::pendingOutput() const
{
    return socket_ ? socket_->bytesToWrite() : 0;
}

void TSock::dropSocket(bool graceful)
{
    QTcpSocket *socket = std::exchange(socket_, nullptr);
    connected_ = false;
    if (!socket)
        return;
    socket->disconnect(this);
    if (graceful && socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() > 0) {
        // Lets the rest of the output drain, for a while, without this socket.
        socket->setParent(QCoreApplication::instance());
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(lingerMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        socket->disconnectFromHost();
        return;
    }
    socket->abort();
    // We may be inside one of its signals.
    socket->deleteLater();
}

bool TSock::Close()
{
    if (server_) {
        QTcpServer *server = std::exchange(server_, nullptr);
        server->close();
        server->deleteLater();
        return true;
    }
    if (!socket_)
        return false;
    dropSocket(true);
    info(TSocketInfo::siClose, QStringLiteral("Socket Closed"));
    return true;
}

void TSock::info(TSocketInfo kind, const QString &text)
{
    Q_EMIT OnInfo(this, kind, text);
}

QString TSock::errorText(int code)
{
    const char *name = "UNKNOWN ERROR";
    for (const WsaName &w : wsaNames)
        if (w.code == code)
            name = w.name;
    return QStringLiteral("Error #") + QString::number(code) + QStringLiteral(" (") + QLatin1String(name)
        + QStringLiteral(")");
}
