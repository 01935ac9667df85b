#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// Reads and writes single keys of an INI file the way the classic profile-string
// functions do: section names and keys are matched without regard to case, values
// are trimmed of blanks (and of one pair of enclosing quotes), and a write changes
// one line only, leaving every other section, key, comment and line ending as it
// was. Nothing is cached: each read opens the file, each write rewrites it.
//
// Every write is atomic: the new contents go to a temporary file in the same
// folder, which then replaces the old file by a rename, so a crash or a full disk
// never leaves a half-written settings file behind.
class ProfileFile
{
public:
    // Files larger than this are not read (their keys read as absent) and never
    // rewritten: a settings file is a few kilobytes.
    static constexpr qint64 maxFileSize = 4 * 1024 * 1024;

    explicit ProfileFile(QString path);

    const QString &path() const { return path_; }

    // The value of `key` in `section`, or `fallback` when the file, the section or
    // the key is missing or the file cannot be read. The first matching section and
    // the first matching key in it win. Bytes that are not UTF-8 are read as Latin-1.
    QString readString(const QString &section, const QString &key, const QString &fallback = QString()) const;

    // False when the file exists but cannot be read (no permission, too large, an
    // I/O error). A missing file is readable: all its keys are absent.
    bool isReadable() const;

    // Sets `key` in `section` to `value`, adding the section at the end of the file
    // and the key after the last entry of its section when missing. Line breaks in a
    // value become blanks. Returns false, leaving the file untouched, on failure.
    bool writeString(const QString &section, const QString &key, const QString &value);

    // Several keys of one section in one atomic rewrite, applied in order (as many
    // writeString calls would).
    bool writeStrings(const QString &section, const QList<std::pair<QString, QString>> &entries);

private:
    enum class Load { Missing, Loaded, Failed };
    Load load(QByteArray &contents) const;

    QString path_;
};
