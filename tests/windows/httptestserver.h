#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A one-file HTTP server on 127.0.0.1 for the download tests, answering by hand.
// It can hold the body back and let it out in steps, so a test can look at the
// window in the middle of a transfer.
class HttpTestServer : public QObject
{
    Q_OBJECT

public:
    explicit HttpTestServer(QObject *parent = nullptr);

    // Listens on a free port of the loopback address.
    bool start();
    QUrl url(const QString &path) const;

    int status = 200;
    QByteArray reason = "OK";
    QByteArray body;
    // Announce the body's length; without it the body ends when the connection closes.
    bool sendLength = true;
    // Body bytes sent with the headers; the rest waits for release(). -1 sends all.
    qsizetype sendAtOnce = -1;

    // Sends the body up to byte `upTo` (the whole body when -1); the connection is
    // closed once the whole body is out.
    void release(qsizetype upTo = -1);

    // The request's head (request line and header lines) as received.
    QByteArray requestHead() const { return head_; }
    QByteArray requestHeader(const QByteArray &name) const;

Q_SIGNALS:
    void requestReceived();

private:
    void readRequest();
    void sendBodyUpTo(qsizetype upTo);

    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray incoming_;
    QByteArray head_;
    qsizetype sent_ = 0;
};
