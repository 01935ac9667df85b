#include "avahipoll.h"

#include <QSocketNotifier>
#include <QTimer>

#include <avahi-common/timeval.h>

#include <algorithm>
#include <limits>

// Avahi names these types and leaves them to the poll's provider. Each is freed
// with deleteLater, because Avahi may free one from its own callback.
struct AvahiWatch : QObject
{
    AvahiWatch(QObject *owner, int fd, AvahiWatchCallback callback, void *userdata)
        : QObject(owner)
        , fd(fd)
        , callback(callback)
        , userdata(userdata)
        , in(fd, QSocketNotifier::Read, this)
        , out(fd, QSocketNotifier::Write, this)
    {
        connect(&in, &QSocketNotifier::activated, this, [this] { fire(AVAHI_WATCH_IN); });
        connect(&out, &QSocketNotifier::activated, this, [this] { fire(AVAHI_WATCH_OUT); });
    }

    void setEvents(AvahiWatchEvent events)
    {
        in.setEnabled(!freed && (events & AVAHI_WATCH_IN));
        out.setEnabled(!freed && (events & AVAHI_WATCH_OUT));
    }

    void fire(AvahiWatchEvent event)
    {
        if (freed)
            return;
        happened = event;
        callback(this, fd, event, userdata);
        happened = AvahiWatchEvent(0);
    }

    int fd;
    AvahiWatchCallback callback;
    void *userdata;
    QSocketNotifier in;
    QSocketNotifier out;
    AvahiWatchEvent happened = AvahiWatchEvent(0);
    bool freed = false;
};

struct AvahiTimeout : QObject
{
    AvahiTimeout(QObject *owner, AvahiTimeoutCallback callback, void *userdata)
        : QObject(owner)
        , callback(callback)
        , userdata(userdata)
    {
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, this, [this] {
            if (!freed)
                this->callback(this, this->userdata);
        });
    }

    // `when` is an absolute time of the system clock; null stops the timeout.
    void update(const struct timeval *when)
    {
        if (!when || freed) {
            timer.stop();
            return;
        }
        const AvahiUsec late = avahi_age(when);
        const qint64 ms = late >= 0 ? 0 : (-late + 999) / 1000;
        timer.start(int(std::min<qint64>(ms, std::numeric_limits<int>::max())));
    }

    AvahiTimeoutCallback callback;
    void *userdata;
    QTimer timer;
    bool freed = false;
};

namespace {

AvahiQtPoll *owner(const AvahiPoll *api)
{
    return static_cast<AvahiQtPoll *>(api->userdata);
}

AvahiWatch *watchNew(
    const AvahiPoll *api, int fd, AvahiWatchEvent events, AvahiWatchCallback callback, void *userdata)
{
    auto *w = new AvahiWatch(owner(api), fd, callback, userdata);
    w->setEvents(events);
    return w;
}

void watchUpdate(AvahiWatch *w, AvahiWatchEvent events)
{
    w->setEvents(events);
}

AvahiWatchEvent watchGetEvents(AvahiWatch *w)
{
    return w->happened;
}

void watchFree(AvahiWatch *w)
{
    w->setEvents(AvahiWatchEvent(0));
    w->freed = true;
    w->deleteLater();
}

AvahiTimeout *timeoutNew(
    const AvahiPoll *api, const struct timeval *when, AvahiTimeoutCallback callback, void *userdata)
{
    auto *t = new AvahiTimeout(owner(api), callback, userdata);
    t->update(when);
    return t;
}

void timeoutUpdate(AvahiTimeout *t, const struct timeval *when)
{
    t->update(when);
}

void timeoutFree(AvahiTimeout *t)
{
    t->timer.stop();
    t->freed = true;
    t->deleteLater();
}

} // namespace

AvahiQtPoll::AvahiQtPoll(QObject *parent)
    : QObject(parent)
{
    api_.userdata = this;
    api_.watch_new = watchNew;
    api_.watch_update = watchUpdate;
    api_.watch_get_events = watchGetEvents;
    api_.watch_free = watchFree;
    api_.timeout_new = timeoutNew;
    api_.timeout_update = timeoutUpdate;
    api_.timeout_free = timeoutFree;
}
