#include "xmpptransport.h"

#include "xmpptls.h"

#include <QDnsLookup>
#include <QSslConfiguration>
#include <QSslSocket>

#include <algorithm>

XmppTransport::XmppTransport(gloox::ConnectionDataHandler *handler, const Setup &setup)
    : gloox::ConnectionBase(handler)
    , setup_(setup)
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
        timedOut_ = true;
        failed(gloox::ConnIoError);
    });
}

XmppTransport::~XmppTransport()
{
    dropSocket();
}

gloox::ConnectionError XmppTransport::connect()
{
    if (m_state != gloox::StateDisconnected)
        return gloox::ConnNoError;
    m_state = gloox::StateConnecting;
    tooLarge_ = false;
    timedOut_ = false;
    sinceStanza_ = 0;
    certificateProblem_.clear();
    targets_.clear();
    timer_.start(setup_.connectTimeoutMs);
    if (setup_.port != 0) {
        targets_.append({setup_.host, setup_.port});
        tryNext();
        return gloox::ConnNoError;
    }
    delete lookup_;
    lookup_ = new QDnsLookup(QDnsLookup::SRV, QStringLiteral("_xmpp-client._tcp.") + setup_.host, this);
    QObject::connect(lookup_, &QDnsLookup::finished, this, &XmppTransport::lookedUp);
    lookup_->lookup();
    return gloox::ConnNoError;
}

void XmppTransport::lookedUp()
{
    QList<QDnsServiceRecord> records
        = lookup_->error() == QDnsLookup::NoError ? lookup_->serviceRecords() : QList<QDnsServiceRecord>();
    lookup_->deleteLater();
    lookup_ = nullptr;
    // Lowest priority first, then the heaviest; a few are enough to try.
    std::stable_sort(
        records.begin(), records.end(), [](const QDnsServiceRecord &a, const QDnsServiceRecord &b) {
            return a.priority() != b.priority() ? a.priority() < b.priority() : a.weight() > b.weight();
        });
    for (const QDnsServiceRecord &record : records.mid(0, 4))
        if (record.target() != QLatin1String(".") && record.port() != 0)
            targets_.append({record.target(), record.port()});
    // A record "." says the service is not offered there; otherwise the name itself.
    if (records.isEmpty())
        targets_.append({setup_.host, defaultPort});
    if (targets_.isEmpty()) {
        failed(gloox::ConnDnsError);
        return;
    }
    tryNext();
}

void XmppTransport::tryNext()
{
    dropSocket();
    if (targets_.isEmpty()) {
        failed(lastError_);
        return;
    }
    const Target target = targets_.takeFirst();
    socket_ = new QSslSocket(this);
    QSslConfiguration tls = socket_->sslConfiguration();
    if (!setup_.authorities.isEmpty())
        tls.setCaCertificates(setup_.authorities);
    tls.setProtocol(QSsl::TlsV1_2OrLater);
    socket_->setSslConfiguration(tls);
    socket_->setPeerVerifyName(setup_.domain);
    socket_->setPeerVerifyMode(QSslSocket::VerifyPeer);
    QObject::connect(socket_, &QSslSocket::connected, this, &XmppTransport::connected);
    QObject::connect(socket_, &QSslSocket::readyRead, this, &XmppTransport::readBytes);
    QObject::connect(socket_, &QSslSocket::sslErrors, this, &XmppTransport::sslErrors);
    QObject::connect(socket_, &QSslSocket::encrypted, this, [this] {
        if (tls_)
            tls_->handshakeDone(true);
    });
    QObject::connect(socket_, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        const bool wasConnected = m_state == gloox::StateConnected;
        switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            lastError_ = gloox::ConnConnectionRefused;
            break;
        case QAbstractSocket::HostNotFoundError:
            lastError_ = gloox::ConnDnsError;
            break;
        case QAbstractSocket::RemoteHostClosedError:
            lastError_ = gloox::ConnStreamClosed;
            break;
        case QAbstractSocket::SslHandshakeFailedError:
            lastError_ = gloox::ConnTlsFailed;
            break;
        default:
            lastError_ = gloox::ConnIoError;
            break;
        }
        if (wasConnected)
            failed(lastError_);
        else
            tryNext();
    });
    socket_->connectToHost(target.host, target.port);
}

void XmppTransport::connected()
{
    // Signing in has as long again, until signInDone().
    timer_.start(setup_.connectTimeoutMs);
    targets_.clear();
    peer_ = socket_->peerAddress();
    m_state = gloox::StateConnected;
    if (m_handler)
        m_handler->handleConnect(this);
}

void XmppTransport::readBytes()
{
    // The handler may close the connection (and with it this socket) while it reads.
    while (socket_ && m_state == gloox::StateConnected && socket_->bytesAvailable() > 0) {
        const QByteArray bytes = socket_->read(64 * 1024);
        in_ += long(bytes.size());
        sinceStanza_ += bytes.size();
        if (sinceStanza_ > maxStanzaBytes) {
            tooLarge_ = true;
            failed(gloox::ConnIoError);
            return;
        }
        if (m_handler)
            m_handler->handleReceivedData(this, std::string(bytes.constData(), size_t(bytes.size())));
    }
}

bool XmppTransport::send(const std::string &data)
{
    if (!socket_ || m_state != gloox::StateConnected)
        return false;
    if (socket_->bytesToWrite() + qint64(data.size()) > maxUnsentBytes) {
        tooLarge_ = true;
        // Not from inside the library's send: it goes on using this connection.
        QMetaObject::invokeMethod(
            this, [this] { failed(gloox::ConnIoError); }, Qt::QueuedConnection);
        return false;
    }
    out_ += long(data.size());
    socket_->write(data.data(), qint64(data.size()));
    return true;
}

gloox::ConnectionError XmppTransport::recv(int)
{
    return m_state == gloox::StateConnected ? gloox::ConnNoError : gloox::ConnNotConnected;
}

gloox::ConnectionError XmppTransport::receive()
{
    return recv();
}

void XmppTransport::disconnect()
{
    timer_.stop();
    targets_.clear();
    if (lookup_) {
        lookup_->abort();
        lookup_->deleteLater();
        lookup_ = nullptr;
    }
    if (socket_) {
        // What was written (the stream's end) still goes out.
        socket_->disconnect(this);
        socket_->disconnectFromHost();
        QObject::connect(socket_, &QTcpSocket::disconnected, socket_, &QObject::deleteLater);
        QTimer::singleShot(2000, socket_, &QObject::deleteLater);
        socket_ = nullptr;
    }
    m_state = gloox::StateDisconnected;
}

void XmppTransport::cleanup()
{
    if (m_state != gloox::StateDisconnected)
        disconnect();
}

void XmppTransport::getStatistics(long int &totalIn, long int &totalOut)
{
    totalIn = in_;
    totalOut = out_;
}

gloox::ConnectionBase *XmppTransport::newInstance() const
{
    return new XmppTransport(m_handler, setup_);
}

void XmppTransport::startEncryption(XmppTls *tls)
{
    tls_ = tls;
    if (socket_ && m_state == gloox::StateConnected)
        socket_->startClientEncryption();
}

void XmppTransport::sslErrors(const QList<QSslError> &errors)
{
    // Never ignored: the handshake fails and the socket reports it.
    const QSslError::SslError first = errors.isEmpty() ? QSslError::UnspecifiedError : errors.first().error();
    switch (first) {
    case QSslError::HostNameMismatch:
        certificateProblem_ = QStringLiteral("was made for another name");
        break;
    case QSslError::CertificateExpired:
        certificateProblem_ = QStringLiteral("has expired");
        break;
    case QSslError::CertificateNotYetValid:
        certificateProblem_ = QStringLiteral("is not valid yet");
        break;
    case QSslError::CertificateRevoked:
        certificateProblem_ = QStringLiteral("was revoked");
        break;
    default:
        certificateProblem_ = QStringLiteral("is not signed by an authority this computer trusts");
        break;
    }
}

void XmppTransport::failed(gloox::ConnectionError reason)
{
    if (m_state == gloox::StateDisconnected)
        return;
    dropSocket();
    timer_.stop();
    targets_.clear();
    m_state = gloox::StateDisconnected;
    if (m_handler)
        m_handler->handleDisconnect(this, reason);
}

void XmppTransport::dropSocket()
{
    if (!socket_)
        return;
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
}
