#pragma once

#include "profilefile.h"
#include "programfolders.h"
#include "settingsvalues.h"

#include <QString>

// The section "Wendlewick" of orinlobby.ini: which keys hold which preference,
// their defaults, and the rule that stored settings are never overwritten by a
// program that has not read them first.
class SettingsFile
{
public:
    static inline const QString &fileName = ProgramFolders::settingsFileName;
    static inline const QString section = QStringLiteral("Wendlewick");

    explicit SettingsFile(const QString &path);

    // orinlobby.ini in the program's writable folder.
    static QString defaultPath();

    const QString &path() const { return file_.path(); }

    // Reads every key and returns `current` with each key applied; an absent key
    // gives its default and a bad value its fallback. A file that exists but cannot
    // be read changes nothing and leaves the file closed to saves.
    SettingsValues load(const SettingsValues &current);

    // True once a load() found the file readable (or missing).
    bool hasBeenRead() const { return read_; }

    // Writes every key but the phrases, in one atomic rewrite. Does nothing and
    // returns false before the file has been read, so that a program closed (or an
    // option changed) before the settings were read never replaces them with its
    // start-up values.
    bool save(const SettingsValues &values);

    // Writes the nine phrase keys only (the phrase editor's save).
    bool savePhrases(const SettingsValues &values);

    // The tile group to load for a stored name, or empty for the built-in group
    // (empty, "classic" in any case, or a name that is not a plain file name).
    static QString tileGroupToLoad(const QString &stored);

private:
    QString read(const QString &key, const QString &fallback) const;
    int readInt(const QString &key, int fallback) const;

    ProfileFile file_;
    bool read_ = false;
    // "Speakannouncements" is written once the player has switched speech on, so
    // the files of everyone else keep their keys as they were.
    bool speakKeyKept_ = false;
};
