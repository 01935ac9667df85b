#include "icebridge.h"

#include <QCoreApplication>
#include <QTcpSocket>

namespace {

// How long a stream that carried a close frame is kept, so that the frame gets there.
constexpr int lingerMs = 1500;

} // namespace

IceBridge::IceBridge(IceAgent *agent, QTcpSocket *socket, const Timing &timing, QObject *parent)
    : QObject(parent)
    , agent_(agent)
    , timing_(timing)
{
    agent_->setParent(this);
    connect(agent_, &IceAgent::received, this, &IceBridge::received);
    connect(agent_, &IceAgent::writable, this, &IceBridge::pump);
    connect(agent_, &IceAgent::failed, this, [this] { finish(End::Broken, false); });
    silenceTimer_.setSingleShot(true);
    connect(&silenceTimer_, &QTimer::timeout, this, [this] { finish(End::Silent, false); });
    connect(&aliveTimer_, &QTimer::timeout, this, [this] {
        if (sinceSent_.elapsed() >= timing_.aliveMs && outgoing_.isEmpty())
            sendFrames(TunnelCodec::alive());
    });
    sinceSent_.start();
    aliveTimer_.start(std::max(50, timing_.aliveMs / 2));
    silenceTimer_.start(timing_.silenceMs);
    if (socket)
        attach(socket);
}

QString IceBridge::endName(End end)
{
    switch (end) {
    case End::GameClosed:
        return QStringLiteral("the game here closed it");
    case End::PeerClosed:
        return QStringLiteral("the other side closed it");
    case End::Silent:
        return QStringLiteral("nothing arrived any more");
    case End::Broken:
        return QStringLiteral("the way broke");
    case End::GameNotReading:
        return QStringLiteral("the game here did not read");
    case End::TooEarly:
        return QStringLiteral("too much arrived before the game");
    }
    return {};
}

IceBridge::~IceBridge()
{
    if (socket_)
        socket_->disconnect(this);
}

void IceBridge::attach(QTcpSocket *socket)
{
    if (socket_ || !open_) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket_ = socket;
    socket->setParent(this);
    // Qt stops reading the socket when this much waits, and the game's connection fills.
    socket->setReadBufferSize(readChunkBytes * 4);
    connect(socket, &QTcpSocket::readyRead, this, &IceBridge::readGame);
    connect(socket, &QTcpSocket::disconnected, this, [this] { finish(End::GameClosed, true); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this] { finish(End::GameClosed, true); });
    if (!early_.isEmpty())
        socket->write(std::exchange(early_, {}));
    readGame();
}

void IceBridge::close()
{
    finish(End::GameClosed, true);
}

void IceBridge::closeAfterReading()
{
    // Without waiting: whatever is there is read, and a close seen ends the bridge.
    if (open_ && socket_ && socket_->isValid() && socket_->state() == QAbstractSocket::ConnectedState)
        socket_->waitForReadyRead(0);
    close();
}

void IceBridge::readGame()
{
    // Reads only while the stream takes everything: otherwise the socket waits.
    while (open_ && socket_ && outgoing_.isEmpty() && socket_->bytesAvailable() > 0) {
        const QByteArray bytes = socket_->read(readChunkBytes);
        toPeer_ += bytes.size();
        sendFrames(TunnelCodec::data(bytes));
    }
}

void IceBridge::sendFrames(const QByteArray &frames)
{
    outgoing_ += frames;
    while (agent_ && !outgoing_.isEmpty()) {
        const qint64 taken = agent_->send(outgoing_);
        if (taken <= 0)
            break;
        outgoing_.remove(0, taken);
        sinceSent_.restart();
    }
}

void IceBridge::pump()
{
    sendFrames({});
    readGame();
}

void IceBridge::received(const QByteArray &bytes)
{
    if (!open_)
        return;
    silenceTimer_.start(timing_.silenceMs);
    QList<TunnelCodec::Frame> frames;
    const bool ok = reader_.feed(bytes, frames);
    for (const TunnelCodec::Frame &frame : std::as_const(frames)) {
        if (!open_)
            return;
        switch (frame.kind) {
        case TunnelCodec::Kind::Data:
            fromPeer_ += frame.body.size();
            if (socket_) {
                socket_->write(frame.body);
                // Into the system at once: what waits in the socket is what the game left unread.
                socket_->flush();
                if (socket_->bytesToWrite() > maxUnsentBytes)
                    finish(End::GameNotReading, true);
            } else {
                early_ += frame.body;
                if (early_.size() > maxEarlyBytes)
                    finish(End::TooEarly, true);
                else
                    Q_EMIT earlyBytes();
            }
            break;
        case TunnelCodec::Kind::Alive:
            break;
        case TunnelCodec::Kind::Close:
            finish(End::PeerClosed, false);
            return;
        }
    }
    if (!ok)
        finish(End::Broken, false);
}

void IceBridge::finish(End end, bool tellPeer)
{
    if (!open_)
        return;
    open_ = false;
    aliveTimer_.stop();
    silenceTimer_.stop();
    if (tellPeer) {
        // What the game sent before it closed goes first, however full the stream is.
        while (socket_ && end == End::GameClosed && socket_->bytesAvailable() > 0) {
            const QByteArray bytes = socket_->read(readChunkBytes);
            toPeer_ += bytes.size();
            outgoing_ += TunnelCodec::data(bytes);
        }
        sendFrames(TunnelCodec::close());
    }
    // The stream lives on a little on its own, so that the close frame gets there and a
    // relay's allocation is given back; the application takes it along if it ends first.
    if (IceAgent *agent = agent_.data()) {
        agent->disconnect(this);
        agent->setParent(QCoreApplication::instance());
        if (!outgoing_.isEmpty())
            connect(
                agent, &IceAgent::writable, agent, [agent, rest = std::exchange(outgoing_, {})]() mutable {
                    while (!rest.isEmpty()) {
                        const qint64 taken = agent->send(rest);
                        if (taken <= 0)
                            return;
                        rest.remove(0, taken);
                    }
                });
        QTimer::singleShot(tellPeer ? lingerMs : 0, agent, &QObject::deleteLater);
    }
    if (socket_) {
        socket_->disconnect(this);
        if (end == End::GameNotReading)
            socket_->abort();
        else
            socket_->disconnectFromHost();
    }
    Q_EMIT closed(end);
}
