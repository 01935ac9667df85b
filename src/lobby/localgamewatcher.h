#pragma once

#include "discoverywire.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <optional>

class QUdpSocket;

// Follows the game this lobby started to host, through the game's own discovery
// responder on this computer: asks 127.0.0.1 on the discovery port twice a second
// (within the responder's answer limit) and keeps the description of the game at
// the game's port. Nothing leaves the computer.
class LocalGameWatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr int askEveryMs = 500;
    // Without an answer for this long the game counts as gone quiet.
    static constexpr int quietMs = 5000;

    LocalGameWatcher(quint16 discoveryPort, quint16 gamePort, QObject *parent = nullptr);
    ~LocalGameWatcher() override;

    void start();
    void stop();
    bool isRunning() const { return socket_ != nullptr; }
    // The game as its host last described it.
    std::optional<DiscoveryWire::Game> game() const { return game_; }

Q_SIGNALS:
    // The game was first heard, or its description changed.
    void gameChanged();
    // The game has not answered for quietMs (said once until it answers again).
    void quiet();

private:
    void ask();
    void readAnswers();

    quint16 discoveryPort_;
    quint16 gamePort_;
    QUdpSocket *socket_ = nullptr;
    QTimer timer_;
    QElapsedTimer sinceAnswer_;
    quint32 nonce_ = 0;
    bool quietSaid_ = false;
    std::optional<DiscoveryWire::Game> game_;
};
