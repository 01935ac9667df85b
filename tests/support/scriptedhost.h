#pragma once

#include "protocolclient.h"

#include <QTcpServer>

// The host's end of one player's connection, for tests of the player's window: it
// listens on the loopback address, takes the first connection and reads and writes
// it as a ProtocolClient, so a test sends exactly the host's messages it chooses.
// Later connections are closed at once.
class ScriptedHost : public QTcpServer
{
    Q_OBJECT

public:
    explicit ScriptedHost(QObject *parent = nullptr);

    // Listens on the loopback address, on a free port (serverPort()).
    bool start();
    // Waits for the player to connect.
    bool waitForPlayer(int timeoutMs = 5000);
    // The connection to the player: send() a message, waitFor() the player's reply.
    ProtocolClient &player() { return player_; }

Q_SIGNALS:
    void playerConnected();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    ProtocolClient player_;
    bool taken_ = false;
};
