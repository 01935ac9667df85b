#pragma once

#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <functional>

class GameSession;
class HostConnection;
class HostedGame;

// The role the command line gives the player's window (GameCommandLine): solo play
// hosts on this machine as "You"; a host starts the in-process host and joins it on
// 127.0.0.1; a joiner connects to the address given. Both named roles then open the
// companion connection to the lobby.
class ClientRoles : public QObject
{
    Q_OBJECT

public:
    // `gamePort`: hosted on and joined at (0 hosts on a free port); the host listens on
    // `listenAddress`.
    ClientRoles(GameSession &session, HostConnection &connection, HostedGame &hosted, quint16 gamePort,
        const QHostAddress &listenAddress, QObject *parent = nullptr);

    void processparams(const QStringList &arguments);
    void hostpress();
    void joinpress();

    bool isSolo() const { return solo_; }
    // Asked before a joiner connects, with the address and port: true when it comes
    // back to a seat kept for it instead (the connection's address is set already).
    void setReturnHook(std::function<bool(const QString &host, quint16 port)> hook)
    {
        returnHook_ = std::move(hook);
    }

Q_SIGNALS:
    // Solo play starts: the download window shows.
    void soloStarting();
    // The window hosts a game for others to join (the host role, not solo play).
    void hostingForOthers();

private:
    GameSession &session_;
    HostConnection &connection_;
    HostedGame &hosted_;
    quint16 gamePort_;
    QHostAddress listenAddress_;
    bool solo_ = false;
    std::function<bool(const QString &, quint16)> returnHook_;
};
