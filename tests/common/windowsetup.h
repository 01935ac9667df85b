#pragma once

#include "tchat.h"

#include <QDir>

// A window whose files all live in `folder`: word lists, settings, the instance marker,
// tallies and tile groups; the rest as the program's defaults.
inline Tchat::Setup windowSetup(const QString &folder)
{
    Tchat::Setup setup;
    setup.dictionaryFolder = folder;
    setup.settingsPath = QDir(folder).filePath(QStringLiteral("orinlobby.ini"));
    setup.markerFolder = folder;
    setup.tallyFolder = folder;
    setup.tilesFolder = folder;
    return setup;
}
