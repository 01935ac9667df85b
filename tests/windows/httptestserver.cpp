#include "httptestserver.h"

#include <QTcpSocket>

HttpTestServer::HttpTestServer(QObject *parent)
    : QObject(parent)
{
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = server_.nextPendingConnection()) {
            if (client_) {
                socket->close();
                socket->deleteLater();
                continue;
            }
            client_ = socket;
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, &HttpTestServer::readRequest);
        }
    });
}

bool HttpTestServer::start()
{
    return server_.listen(QHostAddress::LocalHost, 0);
}

QUrl HttpTestServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
}

QByteArray HttpTestServer::requestHeader(const QByteArray &name) const
{
    for (const QByteArray &line : head_.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

void HttpTestServer::readRequest()
{
    if (!client_ || !head_.isEmpty())
        return;
    incoming_ += client_->readAll();
    const qsizetype end = incoming_.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    head_ = incoming_.left(end);

    QByteArray response = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
    response += "Content-Type: application/octet-stream\r\n";
    if (sendLength)
        response += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    response += "Connection: close\r\n\r\n";
    client_->write(response);
    Q_EMIT requestReceived();
    sendBodyUpTo(sendAtOnce);
}

void HttpTestServer::release(qsizetype upTo)
{
    sendBodyUpTo(upTo);
}

void HttpTestServer::sendBodyUpTo(qsizetype upTo)
{
    if (!client_)
        return;
    const qsizetype end = upTo < 0 ? body.size() : std::min(upTo, body.size());
    if (end > sent_) {
        client_->write(body.mid(sent_, end - sent_));
        sent_ = end;
    }
    if (sent_ == body.size())
        client_->disconnectFromHost();
}
