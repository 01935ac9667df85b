#pragma once

#include "gamelauncher.h"

#include <QTimer>

class QSocketNotifier;

// Starts the game as a process of its own, which goes on when the lobby ends, and
// watches it: through a pidfd where the kernel offers one, else by looking once a
// second whether the process is still there.
class ProcessLauncher : public GameLauncher
{
    Q_OBJECT

public:
    static inline const QString programName = QStringLiteral("wendlewick");

    explicit ProcessLauncher(QObject *parent = nullptr);
    ~ProcessLauncher() override;

    // The game program beside the lobby, else on PATH; empty when there is none.
    static QString findGame();

    bool start(const QStringList &arguments, const QStringList &environment, QString *error) override;

private:
    void watch(qint64 pid);
    void unwatch();
    void reportEnded();

    qint64 pid_ = 0;
    int pidfd_ = -1;
    QSocketNotifier *notifier_ = nullptr;
    QTimer poll_;
};
