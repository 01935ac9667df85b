#pragma once

#include <QString>

class QIODevice;

class TallyTable;

// The tally file "Wendlewicktally.tld" in a folder: the table's text layout in the
// compressed container of Tlzrw1. The text goes through a private temporary file, and
// the tally file is replaced only once its successor is complete, so a failed or
// interrupted save leaves the previous tally as it was.
class TallyFile
{
public:
    static inline const QString fileName = QStringLiteral("Wendlewicktally.tld");

    enum class LoadStatus {
        Loaded,
        // No tally file: a fresh tally.
        Missing,
        // The file was damaged; it was renamed to setAsidePath and the tally is fresh.
        SetAside,
        // The file could not be read and was left in place; saving is refused for the
        // rest of the run so that it is never overwritten.
        Unreadable,
    };
    struct LoadResult
    {
        LoadStatus status = LoadStatus::Missing;
        QString message; // for the player; empty when Loaded or Missing
        QString setAsidePath;
    };

    explicit TallyFile(const QString &folder);

    QString filePath() const;

    // Reads the tally file into `table`. The table is changed only when the file loads.
    LoadResult load(TallyTable &table);

    // Reads the tally file into `table` and changes nothing on disk, whatever it finds
    // (for another program that only looks). False, with `table` unchanged, when the
    // file is missing, unreadable or damaged.
    bool peek(TallyTable &table) const;

    // Writes `table` to the tally file. On failure the previous file is untouched and
    // errorString() says why.
    bool save(const TallyTable &table);

    QString errorString() const { return lastError_; }
    bool isSaveBlocked() const { return saveBlocked_; }

private:
    QString setAsideName() const;
    // Decompresses `packed` into `text` and loads that into `table`.
    struct Unpacked
    {
        // Damaged: the container; TextDamaged: the text inside a whole container.
        enum Outcome { Loaded, NoWorkingCopy, Damaged, TextDamaged } outcome = Loaded;
        QString why; // empty when Loaded
    };
    static Unpacked unpack(QIODevice &packed, QIODevice &text, TallyTable &table);

    QString folder_;
    QString lastError_;
    bool saveBlocked_ = false;
};
