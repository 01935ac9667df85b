#include "companionlistener.h"

#include <QTcpServer>
#include <QTcpSocket>

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
        connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->skip(socket->bytesAvailable()); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            sockets_.removeOne(socket);
            socket->deleteLater();
            if (sockets_.isEmpty())
                Q_EMIT allClosed();
        });
        Q_EMIT gameConnected();
    }
}
