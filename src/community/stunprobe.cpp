#include "stunprobe.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>

extern "C" {
#include <stun/stunagent.h>
#include <stun/usages/bind.h>
}

#include <sys/socket.h>

namespace {

constexpr int maxAttempts = 4;
constexpr int firstWaitMs = 500;
// Longer answers are no Binding response of ours.
constexpr qint64 maxReplyBytes = 1024;

const uint16_t knownAttributes[] = {STUN_ATTRIBUTE_MAPPED_ADDRESS, STUN_ATTRIBUTE_XOR_MAPPED_ADDRESS,
    STUN_ATTRIBUTE_SOFTWARE, STUN_ATTRIBUTE_FINGERPRINT, STUN_ATTRIBUTE_ERROR_CODE, 0};

} // namespace

StunProbe::StunProbe(QObject *parent)
    : QObject(parent)
    , agent_(std::make_unique<StunAgent>())
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &StunProbe::sendRequest);
}

StunProbe::~StunProbe()
{
    cancel();
}

void StunProbe::start(const QString &host, quint16 port)
{
    cancel();
    host_ = host;
    port_ = port;
    const QHostAddress numeric(host);
    if (!numeric.isNull()) {
        resolved({numeric});
        return;
    }
    lookupId_ = QHostInfo::lookupHost(host, this, [this](const QHostInfo &info) {
        lookupId_ = -1;
        resolved(info.addresses());
    });
}

void StunProbe::cancel()
{
    timer_.stop();
    if (lookupId_ >= 0)
        QHostInfo::abortHostLookup(lookupId_);
    lookupId_ = -1;
    if (socket_) {
        socket_->disconnect(this);
        socket_->deleteLater();
        socket_ = nullptr;
    }
}

void StunProbe::resolved(const QList<QHostAddress> &addresses)
{
    // The internet address of interest is IPv4 first, as most home routers give.
    const auto v4 = std::find_if(addresses.begin(), addresses.end(),
        [](const QHostAddress &a) { return a.protocol() == QAbstractSocket::IPv4Protocol; });
    if (addresses.isEmpty()) {
        finish({}, QStringLiteral("the STUN server %1 could not be found").arg(host_));
        return;
    }
    server_ = v4 != addresses.end() ? *v4 : addresses.first();
    socket_ = new QUdpSocket(this);
    const bool bound = socket_->bind(
        server_.protocol() == QAbstractSocket::IPv4Protocol ? QHostAddress::AnyIPv4 : QHostAddress::AnyIPv6,
        0);
    if (!bound) {
        finish({}, QStringLiteral("no UDP socket could be opened: %1").arg(socket_->errorString()));
        return;
    }
    socket_->setReadBufferSize(64 * 1024);
    connect(socket_, &QUdpSocket::readyRead, this, &StunProbe::readReplies);

    stun_agent_init(agent_.get(), knownAttributes, STUN_COMPATIBILITY_RFC5389,
        StunAgentUsageFlags(STUN_AGENT_USAGE_USE_FINGERPRINT));
    StunMessage message;
    uint8_t buffer[STUN_MAX_MESSAGE_SIZE_IPV4];
    const size_t length = stun_usage_bind_create(agent_.get(), &message, buffer, sizeof buffer);
    if (length == 0) {
        finish({}, QStringLiteral("no STUN request could be made"));
        return;
    }
    request_ = QByteArray(reinterpret_cast<const char *>(buffer), qsizetype(length));
    attempts_ = 0;
    sendRequest();
}

void StunProbe::sendRequest()
{
    if (!socket_)
        return;
    if (attempts_ == maxAttempts) {
        finish({}, QStringLiteral("the STUN server %1 did not answer").arg(host_));
        return;
    }
    socket_->writeDatagram(request_, server_, port_);
    timer_.start(firstWaitMs << attempts_);
    ++attempts_;
}

void StunProbe::readReplies()
{
    while (socket_ && socket_->hasPendingDatagrams()) {
        if (socket_->pendingDatagramSize() > maxReplyBytes) {
            socket_->receiveDatagram(0);
            continue;
        }
        const QNetworkDatagram datagram = socket_->receiveDatagram(maxReplyBytes);
        const QByteArray bytes = datagram.data();
        StunMessage message;
        if (stun_agent_validate(agent_.get(), &message, reinterpret_cast<const uint8_t *>(bytes.constData()),
                size_t(bytes.size()), nullptr, nullptr)
            != STUN_VALIDATION_SUCCESS)
            continue;
        sockaddr_storage mapped {};
        socklen_t mappedLength = sizeof mapped;
        sockaddr_storage alternate {};
        socklen_t alternateLength = sizeof alternate;
        const StunUsageBindReturn result
            = stun_usage_bind_process(&message, reinterpret_cast<sockaddr *>(&mapped), &mappedLength,
                reinterpret_cast<sockaddr *>(&alternate), &alternateLength);
        if (result == STUN_USAGE_BIND_RETURN_SUCCESS) {
            QHostAddress address(reinterpret_cast<const sockaddr *>(&mapped));
            address.setScopeId(QString());
            finish(address, {});
            return;
        }
        if (result == STUN_USAGE_BIND_RETURN_ERROR || result == STUN_USAGE_BIND_RETURN_ALTERNATE_SERVER) {
            finish({}, QStringLiteral("the STUN server %1 refused to answer").arg(host_));
            return;
        }
    }
}

void StunProbe::finish(const QHostAddress &address, const QString &reason)
{
    cancel();
    if (address.isNull())
        Q_EMIT failed(reason);
    else
        Q_EMIT found(address);
}
