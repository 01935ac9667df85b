#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into the Qt signal stopRequested(), delivered by the event
// loop, so that a program asked to stop (Ctrl+C, `kill`, systemd, the end of a desktop
// session) ends as cleanly as when its user quits it. One instance per process.
class StopSignals : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

    // False when the signals could not be caught (they then end the process as usual).
    bool isReady() const { return notifier_ != nullptr; }

Q_SIGNALS:
    void stopRequested();

private:
    QSocketNotifier *notifier_ = nullptr;
};
