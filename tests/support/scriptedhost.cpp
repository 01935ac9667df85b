#include "scriptedhost.h"

#include <QSignalSpy>

#include <unistd.h>

ScriptedHost::ScriptedHost(QObject *parent)
    : QTcpServer(parent)
{ }

bool ScriptedHost::start()
{
    return listen(QHostAddress::LocalHost, 0);
}

bool ScriptedHost::waitForPlayer(int timeoutMs)
{
    if (taken_)
        return true;
    QSignalSpy arrived(this, &ScriptedHost::playerConnected);
    return arrived.wait(timeoutMs) || taken_;
}

void ScriptedHost::incomingConnection(qintptr descriptor)
{
    if (taken_) {
        ::close(int(descriptor));
        return;
    }
    taken_ = player_.socket().setSocketDescriptor(descriptor);
    if (taken_)
        Q_EMIT playerConnected();
}
