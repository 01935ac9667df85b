#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class WordEntry;

// The main window's window-level key hook: while the window is active, every key
// press meant for it goes to the word entry's key table before the focused control
// sees it. A key the table uses goes no further; while typing is on the table also
// claims the shortcut override, so no menu shortcut takes a key first.
class KeyHook : public QObject
{
    Q_OBJECT

public:
    // Watches the whole application from now until it is destroyed.
    KeyHook(QWidget *window, WordEntry *entry);
    ~KeyHook() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> window_;
    WordEntry *entry_;
};
