#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <memory>

class QUdpSocket;
struct stun_agent_t;

// Asks a STUN server (RFC 5389 Binding) which address this computer's UDP packets come
// from: that is the address the internet sees. The request is sent up to four times
// (0.5, 1, 2 s apart); the messages are made and checked by libnice's STUN code.
class StunProbe : public QObject
{
    Q_OBJECT

public:
    explicit StunProbe(QObject *parent = nullptr);
    ~StunProbe() override;

    void start(const QString &host, quint16 port);
    void cancel();

Q_SIGNALS:
    void found(const QHostAddress &address);
    void failed(const QString &reason);

private:
    void resolved(const QList<QHostAddress> &addresses);
    void sendRequest();
    void readReplies();
    void finish(const QHostAddress &address, const QString &reason);

    QString host_;
    quint16 port_ = 0;
    QHostAddress server_;
    int lookupId_ = -1;
    QUdpSocket *socket_ = nullptr;
    QTimer timer_;
    int attempts_ = 0;
    QByteArray request_;
    std::unique_ptr<stun_agent_t> agent_;
};
