#pragma once

#include <QFrame>
#include <QTimer>

class QLabel;
class QPushButton;
class Reconnector;

// What covers the board while the window tries to take its seat back after the
// connection dropped: "Connection lost — reconnecting…", how long the seat is still
// kept and when the next attempt comes, and a button to give up.
class ReconnectNotice : public QFrame
{
    Q_OBJECT

public:
    static inline const QString headline = QStringLiteral("Connection lost \u2014 reconnecting\u2026");

    explicit ReconnectNotice(QWidget *parent = nullptr);

    // Shows `reconnector`'s attempts and waits, counting down every `tickMs` while shown;
    // "Give Up" gives up.
    void follow(Reconnector *reconnector, int tickMs);
    // Covers the board while the window tries to come back, or uncovers it.
    void setActive(bool on);

    // The line under the headline: "Trying again…" or "Next try in 2 seconds.", then
    // how long the seat is kept.
    static QString detailText(bool trying, int nextInMs, int secondsLeft);
    void showDetail(bool trying, int nextInMs, int secondsLeft);

    QLabel *label_reconnect = nullptr;
    QLabel *label_reconnectdetail = nullptr;
    QPushButton *button_giveup = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateDetail();

    Reconnector *reconnector_ = nullptr;
    QTimer clock_;
    int waitMs_ = -1; // till the next attempt; -1 while one is under way
};
