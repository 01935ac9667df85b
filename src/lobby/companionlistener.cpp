#include "companionlistener.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace {

// Bytes taken from a connection at a time.
constexpr qint64 readPiece = 4096;

} // namespace

CompanionListener::CompanionListener(QObject *parent)
    : QObject(parent)
    , server_(new QTcpServer(this))
{
    connect(server_, &QTcpServer::newConnection, this, &CompanionListener::accept);
}

bool CompanionListener::listen(quint16 port)
{
    return server_->listen(QHostAddress::LocalHost, port);
}

quint16 CompanionListener::port() const
{
    return server_->serverPort();
}

QString CompanionListener::errorString() const
{
    return server_->errorString();
}

void CompanionListener::accept()
{
    while (QTcpSocket *socket = server_->nextPendingConnection()) {
        if (sockets_.size() >= maxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        sockets_.append(socket);
        readers_.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            // What came with the close is read before the close counts.
            read(socket);
            sockets_.removeOne(socket);
            readers_.remove(socket);
            socket->deleteLater();
            if (sockets_.isEmpty())
                Q_EMIT allClosed();
        });
        Q_EMIT gameConnected();
    }
}

void CompanionListener::read(QTcpSocket *socket)
{
    const auto reader = readers_.find(socket);
    if (reader == readers_.end())
        return;
    while (socket->bytesAvailable() > 0) {
        const QByteArray bytes = socket->read(readPiece);
        if (bytes.isEmpty())
            break;
        for (const CompanionWire::Message &message : reader->append(bytes))
            Q_EMIT endingHeard(message);
    }
}
