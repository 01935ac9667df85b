#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

// Where the main window and the words list window stand on the desktop: the main
// window's frame bounds (its normal ones while maximised or minimised), a stored place
// moved back onto a screen, and the words list window's own place (not where its
// review stands beside the board).
class WindowPlaces
{
public:
    // The words list window's size while that window is not there to ask.
    static constexpr QSize assumedWordsListSize {400, 330};

    explicit WindowPlaces(QWidget *window);

    void setWordsList(QWidget *list) { wordsList_ = list; }
    bool hasWordsList() const { return !wordsList_.isNull(); }

    // The main window's frame position and size.
    QRect windowBounds() const;
    // Puts the main window at `bounds`, or at the default place when too little of its
    // top edge would lie on a screen to take hold of it.
    void applyWindowBounds(const QRect &bounds);

    // The words list window's place and frame size; only with a words list window.
    QPoint wordsListPlace() const;
    void moveWordsList(QPoint leftTop);
    QSize wordsListSize() const;

    // Whether enough of the top edge of a window at `bounds` lies on some screen to take
    // hold of it; true when there are no screens to ask.
    static bool gripOnScreen(const QRect &bounds);

private:
    QWidget *window_;
    QPointer<QWidget> wordsList_;
};
