#include "announcementline.h"

#include "announcer.h"

#include <QAction>

AnnouncementLine::AnnouncementLine(Announcer *announcer, QWidget *parent)
    : QLabel(parent)
    , announcer_(announcer)
    , speak_(new QAction(QStringLiteral("Speak Announcements"), this))
{
    setObjectName(QStringLiteral("label_announce"));
    setTextFormat(Qt::PlainText);
    setAccessibleDescription(QStringLiteral("Game news"));

    speak_->setObjectName(QStringLiteral("SpeakAnnouncements1"));
    speak_->setCheckable(true);
    speak_->setChecked(announcer_->speaks());
    speak_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    speak_->setShortcutContext(Qt::WindowShortcut);
    addAction(speak_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(speak_, &QAction::toggled, announcer_, &Announcer::setSpeaks);
    connect(announcer_, &Announcer::announced, this, &AnnouncementLine::showNews);
}

void AnnouncementLine::showNews(const QString &sentence)
{
    // The same news twice is still news, but a reader only hears a change.
    setText(sentence == text() ? sentence + QChar(0x00A0) : sentence);
}
