#pragma once

#include <QString>
#include <QStringList>

// Where the program finds and keeps its files. A program run from its build folder
// (or a copied folder) is portable: settings, the tally and downloads live beside it,
// and the word list in the current folder. An installed program (its data folder
// <prefix>/share/wendlewick lies beside <prefix>/bin) writes nothing next to itself:
// all of those go to the per-user configuration folder.
namespace ProgramFolders {

// The environment variable that names the folder the program writes to (and keeps its
// running-copy guard in) instead of its own choice.
inline constexpr char dataFolderVariable[] = "WENDLEWICK_DATA_DIR";
// The settings file the game and the lobby share, each in a section of its own.
inline const QString settingsFileName = QStringLiteral("orinlobby.ini");

// The folder of the executable.
QString programFolder();

// The installed program's read-only data folder (<prefix>/share/wendlewick, found
// relative to the executable so that any prefix works), or an empty string when the
// program does not run from an installed layout.
QString installedDataFolder();
bool isInstalled();

// Where the program writes: the dataFolderVariable folder when set
// (tests, and players who want their files elsewhere); else the program's folder when
// the program is not installed and that folder is writable; else the per-user
// configuration folder. The folder is created when missing.
QString writableFolder();
// orinlobby.ini in writableFolder().
QString settingsFilePath();

// The executable `name` in the program's folder, else the first one on PATH; empty
// when there is neither. The game and the lobby find each other this way.
QString findProgram(const QString &name);

// The folder of the word-list file "English": the current folder, or writableFolder()
// for an installed program (whose current folder may be anywhere, or read-only).
QString wordListFolder();

// The folders that may hold read-only data `subfolder` (such as "tiles"), the first
// one to search first: `besideProgram` (a folder beside the executable; the build
// tree's copy), the per-user data folder, the installed data folder and the system's
// data folders. Only existing folders, each once.
QStringList dataFolders(const QString &subfolder, const QString &besideProgram);

} // namespace ProgramFolders
