#include "tspylist.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

Tspylist::Tspylist(QWidget *parent)
    : SideWindow(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Wendlewick - Spys"));

    auto *heading = new QLabel(QStringLiteral("Spy List"));
    heading->setObjectName(QStringLiteral("label_heading"));
    heading->setAlignment(Qt::AlignCenter);
    makeHeading(heading);

    listbox_spys = new QListWidget;
    listbox_spys->setObjectName(QStringLiteral("listbox_spys"));
    listbox_spys->setAccessibleName(QStringLiteral("Spies"));
    listbox_spys->setMouseTracking(true);
    listbox_spys->viewport()->setMouseTracking(true);
    listbox_spys->setContextMenuPolicy(Qt::DefaultContextMenu);
    listbox_spys->installEventFilter(this);
    listbox_spys->viewport()->installEventFilter(this);
    listbox_spys->setToolTip(QStringLiteral("The people watching this game"));

    popup_kick = new QMenu(this);
    popup_kick->setObjectName(QStringLiteral("popup_kick"));
    popup_kickhim = popup_kick->addAction(QStringLiteral("Remove From Game"));
    popup_kickhim->setObjectName(QStringLiteral("popup_kickhim"));
    popup_kickhim->setEnabled(false);
    connect(popup_kickhim, &QAction::triggered, this, &Tspylist::popup_kickhimClick);

    auto *done = new QPushButton(QStringLiteral("Done"));
    done->setObjectName(QStringLiteral("button_done"));
    connect(done, &QPushButton::clicked, this, &Tspylist::close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 14);
    layout->addWidget(heading);
    layout->addWidget(listbox_spys);
    layout->addWidget(done, 0, Qt::AlignHCenter);
    setFixedSize(260, 320);
}

QString Tspylist::entryText(int slot, const QString &name)
{
    return QString::number(slot) + QStringLiteral(": ") + name;
}

void Tspylist::addspy(int slot, const QString &name)
{
    entries_ << entryText(slot, name);
    listbox_spys->addItem(entries_.constLast());
}

bool Tspylist::removespy(int slot, const QString &name)
{
    const qsizetype index = entries_.indexOf(entryText(slot, name));
    if (index < 0)
        return false;
    entries_.removeAt(index);
    delete listbox_spys->takeItem(int(index));
    if (hovered_ >= entries_.size())
        hovered_ = -1;
    return true;
}

bool Tspylist::hasspy(int slot, const QString &name) const
{
    return entries_.contains(entryText(slot, name));
}

void Tspylist::setHosting(bool hosting)
{
    popup_kickhim->setEnabled(hosting);
}

void Tspylist::listbox_spysMouseMove(const QPoint &position)
{
    hovered_ = listbox_spys->indexAt(position).row();
}

bool Tspylist::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == listbox_spys->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove:
            listbox_spysMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
            break;
        case QEvent::Leave:
            hovered_ = -1;
            break;
        case QEvent::ContextMenu: {
            auto *menuEvent = static_cast<QContextMenuEvent *>(event);
            if (menuEvent->reason() == QContextMenuEvent::Mouse)
                listbox_spysMouseMove(menuEvent->pos());
            else
                hovered_ = listbox_spys->currentRow();
            openPopup(menuEvent->globalPos());
            return true;
        }
        default:
            break;
        }
    } else if (watched == listbox_spys && event->type() == QEvent::ContextMenu) {
        // The menu key: the entry with the keyboard focus is the target.
        hovered_ = listbox_spys->currentRow();
        const QRect row = listbox_spys->visualItemRect(listbox_spys->currentItem());
        openPopup(listbox_spys->viewport()->mapToGlobal(row.isValid() ? row.center() : QPoint(4, 4)));
        return true;
    }
    return SideWindow::eventFilter(watched, event);
}

void Tspylist::openPopup(const QPoint &globalPosition)
{
    target_ = (hovered_ >= 0 && hovered_ < entries_.size()) ? entries_.at(hovered_) : QString();
    popup_kick->popup(globalPosition);
}

void Tspylist::popup_kickhimClick()
{
    const QString target = std::exchange(target_, QString());
    if (target.isEmpty() || !entries_.contains(target) || !popup_kickhim->isEnabled())
        return;
    bool ok = false;
    const int slot = target.section(QLatin1Char(':'), 0, 0).toInt(&ok);
    if (ok)
        Q_EMIT kickRequested(slot);
}
