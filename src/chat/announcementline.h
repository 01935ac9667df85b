#pragma once

#include <QLabel>

class Announcer;
class QAction;

// `label_announce`: the line assistive technology follows for the game's news. It
// lies over the status line and draws nothing: a screen reader hears each new
// announcement as a change of the label's name, and players who see the board see
// the news there. Its menu (right click, or the menu key while it has the focus)
// holds "Speak Announcements" (`SpeakAnnouncements1`, Ctrl+Shift+S anywhere in the
// window, and an item of the main window's Options menu), which speaks the news
// aloud for players without a screen reader.
class AnnouncementLine : public QLabel
{
    Q_OBJECT

public:
    AnnouncementLine(Announcer *announcer, QWidget *parent = nullptr);

    QAction *speakAction() const { return speak_; }

protected:
    void paintEvent(QPaintEvent *) override { }

private:
    void showNews(const QString &sentence);

    Announcer *announcer_;
    QAction *speak_;
};
