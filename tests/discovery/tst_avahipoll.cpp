// Avahi's event loop abstraction on Qt's, without the daemon: watches fire for their
// descriptors, timeouts at their time, and either may be freed from its own callback.
#ifdef WENDLEWICK_HAVE_AVAHI
#include "avahipoll.h"

#include <avahi-common/timeval.h>
#endif

#include <QTest>

#include <sys/socket.h>
#include <unistd.h>

class TestAvahiPoll : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void watchesAndTimeoutsRunFromTheEventLoop();
};

void TestAvahiPoll::watchesAndTimeoutsRunFromTheEventLoop()
{
#ifndef WENDLEWICK_HAVE_AVAHI
    QSKIP("built without libavahi-client");
#else
    AvahiQtPoll adapter;
    const AvahiPoll *api = adapter.poll();
    int fds[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);

    struct Seen
    {
        const AvahiPoll *api;
        int reads = 0;
        AvahiWatchEvent events = AvahiWatchEvent(0);
        int timeouts = 0;
    } seen {api};
    // Reads one byte and frees its watch, as Avahi may.
    AvahiWatch *watch = api->watch_new(
        api, fds[0], AVAHI_WATCH_IN,
        [](AvahiWatch *w, int fd, AvahiWatchEvent, void *userdata) {
            auto *s = static_cast<Seen *>(userdata);
            char byte;
            QCOMPARE(::read(fd, &byte, 1), ssize_t(1));
            s->events = s->api->watch_get_events(w);
            ++s->reads;
            s->api->watch_free(w);
        },
        &seen);
    QVERIFY(watch);
    QCOMPARE(::write(fds[1], "ab", 2), ssize_t(2));
    QTRY_COMPARE(seen.reads, 1);
    QCOMPARE(seen.events, AVAHI_WATCH_IN);

    struct timeval soon;
    avahi_elapse_time(&soon, 20, 0);
    const auto fired = [](AvahiTimeout *t, void *userdata) {
        auto *s = static_cast<Seen *>(userdata);
        ++s->timeouts;
        s->api->timeout_free(t);
    };
    api->timeout_new(api, &soon, fired, &seen);
    AvahiTimeout *cancelled = api->timeout_new(api, &soon, fired, &seen);
    api->timeout_update(cancelled, nullptr);
    QTRY_COMPARE(seen.timeouts, 1);
    // The freed watch read no more, though a byte is still waiting.
    QCOMPARE(seen.reads, 1);
    api->timeout_free(cancelled);
    ::close(fds[0]);
    ::close(fds[1]);
#endif
}

QTEST_GUILESS_MAIN(TestAvahiPoll)
#include "tst_avahipoll.moc"
