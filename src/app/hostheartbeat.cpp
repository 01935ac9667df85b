#include "hostheartbeat.h"

#include "clientdispatch.h"
#include "gamesession.h"
#include "hostconnection.h"
#include "wire.h"

HostHeartbeat::HostHeartbeat(
    HostConnection &connection, const ClientDispatch &dispatch, const GameSession &session, QObject *parent)
    : QObject(parent)
    , connection_(connection)
    , dispatch_(dispatch)
    , session_(session)
{
    connect(&beat_, &QTimer::timeout, this, &HostHeartbeat::tick);
    connect(&connection_, &HostConnection::messageReceived, this, [this](const QByteArray &message) {
        heard_.start();
        if (message.startsWith(Wire::Cmd::stillhere))
            hostBeats_ = true;
    });
    // A host that beat before beats again on the next connection: a silent outage
    // right after a return is noticed too. The silence counts from the connection.
    connect(&connection_, &HostConnection::opened, this, [this] { heard_.start(); });
}

void HostHeartbeat::setTiming(const Timing &timing)
{
    timing_ = timing;
    if (beat_.isActive())
        beat_.start(qMax(1, timing_.intervalMs));
}

void HostHeartbeat::begin(int slot)
{
    slot_ = slot;
    if (beat_.isActive())
        return;
    beat_.start(qMax(1, timing_.intervalMs));
    // The first at once: the host answers it, and from then on silence tells.
    tick();
}

void HostHeartbeat::tick()
{
    if (!dispatch_.isOnline() || !connection_.isConnected())
        return;
    if (hostBeats_ && session_.state().gameRunning && heard_.isValid()
        && heard_.elapsed() > timing_.silenceMs) {
        hostBeats_ = false;
        connection_.fail();
        return;
    }
    connection_.send(Wire::ToHost::stillhere(slot_));
}
