#pragma once

#include "sidewindow.h"

#include <QStringList>

class QAction;
class QListWidget;
class QMenu;

// The spy list: the watchers connected now (slots above 10), one entry each, written
// as slot, ": " and name. In the hosting player's window "Remove From Game" on an
// entry asks, through `kickRequested`, for that watcher's removal; the main window
// sends the request and removes the entry when the disconnect is reported.
class Tspylist : public SideWindow
{
    Q_OBJECT

public:
    explicit Tspylist(QWidget *parent = nullptr);

    static QString entryText(int slot, const QString &name);

    void addspy(int slot, const QString &name);
    // Removes the entry that is exactly slot, ": " and name. False when there is none.
    bool removespy(int slot, const QString &name);
    bool hasspy(int slot, const QString &name) const;
    QStringList entries() const { return entries_; }

    // Enables "Remove From Game"; only the window that hosts the game does this.
    void setHosting(bool hosting);

    // The index of the entry under the pointer, -1 when it is over no entry.
    int hoveredIndex() const { return hovered_; }

Q_SIGNALS:
    void kickRequested(int slot);

public Q_SLOTS:
    void popup_kickhimClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void listbox_spysMouseMove(const QPoint &position);
    void openPopup(const QPoint &globalPosition);

    QStringList entries_;
    int hovered_ = -1;
    // The entry the open pop-up acts on: fixed when it opens, so a list that changes
    // while it is open can never turn the action onto another watcher.
    QString target_;
    QListWidget *listbox_spys;
    QMenu *popup_kick;
    QAction *popup_kickhim;
};
