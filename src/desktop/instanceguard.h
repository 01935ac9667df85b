#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// Keeps a second copy of the program from starting. The first copy holds a lock
// file "<name>.lock" for its whole life and listens on a local socket "<name>" in
// the same folder; a later copy finds the lock taken, asks the first copy over the
// socket to bring its window forward (one line, "raise", or "open ARGUMENT" to hand
// over an argument as well), and is told to exit.
//
// A lock left behind by a copy that crashed is recognised as stale (its process no
// longer runs) and taken over, and a socket file left behind is replaced, so a
// crash never blocks the next start.
class InstanceGuard : public QObject
{
    Q_OBJECT

public:
    static inline const QString defaultName = QStringLiteral("ocniro");

    // `folder` empty means defaultFolder().
    explicit InstanceGuard(
        const QString &name = defaultName, const QString &folder = QString(), QObject *parent = nullptr);
    ~InstanceGuard() override;

    // The per-user runtime folder; the ProgramFolders::dataFolderVariable folder when set,
    // so that copies started with different data folders never meet.
    static QString defaultFolder();

    // Longer arguments are not handed over.
    static constexpr int maxArgumentBytes = 400;

    // True when no other copy runs: this guard now holds the lock until it is
    // destroyed. False when another copy runs; it has been asked to show its window,
    // and given `argument` when there is one.
    // A folder where no lock can be made at all never blocks a start (true).
    bool tryToRun(const QString &argument = QString());

    bool isHolding() const { return holding_; }
    QString serverPath() const;

Q_SIGNALS:
    // Another copy tried to start: restore the window if minimised, else raise it.
    void raiseRequested();
    // Another copy handed over its argument (after raiseRequested).
    void argumentReceived(const QString &argument);

private:
    void askFirstCopyToRaise(const QString &argument);
    void acceptRequests();
    void readRequest(QLocalSocket *socket);

    QString name_;
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer *server_ = nullptr;
    bool holding_ = false;
};
