#pragma once

#include "discoverywire.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class RoomClient;

// Announces a hosted game in a community room: the game's description and where
// players connect ride in the seat's presence (GamePayload). The first word goes out at
// once; after a change the next follows within a second, and never sooner than
// minGapMs after the last, several changes meanwhile making one word. The seat keeps
// the game in every presence it sends, so a seat that signs in again announces it
// again.
class RoomAnnouncer : public QObject
{
    Q_OBJECT

public:
    // The game now; the announcer sets its kind, nonce and instance.
    using Describe = std::function<DiscoveryWire::Game()>;
    static constexpr int minGapMs = 2000;
    // Changes this close together make one word.
    static constexpr int settleMs = 150;

    RoomAnnouncer(RoomClient &client, Describe describe, QObject *parent = nullptr);
    ~RoomAnnouncer() override;

    // Where players connect: an address (or a name) and the TCP port. Announcing starts
    // with the first address; an empty one withdraws the game.
    void setAddress(const QString &address, quint16 port);
    QString address() const { return address_; }
    quint16 port() const { return port_; }
    bool isAnnouncing() const { return !address_.isEmpty(); }
    // How many words went out (tests).
    int published() const { return published_; }

public Q_SLOTS:
    void gameChanged();

private:
    void publish();

    QPointer<RoomClient> client_;
    Describe describe_;
    quint64 instance_;
    QString address_;
    quint16 port_ = 0;
    QElapsedTimer sincePublished_;
    QTimer timer_;
    int published_ = 0;
};
