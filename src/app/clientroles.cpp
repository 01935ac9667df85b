#include "clientroles.h"

#include "gameaddress.h"
#include "gamecommandline.h"
#include "gamesession.h"
#include "hostconnection.h"
#include "hostedgame.h"
#include "tserver.h"

ClientRoles::ClientRoles(GameSession &session, HostConnection &connection, HostedGame &hosted,
    quint16 gamePort, const QHostAddress &listenAddress, QObject *parent)
    : QObject(parent)
    , session_(session)
    , connection_(connection)
    , hosted_(hosted)
    , gamePort_(gamePort)
    , listenAddress_(listenAddress)
{ }

void ClientRoles::processparams(const QStringList &arguments)
{
    const GameCommandLine line = GameCommandLine::parse(arguments);
    session_.setPlayer(QString(), QString());
    if (line.role == GameCommandLine::Role::Solo) {
        session_.addSystemLine(QStringLiteral("Loading Solo Game..Please wait."));
        Q_EMIT soloStarting();
        session_.setPlayer(line.playername, line.hostaddress);
        solo_ = true;
        hostpress();
        return;
    }

    session_.addSystemLine(QStringLiteral("Loading Multi-player Game.. Please Wait."));
    if (line.role == GameCommandLine::Role::None)
        return;
    session_.setPlayer(line.playername, line.hostaddress);
    if (line.role == GameCommandLine::Role::Host)
        hostpress();
    else
        joinpress();
    connection_.openCompanion();
}

void ClientRoles::hostpress()
{
    if (!hosted_.listen(gamePort_, listenAddress_))
        return;
    session_.takeRole(true);
    connection_.setPort(hosted_.server()->port());
    connection_.open(GameCommandLine::loopback);
    if (!solo_)
        Q_EMIT hostingForOthers();
}

void ClientRoles::joinpress()
{
    session_.takeRole(false);
    const GameAddress::Target target = GameAddress::parse(session_.state().hostaddress, gamePort_);
    connection_.setPort(target.port);
    connection_.setAddress(target.host);
    if (returnHook_ && returnHook_(target.host, target.port))
        return;
    connection_.open(target.host);
}
