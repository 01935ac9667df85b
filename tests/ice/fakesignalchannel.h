#pragma once

#include "signalchannel.h"

#include <QMetaObject>
#include <QPointer>

// Two ends of a signal channel in one process: what one sends reaches the other on the
// next turn of the event loop, as through a server. Every signal sent is kept.
class FakeSignalChannel : public SignalChannel
{
    Q_OBJECT

public:
    explicit FakeSignalChannel(const QString &name, QObject *parent = nullptr)
        : SignalChannel(parent)
        , name_(name)
    { }

    void pair(FakeSignalChannel *other)
    {
        other_ = other;
        other->other_ = this;
    }

    bool send(const QString &peer, const IceSignal &signal) override
    {
        sent.append({peer, signal});
        // Unpaired, it reaches everyone and delivers nowhere.
        if (!other_)
            return true;
        if (peer != other_->name_)
            return false;
        const QPointer<FakeSignalChannel> other = other_;
        QMetaObject::invokeMethod(
            this,
            [other, from = name_, signal] {
                if (other)
                    Q_EMIT other->received(from, signal);
            },
            Qt::QueuedConnection);
        return true;
    }

    void setAccepting(bool accepting) override { this->accepting = accepting; }

    QList<std::pair<QString, IceSignal>> sent;
    bool accepting = false;

private:
    QString name_;
    QPointer<FakeSignalChannel> other_;
};
