#include "tilegroups.h"

#include "programfolders.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

TileGroups::TileGroups(const QStringList &tilesfolders, QObject *parent)
    : QObject(parent)
    , folders_(tilesfolders)
    , current_(TileGroup::builtin())
{
    scan();
}

QStringList TileGroups::defaultFolders()
{
    return ProgramFolders::dataFolders(
        QStringLiteral("tiles"), QDir(ProgramFolders::programFolder()).filePath(folderName));
}

void TileGroups::scan()
{
    for (const QString &folder : std::as_const(folders_)) {
        const QStringList files = QDir(folder).entryList(
            {QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
        for (const QString &file : files) {
            const QString name = file.section(QLatin1Char('.'), 0, 0);
            // "wood@2x.bmp" is the sharper picture of "wood", not a group of its own.
            if (name.isEmpty() || isClassic(name) || TileGroup::isHighDensityName(name)
                || names_.contains(name))
                continue;
            names_.append(name);
        }
    }
    std::sort(names_.begin(), names_.end(),
        [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

// "<name>.bmp" from the first folder that has it, without regard to case: the name
// may come from settings written on a file system that ignores it. An empty string
// when no folder has it.
QString TileGroups::fileOf(const QString &name) const
{
    const QString exact = name + QStringLiteral(".bmp");
    for (const QString &folder : folders_) {
        const QDir dir(folder);
        if (dir.exists(exact))
            return dir.filePath(exact);
        const QStringList files
            = dir.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        for (const QString &file : files) {
            if (file.compare(exact, Qt::CaseInsensitive) == 0)
                return dir.filePath(file);
        }
    }
    return {};
}

bool TileGroups::isClassic(const QString &name)
{
    return name.compare(classicName, Qt::CaseInsensitive) == 0;
}

bool TileGroups::loadgrouptiles(const QString &name)
{
    if (isClassic(name)) {
        name_ = name;
        builtinInUse_ = true;
        current_ = TileGroup::builtin(ratio_);
        Q_EMIT groupChecked(classicName);
        Q_EMIT picturesChanged();
        return true;
    }
    // A name is a plain file name: nothing from the settings may reach another folder.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.startsWith(QLatin1Char('.')) || TileGroup::isHighDensityName(name))
        return false;
    const QString file = fileOf(name);
    auto group = TileGroup::fromFile(file, ratio_);
    if (!group)
        return false;
    name_ = name;
    file_ = file;
    builtinInUse_ = false;
    current_ = std::move(*group);
    Q_EMIT groupChecked(name);
    Q_EMIT picturesChanged();
    return true;
}

void TileGroups::grouptilesmenuClick(const QString &name)
{
    loadgrouptiles(name);
    name_ = name;
    Q_EMIT picturesChanged();
    Q_EMIT saveRequested();
}

void TileGroups::applySetting(const QString &value)
{
    if (value.isEmpty() || isClassic(value))
        return;
    loadgrouptiles(value);
}

void TileGroups::setDevicePixelRatio(qreal ratio)
{
    if (ratio == ratio_)
        return;
    const bool sharper = (ratio > 1.0) != (ratio_ > 1.0);
    ratio_ = ratio;
    if (builtinInUse_) {
        current_ = TileGroup::builtin(ratio_);
        Q_EMIT picturesChanged();
    } else if (sharper) {
        // A group whose file has gone since keeps the pictures it has.
        if (auto group = TileGroup::fromFile(file_, ratio_)) {
            current_ = std::move(*group);
            Q_EMIT picturesChanged();
        }
    }
}
