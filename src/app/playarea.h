#pragma once

#include <QColor>
#include <QObject>

class GameSession;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

// The left part of the board panel: the status line, the winner banner, the round
// clock with the Start image, the action buttons and the logo. The entry strip
// (with `label_typingoff`) and the board (`panel_boardback`) are the board's own
// widgets, which the main window places and lists here.
//
// Once it follows a game session, the area shows the session's status, clock, turn and
// winner: the clock's text turns red in the last seconds, and its bar shrinks by the
// round's pixels a second, never wider than the clock itself.
class PlayArea : public QObject
{
    Q_OBJECT

public:
    static inline const QColor clockColour = QColor(224, 227, 157);
    static inline const QColor lastSecondsColour = QColor(255, 0, 0);
    // Below this many seconds left the clock's text turns red.
    static constexpr int redBelow = 20;

    explicit PlayArea(QWidget *panel);

    void follow(const GameSession *session);

    QLabel *label_status = nullptr;
    QLabel *label_typingoff = nullptr; // the entry strip's
    QFrame *panel_winner = nullptr;
    QLabel *label_winner1 = nullptr;
    QLabel *label_winner2 = nullptr; // the grey shadow, one pixel right and up
    QLabel *image_timer = nullptr;
    QLabel *label_timer = nullptr;
    QPushButton *button_start = nullptr;
    QPushButton *button_rotate = nullptr;
    QPushButton *button_clear = nullptr;
    QPushButton *button_send = nullptr;
    QFrame *panel_boardback = nullptr; // the board's panel
    QLabel *image_logo = nullptr;

    // Shows one winner text on the banner and its shadow.
    void setWinnerText(const QString &text);
    // Draws the round clock `scale` times its size, as large as its frame allows.
    void setTextScale(double scale);

private:
    void showClock(int secondsLeft);

    const GameSession *session_ = nullptr;
};
