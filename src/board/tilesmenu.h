#pragma once

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class TileGroups;

// Fills the main window's "Tiles" menu (`grouptilesitem`): "Classic" for the built-in
// group, then one radio item per tile group found at start, each named, captioned and
// hinted with its group's name. Choosing an item calls grouptilesmenuClick; the check
// mark follows every group loaded, from the menu or from the settings.
class TilesMenu : public QObject
{
    Q_OBJECT

public:
    TilesMenu(QMenu *menu, TileGroups *groups, QObject *parent = nullptr);

    // The item of a group, or nullptr.
    QAction *item(const QString &name) const;

private:
    void grouptilesmenu();
    void creategrouptilesmenu(const QString &name, const QString &caption);
    void check(const QString &name);

    QMenu *menu_;
    TileGroups *groups_;
    QActionGroup *radio_;
};
