#pragma once

#include "roomannouncer.h"

#include <QObject>
#include <QString>
#include <QTimer>

class AddressFinder;
class RoomClient;

// Announces one hosted game in a community room while it runs: each time the seat
// enters the room it settles the address players connect to (the one configured,
// else the one AddressFinder learns from the server), then keeps the game's word up
// to date through a RoomAnnouncer. When the address cannot be learned it asks again
// after a growing wait (retryFirstMs doubling to retryMaxMs) while started. Its note
// says where things stand, for a status line or a log.
class GameAnnouncement : public QObject
{
    Q_OBJECT

public:
    GameAnnouncement(RoomClient &client, RoomAnnouncer::Describe describe, QObject *parent = nullptr);
    ~GameAnnouncement() override;

    // "host" or "host:port" players connect to; empty: learned from the server.
    void setConfiguredAddress(const QString &address) { configured_ = address.trimmed(); }
    void setRetryDelays(int firstMs, int maxMs)
    {
        retryFirstMs_ = firstMs;
        retryMaxMs_ = maxMs;
    }
    // Announces the game on `gamePort` (also the port players connect to unless the
    // configured address names another).
    void start(quint16 gamePort);
    void stop();
    bool isStarted() const { return started_; }
    bool isAnnouncing() const { return announcer_->isAnnouncing(); }
    QString address() const { return announcer_->address(); }
    quint16 port() const { return announcer_->port(); }
    QString note() const { return note_; }
    bool noteIsProblem() const { return problem_; }

public Q_SLOTS:
    void gameChanged() { announcer_->gameChanged(); }

Q_SIGNALS:
    void noteChanged(const QString &text, bool problem);

private:
    void update();
    void setNote(const QString &text, bool problem);

    RoomClient &client_;
    RoomAnnouncer *announcer_;
    AddressFinder *finder_;
    QString configured_;
    QString found_;
    quint16 gamePort_ = 0;
    bool started_ = false;
    bool finding_ = false;
    QTimer retryTimer_;
    int retryFirstMs_ = 15000;
    int retryMaxMs_ = 300000;
    int retryDelayMs_ = 0;
    QString note_;
    bool problem_ = false;
};
