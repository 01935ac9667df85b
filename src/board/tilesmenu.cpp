#include "tilesmenu.h"

#include "tilegroups.h"

#include <QActionGroup>
#include <QMenu>

TilesMenu::TilesMenu(QMenu *menu, TileGroups *groups, QObject *parent)
    : QObject(parent)
    , menu_(menu)
    , groups_(groups)
    , radio_(new QActionGroup(this))
{
    radio_->setExclusive(true);
    grouptilesmenu();
    connect(groups_, &TileGroups::groupChecked, this, &TilesMenu::check);
    const QString current = groups_->tilegroupname();
    check(current.isEmpty() ? TileGroups::classicName : current);
}

void TilesMenu::grouptilesmenu()
{
    creategrouptilesmenu(TileGroups::classicName, tr("Classic"));
    const QStringList names = groups_->groupNames();
    if (!names.isEmpty())
        menu_->addSeparator();
    for (const QString &name : names)
        creategrouptilesmenu(name, name);
}

void TilesMenu::creategrouptilesmenu(const QString &name, const QString &caption)
{
    // A "&" in a file name is shown as it is, not taken as a keyboard accelerator.
    auto *action = menu_->addAction(QString(caption).replace(QLatin1Char('&'), QLatin1String("&&")));
    action->setObjectName(name);
    action->setToolTip(name);
    action->setStatusTip(name);
    action->setData(name);
    action->setCheckable(true);
    radio_->addAction(action);
    connect(action, &QAction::triggered, groups_, [this, name] { groups_->grouptilesmenuClick(name); });
}

QAction *TilesMenu::item(const QString &name) const
{
    for (QAction *action : radio_->actions()) {
        if (action->data().toString().compare(name, Qt::CaseInsensitive) == 0)
            return action;
    }
    return nullptr;
}

void TilesMenu::check(const QString &name)
{
    if (QAction *action = item(name))
        action->setChecked(true);
}
