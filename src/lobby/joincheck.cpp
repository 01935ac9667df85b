#include "joincheck.h"

#include "gameaddress.h"
#include "wire.h"

#include <QHostInfo>
#include <QTcpSocket>

namespace {

// The host's first message starts with its command word; this many bytes tell.
constexpr int greetingBytes = 32;

} // namespace

JoinCheck::JoinCheck(quint16 gamePort, QObject *parent)
    : QObject(parent)
    , gamePort_(gamePort)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &JoinCheck::timedOut);
}

JoinCheck::~JoinCheck()
{
    cancel();
}

void JoinCheck::start(const QString &address)
{
    cancel();
    running_ = true;
    typed_ = address.trimmed();
    const GameAddress::Target target = GameAddress::parse(typed_, gamePort_);
    port_ = target.port;
    const QHostAddress numeric(target.host);
    if (!numeric.isNull()) {
        connectTo(numeric);
        return;
    }
    timer_.start(timing_.resolveMs);
    lookupId_ = QHostInfo::lookupHost(
        target.host, this, [this](const QHostInfo &info) { resolved(info.addresses(), info.errorString()); });
}

void JoinCheck::cancel()
{
    timer_.stop();
    if (lookupId_ >= 0)
        QHostInfo::abortHostLookup(lookupId_);
    lookupId_ = -1;
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
        socket_ = nullptr;
    }
    running_ = false;
}

void JoinCheck::resolved(const QList<QHostAddress> &addresses, const QString &)
{
    lookupId_ = -1;
    timer_.stop();
    // The game joins by IPv4 first, as the names of most home networks resolve.
    const auto v4 = std::find_if(addresses.begin(), addresses.end(),
        [](const QHostAddress &a) { return a.protocol() == QAbstractSocket::IPv4Protocol; });
    if (addresses.isEmpty()) {
        fail(Failure::NotFound,
            QStringLiteral("\u201c%1\u201d could not be found on the network.").arg(typed_));
        return;
    }
    connectTo(v4 != addresses.end() ? *v4 : addresses.first());
}

void JoinCheck::connectTo(const QHostAddress &address)
{
    address_ = address;
    greeting_.clear();
    socket_ = new QTcpSocket(this);
    socket_->setReadBufferSize(greetingBytes);
    connect(socket_, &QTcpSocket::connected, this, [this] { timer_.start(timing_.greetingMs); });
    connect(socket_, &QTcpSocket::readyRead, this, &JoinCheck::readGreeting);
    connect(socket_, &QTcpSocket::errorOccurred, this, &JoinCheck::socketError);
    timer_.start(timing_.connectMs);
    socket_->connectToHost(address, port_);
}

JoinCheck::Greeting JoinCheck::classify(const QByteArray &bytes)
{
    const bool whole = bytes.contains(Wire::terminator) || bytes.size() >= greetingBytes;
    const auto startsWith = [&bytes](QByteArrayView command) {
        return bytes.startsWith(command) && bytes.size() > command.size()
            && (bytes[command.size()] == '+' || bytes[command.size()] == Wire::terminator);
    };
    if (startsWith(Wire::Cmd::sendlogininfo))
        return Greeting::Host;
    if (startsWith(Wire::Cmd::full))
        return Greeting::Full;
    return whole ? Greeting::NotAGame : Greeting::Incomplete;
}

void JoinCheck::readGreeting()
{
    greeting_ += socket_->read(greetingBytes - greeting_.size());
    switch (classify(greeting_)) {
    case Greeting::Host:
        finish(true, GameAddress::format(address_.toString(), port_, gamePort_));
        break;
    case Greeting::Full:
        fail(Failure::Full, QStringLiteral("The game at %1 is full.").arg(typed_));
        break;
    case Greeting::NotAGame:
        fail(Failure::NotAGame, QStringLiteral("%1 answered, but not as a Wendlewick game.").arg(typed_));
        break;
    case Greeting::Incomplete:
        break;
    }
}

void JoinCheck::socketError()
{
    switch (socket_->error()) {
    case QAbstractSocket::ConnectionRefusedError:
        fail(Failure::Refused, QStringLiteral("Nobody is hosting a game at %1.").arg(typed_));
        break;
    case QAbstractSocket::RemoteHostClosedError:
        fail(Failure::NotAGame, QStringLiteral("%1 closed the connection without a word.").arg(typed_));
        break;
    default:
        fail(Failure::Unreachable,
            QStringLiteral("%1 cannot be reached: %2.").arg(typed_, socket_->errorString()));
        break;
    }
}

void JoinCheck::timedOut()
{
    if (!socket_)
        fail(Failure::NotFound, QStringLiteral("\u201c%1\u201d could not be found in time.").arg(typed_));
    else if (socket_->state() == QAbstractSocket::ConnectedState)
        fail(Failure::NotAGame, QStringLiteral("%1 answered, but not as a Wendlewick game.").arg(typed_));
    else
        fail(Failure::Silent, QStringLiteral("%1 did not answer.").arg(typed_));
}

void JoinCheck::fail(Failure failure, const QString &text)
{
    failure_ = failure;
    finish(false, text);
}

void JoinCheck::finish(bool ok, const QString &text)
{
    cancel();
    if (ok)
        Q_EMIT passed(text);
    else
        Q_EMIT failed(text);
}
