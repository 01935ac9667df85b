#include "hostconnection.h"

HostConnection::HostConnection(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("hostconnection"));
    sock_ = new TSock(this);
    sock_->setObjectName(QStringLiteral("sock"));
    sock_->setKeepAlive(TcpKeepAlive {});
    Sock11 = new TSock(this);
    Sock11->setObjectName(QStringLiteral("Sock11"));
    connect(sock_, &TSock::OnRead, this, &HostConnection::sockRead);
    connect(sock_, &TSock::OnInfo, this, &HostConnection::sockInfo);
    connect(sock_, &TSock::OnConnect, this, [this] { Q_EMIT opened(); });
    // Nothing is read from the lobby; whatever it sends is dropped, never kept.
    connect(Sock11, &TSock::OnRead, this, [](TSock *sender) { sender->Receive(); });

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(dispatchIntervalMs);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &HostConnection::Timer1Timer);
}

HostConnection::~HostConnection()
{
    // No report from a window that is going away.
    sock_->disconnect(this);
}

void HostConnection::setInputLimits(const InputBuffer::Limits &limits)
{
    receivedlist = InputBuffer(limits);
}

void HostConnection::open(const QString &hostaddress)
{
    sock_->setHostName(hostaddress);
    sock_->setPortName(QString::number(port_));
    try {
        sock_->Open();
    } catch (const ESockException &) {
        // Not a usable address: like a host that never answers, nothing connects.
    }
}

void HostConnection::setAddress(const QString &hostaddress)
{
    sock_->setHostName(hostaddress);
    sock_->setPortName(QString::number(port_));
}

void HostConnection::reopen()
{
    abort();
    try {
        sock_->Open();
    } catch (const ESockException &) {
        Q_EMIT openFailed();
    }
}

void HostConnection::abort()
{
    {
        // The old connection's end is no news.
        const QSignalBlocker quiet(sock_);
        sock_->Close();
    }
    Timer1.stop();
    receivedlist = InputBuffer(receivedlist.limits());
    closePending_ = false;
    closeReported_ = false;
    failed_ = false;
    overflowed_ = false;
}

void HostConnection::fail()
{
    if (!sock_->connected())
        return;
    failed_ = true;
    sock_->Close();
}

void HostConnection::openCompanion()
{
    Sock11->setHostName(QStringLiteral("127.0.0.1"));
    Sock11->setPortName(QString::number(companionPort_));
    try {
        Sock11->Open();
    } catch (const ESockException &) { }
}

bool HostConnection::send(const QByteArray &message)
{
    if (!sock_->connected())
        return false;
    try {
        sock_->Send(message);
    } catch (const ESockException &) {
        return false;
    }
    return true;
}

void HostConnection::tellCompanion(const QByteArray &line)
{
    if (!Sock11->connected())
        return;
    try {
        Sock11->Send(line);
    } catch (const ESockException &) { }
}

bool HostConnection::isConnected() const
{
    return sock_->connected();
}

void HostConnection::sockRead(TSock *sender)
{
    if (!receivedlist.append(sender->Receive())) {
        // A host that floods the queue is not one to play with.
        failed_ = true;
        overflowed_ = true;
        sender->Close();
        return;
    }
    if (receivedlist.hasMessage() && !Timer1.isActive())
        Timer1.start();
}

void HostConnection::sockInfo(TSock *sender, TSocketInfo kind, const QString &text)
{
    if (kind == TSocketInfo::siError && sender->connected())
        failed_ = true;
    else if (kind == TSocketInfo::siError)
        Q_EMIT openFailed();
    if (text != QLatin1StringView("Socket Closed"))
        return;
    closePending_ = true;
    reportClosedWhenDrained();
}

void HostConnection::Timer1Timer()
{
    if (receivedlist.hasMessage())
        Q_EMIT messageReceived(receivedlist.takeMessage());
    if (!receivedlist.hasMessage()) {
        Timer1.stop();
        reportClosedWhenDrained();
    }
}

void HostConnection::reportClosedWhenDrained()
{
    if (!closePending_ || closeReported_ || receivedlist.hasMessage())
        return;
    closeReported_ = true;
    Q_EMIT closed();
}
