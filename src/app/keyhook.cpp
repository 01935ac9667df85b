#include "keyhook.h"

#include "wordentry.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

KeyHook::KeyHook(QWidget *window, WordEntry *entry)
    : QObject(window)
    , window_(window)
    , entry_(entry)
{
    qApp->installEventFilter(this);
}

KeyHook::~KeyHook()
{
    qApp->removeEventFilter(this);
}

bool KeyHook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!window_ || !widget || widget->window() != window_ || !window_->windowHandle()
        || !window_->windowHandle()->isActive())
        return false;
    // A key the focused control ignores travels on to its parents: judge it once, at
    // the control it was sent to first.
    const QWidget *first = window_->focusWidget();
    if (widget != (first ? first : window_.data()))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        if (!entry_->takesKey(key->key()))
            return false;
        event->accept();
        return true;
    }
    return entry_->FormShortCut(*key);
}
