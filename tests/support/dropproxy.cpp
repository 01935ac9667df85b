#include "dropproxy.h"

#include <QTcpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace {

void resetSocket(QTcpSocket *socket)
{
    if (socket->socketDescriptor() >= 0) {
        const linger hard {1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    socket->abort();
}

} // namespace

struct DropProxy::Pair
{
    QTcpSocket *near = nullptr; // the connection made to the relay
    QTcpSocket *far = nullptr; // the relay's own connection to the target
    QByteArray early; // what arrived before the far end was up
};

DropProxy::DropProxy(QObject *parent)
    : QObject(parent)
{
    connect(&server_, &QTcpServer::newConnection, this, &DropProxy::accept);
}

DropProxy::~DropProxy()
{
    resume();
    cut();
}

bool DropProxy::start(quint16 targetPort)
{
    target_ = targetPort;
    if (!server_.listen(QHostAddress::LocalHost, 0))
        return false;
    port_ = server_.serverPort();
    return true;
}

void DropProxy::accept()
{
    while (QTcpSocket *near = server_.nextPendingConnection()) {
        if (blackholed_) {
            near->setParent(this);
            held_.append(near);
            continue;
        }
        auto *pair = new Pair;
        pair->near = near;
        pair->far = new QTcpSocket(this);
        near->setParent(this);
        pairs_.append(pair);
        QTcpSocket *far = pair->far;
        connect(near, &QTcpSocket::readyRead, this, [this, pair] {
            if (blackholed_)
                return;
            const QByteArray bytes = pair->near->readAll();
            if (pair->far->state() == QAbstractSocket::ConnectedState)
                pair->far->write(bytes);
            else
                pair->early += bytes;
        });
        connect(far, &QTcpSocket::connected, this, [pair] {
            pair->far->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            pair->far->write(std::exchange(pair->early, QByteArray()));
        });
        connect(far, &QTcpSocket::readyRead, this, [this, pair] {
            if (!blackholed_)
                pair->near->write(pair->far->readAll());
        });
        // A close at either end closes the other, after what it carried.
        connect(near, &QTcpSocket::disconnected, this, [this, pair] {
            if (blackholed_)
                return;
            pair->far->write(pair->near->readAll());
            pair->far->disconnectFromHost();
            drop(pair);
        });
        connect(far, &QTcpSocket::disconnected, this, [this, pair] {
            if (blackholed_)
                return;
            pair->near->write(pair->far->readAll());
            pair->near->disconnectFromHost();
            drop(pair);
        });
        connect(far, &QTcpSocket::errorOccurred, this, [this, pair](QAbstractSocket::SocketError e) {
            if (e == QAbstractSocket::ConnectionRefusedError) {
                resetSocket(pair->near);
                drop(pair);
            }
        });
        near->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        far->connectToHost(QHostAddress::LocalHost, target_);
        Q_EMIT connectionsChanged();
    }
}

void DropProxy::drop(Pair *pair)
{
    if (!pairs_.removeOne(pair))
        return;
    pair->near->disconnect(this);
    pair->far->disconnect(this);
    pair->near->deleteLater();
    pair->far->deleteLater();
    delete pair;
    Q_EMIT connectionsChanged();
}

void DropProxy::cut()
{
    const QList<Pair *> pairs = pairs_;
    for (Pair *pair : pairs) {
        pair->near->disconnect(this);
        pair->far->disconnect(this);
        resetSocket(pair->near);
        resetSocket(pair->far);
        drop(pair);
    }
}

void DropProxy::pause()
{
    server_.close();
    cut();
}

bool DropProxy::dropNewConnections()
{
    pause();
    // A listening queue of one, filled at once: the system drops the SYNs that follow.
    silentListener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(silentListener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(silentListener_, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::listen(silentListener_, 0) != 0)
        return false;
    filler_ = new QTcpSocket(this);
    filler_->connectToHost(QHostAddress::LocalHost, port_);
    return filler_->waitForConnected(5000);
}

void DropProxy::blackhole()
{
    blackholed_ = true;
}

bool DropProxy::resume()
{
    if (std::exchange(blackholed_, false)) {
        cut();
        for (QTcpSocket *socket : std::exchange(held_, {})) {
            resetSocket(socket);
            socket->deleteLater();
        }
    }
    if (filler_) {
        resetSocket(filler_);
        std::exchange(filler_, nullptr)->deleteLater();
    }
    if (silentListener_ >= 0)
        ::close(std::exchange(silentListener_, -1));
    return server_.isListening() || server_.listen(QHostAddress::LocalHost, port_);
}
