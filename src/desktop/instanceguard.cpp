#include "instanceguard.h"

#include "programfolders.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

namespace {

const QByteArray raiseRequest = QByteArrayLiteral("raise\n");
const QByteArray openRequest = QByteArrayLiteral("open ");
constexpr int requestMaxBytes = 16 + InstanceGuard::maxArgumentBytes;
constexpr int handoverTimeoutMs = 1000;
constexpr int idleRequestTimeoutMs = 2000;

} // namespace

InstanceGuard::InstanceGuard(const QString &name, const QString &folder, QObject *parent)
    : QObject(parent)
    , name_(name)
    , folder_(folder.isEmpty() ? defaultFolder() : folder)
{ }

InstanceGuard::~InstanceGuard()
{
    if (server_)
        server_->close();
}

QString InstanceGuard::defaultFolder()
{
    const QString overridden = qEnvironmentVariable(ProgramFolders::dataFolderVariable);
    if (!overridden.isEmpty())
        return overridden;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return runtime;
}

QString InstanceGuard::serverPath() const
{
    return QDir(folder_).filePath(name_);
}

bool InstanceGuard::tryToRun(const QString &argument)
{
    if (holding_)
        return true;
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(serverPath() + QStringLiteral(".lock"));
    // Held for the whole run: only a dead owner makes the lock stale, never its age.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        holding_ = true;
        acceptRequests();
        return true;
    }
    if (lock_->error() != QLockFile::LockFailedError) {
        lock_.reset();
        return true;
    }
    lock_.reset();
    askFirstCopyToRaise(argument);
    return false;
}

void InstanceGuard::acceptRequests()
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(4);
    // Holding the lock makes any socket file still there a leftover of a crash.
    QLocalServer::removeServer(serverPath());
    if (!server_->listen(serverPath())) {
        qWarning("Cannot listen on %s: %s", qPrintable(serverPath()), qPrintable(server_->errorString()));
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server_->nextPendingConnection()) {
            socket->setReadBufferSize(requestMaxBytes);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QTimer::singleShot(idleRequestTimeoutMs, socket, [socket] { socket->abort(); });
            if (socket->bytesAvailable() > 0)
                readRequest(socket);
        }
    });
}

void InstanceGuard::readRequest(QLocalSocket *socket)
{
    QByteArray request = socket->property("request").toByteArray();
    request += socket->read(requestMaxBytes - request.size());
    const qsizetype end = request.indexOf('\n');
    if (end < 0 && request.size() < requestMaxBytes) {
        socket->setProperty("request", request);
        return;
    }
    if (request.startsWith(raiseRequest)) {
        Q_EMIT raiseRequested();
    } else if (end > 0 && request.startsWith(openRequest)) {
        Q_EMIT raiseRequested();
        Q_EMIT argumentReceived(QString::fromUtf8(request.mid(openRequest.size(), end - openRequest.size())));
    }
    socket->abort();
    socket->deleteLater();
}

void InstanceGuard::askFirstCopyToRaise(const QString &argument)
{
    const QByteArray bytes = argument.toUtf8();
    const bool handOver = !bytes.isEmpty() && bytes.size() <= maxArgumentBytes && !bytes.contains('\n');
    // Runs once, before this copy has any window or event loop of its own: the
    // waits are bounded and a local socket answers at once.
    QLocalSocket socket;
    socket.connectToServer(serverPath());
    if (!socket.waitForConnected(handoverTimeoutMs))
        return;
    socket.write(handOver ? openRequest + bytes + '\n' : raiseRequest);
    socket.waitForBytesWritten(handoverTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(handoverTimeoutMs);
}
