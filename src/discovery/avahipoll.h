#pragma once

#include <QObject>

#include <avahi-common/watch.h>

// Avahi's event loop abstraction on Qt's: file descriptors are watched through
// QSocketNotifier and timeouts run on QTimer, so the Avahi client runs on the GUI
// thread without a thread or a loop of its own. Watches and timeouts still allocated
// go with this object, which must outlive every Avahi client made on it.
class AvahiQtPoll : public QObject
{
    Q_OBJECT

public:
    explicit AvahiQtPoll(QObject *parent = nullptr);

    const AvahiPoll *poll() const { return &api_; }

private:
    AvahiPoll api_;
};
