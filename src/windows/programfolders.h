#pragma once

#include <QString>

// Where the program keeps its files. Settings, the tally and downloads live in the
// program's own folder, as players expect of a portable game; where that folder is
// not writable (an installed program), they go to the per-user configuration folder.
namespace ProgramFolders {

// The folder of the executable.
QString programFolder();

// The program's folder when it is writable, otherwise the per-user configuration
// folder (created when missing). The WENDLEWICK_DATA_DIR environment variable, when
// set, overrides both (used by tests and by players who want their files elsewhere).
QString writableFolder();

// The executable `name` in the program's folder, else the first one on PATH; empty
// when there is neither. The game and the lobby find each other this way.
QString findProgram(const QString &name);

} // namespace ProgramFolders
