#pragma once

#include "tilegroup.h"

#include <QObject>
#include <QString>
#include <QStringList>

// The tile groups on offer and the one in use. The built-in group ("classic") is drawn
// in code; every other group is a bitmap strip "<name>.bmp" in a tile-group folder:
// "Wendlewicktiles" beside the executable, then "wendlewick/tiles" in the per-user,
// installed and system data folders, with perhaps a double-size "<name>@2x.bmp" beside
// it for high-density screens. A name found in several folders is taken from the
// first. Views redraw on picturesChanged(); the "Tiles" menu follows groupChecked().
// Needs a QGuiApplication (the built-in group draws text).
class TileGroups : public QObject
{
    Q_OBJECT

public:
    static inline const QString folderName = QStringLiteral("Wendlewicktiles");
    // The settings key of the group in use.
    static inline const QString settingsKey = QStringLiteral("Tiles");
    // The name of the built-in group, in the menu and in the settings.
    static inline const QString classicName = QStringLiteral("classic");

    // The folders are searched in their order. The groups on offer are listed once,
    // here, as the "Tiles" menu is built once at start-up.
    explicit TileGroups(const QStringList &tilesfolders = defaultFolders(), QObject *parent = nullptr);
    explicit TileGroups(const QString &tilesfolder, QObject *parent = nullptr)
        : TileGroups(QStringList {tilesfolder}, parent)
    { }

    // The existing tile-group folders of this program, the first to search first.
    static QStringList defaultFolders();
    QStringList tilesfolders() const { return folders_; }

    // The names of the groups found at start, without the built-in one: each "*.bmp"
    // file's name up to its first ".", sorted without regard to case, each name once.
    QStringList groupNames() const { return names_; }

    // Switches to the group `name`, or to the built-in group for "classic" (any case).
    // False, with nothing changed, when the file is missing or is not a usable strip.
    bool loadgrouptiles(const QString &name);
    // The player chose `name` in the "Tiles" menu: load it, keep the name even when
    // its file has gone, and ask for the settings to be saved.
    void grouptilesmenuClick(const QString &name);

    // The name of the group in use: empty before any choice; "classic" or empty means
    // the built-in group.
    QString tilegroupname() const { return name_; }
    const TileGroup &pictures() const { return current_; }
    const QImage &picture(int code) const { return current_.picture(code); }

    // The "Tiles" setting: the value to store, and the start-up load of a stored
    // value (nothing happens for an empty value or "classic"). Neither asks for a save.
    QString settingValue() const { return name_; }
    void applySetting(const QString &value);

    // Draws the built-in group for screens of this pixel density; a group from a file
    // takes its double-size strip above 1, where there is one.
    void setDevicePixelRatio(qreal ratio);

Q_SIGNALS:
    void picturesChanged();
    void groupChecked(const QString &name); // put the menu's check mark on `name`
    void saveRequested();

private:
    static bool isClassic(const QString &name);
    QString fileOf(const QString &name) const;
    void scan();

    QStringList folders_;
    QStringList names_;
    QString name_;
    QString file_; // the strip of the group from a file in use
    TileGroup current_;
    qreal ratio_ = 1.0;
    bool builtinInUse_ = true;
};
