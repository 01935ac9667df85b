#pragma once

#include "quickphrases.h"

#include <QColor>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>

class QMenu;
class QToolButton;

// The row of quick-phrase buttons `b_phrase1`..`b_phrase9` and the chatter-sound
// button `b_phrase10` with its menu `popup_sounds`. Each phrase button's tool tip is
// its phrase. After a phrase is sent the buttons rest for 101 ticks of a 20 ms timer
// (about two seconds); clicks meanwhile are dropped.
class PhraseBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int tickMilliseconds = 20;

    explicit PhraseBar(QWidget *parent = nullptr);

    QuickPhrases &phrases() { return phrases_; }
    QToolButton *button(int k) const; // 1..10
    QMenu *soundsMenu() const { return soundsMenu_; }

    // The state the messages are made from.
    void setConnected(bool isconnected) { isconnected_ = isconnected; }
    void setMyslot(int myslot) { myslot_ = myslot; }
    void setChatColour(const QColor &colour) { colour_ = colour; }

    // Sets phrase `k` (1..9) and its button's tool tip.
    void setPhrase(int k, const QString &text);
    // A stored value for phrase `k`: an empty value keeps the built-in phrase.
    void loadPhrase(int k, const QString &value);

    void b_phrase1Click(int k);
    void b_phrase10Click();
    void wave14Click(int tag);

Q_SIGNALS:
    // A message for the host: the wire text is `command` "+" fields joined by "+".
    void sendMessage(const QString &command, const QStringList &fields);

private:
    void throttleTick();

    QuickPhrases phrases_;
    std::array<QToolButton *, 10> buttons_ {};
    QMenu *soundsMenu_ = nullptr;
    QTimer throttle_;
    bool isconnected_ = false;
    int myslot_ = 0;
    QColor colour_ = Qt::black;
};
