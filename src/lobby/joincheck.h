#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

class QTcpSocket;

// Looks before the lobby starts the game to join an address: the name must resolve,
// something must accept a connection on the game's port, and it must greet as a
// Wendlewick host does (asking for the login, or saying the game is full). The game
// itself would wait silently forever at an address where no game runs; the lobby can
// tell the player what is wrong instead. The look is a connection that closes before
// logging in, which a host forgets at once.
class JoinCheck : public QObject
{
    Q_OBJECT

public:
    // What stood in the way, when a look failed.
    enum class Failure { NotFound, Refused, Unreachable, Silent, Full, NotAGame };

    struct Timing
    {
        int resolveMs = 10000;
        int connectMs = 5000;
        int greetingMs = 3000;
    };

    // What a host's first bytes say.
    enum class Greeting { Incomplete, Host, Full, NotAGame };
    static Greeting classify(const QByteArray &firstBytes);

    explicit JoinCheck(quint16 gamePort, QObject *parent = nullptr);
    ~JoinCheck() override;

    void setTiming(const Timing &timing) { timing_ = timing; }

    // Starts a look at `address` (a name or a numeric address, perhaps with a port as
    // GameAddress reads it), stopping one that runs.
    void start(const QString &address);
    void cancel();
    bool isRunning() const { return running_; }
    Failure failure() const { return failure_; }

Q_SIGNALS:
    // A Wendlewick host answered at `address`, numeric and with its port when that is
    // not the game's own, for the game's command line.
    void passed(const QString &address);
    // Why there is no game to join, for the player.
    void failed(const QString &reason);

private:
    void resolved(const QList<QHostAddress> &addresses, const QString &error);
    void connectTo(const QHostAddress &address);
    void readGreeting();
    void socketError();
    void timedOut();
    void finish(bool ok, const QString &text);
    void fail(Failure failure, const QString &text);

    quint16 gamePort_;
    quint16 port_ = 0; // of the look under way
    Timing timing_;
    bool running_ = false;
    Failure failure_ = Failure::NotFound;
    QString typed_;
    QHostAddress address_;
    int lookupId_ = -1;
    QTcpSocket *socket_ = nullptr;
    QByteArray greeting_;
    QTimer timer_;
};
