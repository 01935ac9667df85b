#pragma once

#include "icesignal.h"

#include <QObject>
#include <QString>

// Where the two ends of an ICE attempt reach each other before they can connect: one
// person to another, by name (the community room's direct messages in the program,
// an in-process pair in tests). Only signals that decode come out.
class SignalChannel : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // False when `peer` cannot be reached now.
    virtual bool send(const QString &peer, const IceSignal &signal) = 0;
    // Tells everyone who looks that this end answers offers (a host), or no longer.
    virtual void setAccepting(bool accepting) = 0;

Q_SIGNALS:
    void received(const QString &peer, const IceSignal &signal);
    // `peer` went away: what it had under way is over.
    void peerLeft(const QString &peer);
};
