#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QObject>
#include <QString>

#include <vector>

// The word-list dictionary: a sorted file of fixed 15-byte records ("English").
// The file is written from the built-in block at creation when missing, read into
// memory once and searched there, and deleted at destruction. Another process that
// truncates or rewrites the file afterwards changes nothing for this copy.
//
// Record layout: byte 0 is 0x1E, bytes 1..14 the upper-case word padded with
// blanks. Records are sorted by bytes 1..14 as unsigned bytes.
class TDictn : public QObject
{
    Q_OBJECT

public:
    static constexpr int recordSize = 15;
    static constexpr int keyLength = 15;
    static constexpr int maxQueryLength = 255;
    static inline const QString fileName = QStringLiteral("English");
    static inline const QString builtinResource = QStringLiteral(":/TEXT_DEMO");

    // Opens <folder>/English, writing it from `resource` first when it is missing.
    // An empty folder means the current folder. Creation never fails; a dictionary
    // that could not be opened answers false to every query (see isOpen()).
    // How records are read: from a copy of the file read into memory at opening (no
    // system call per lookup), or by a seek and a read per record, the fallback for a
    // file too large to copy.
    enum class Access { Loaded, Reads };
    // A file larger than this is searched by reads instead of being copied.
    static constexpr qint64 maxLoadedBytes = 64 * 1024 * 1024;

    explicit TDictn(QObject *parent = nullptr);
    TDictn(const QString &folder, const QString &resource, QObject *parent = nullptr,
        Access access = Access::Loaded);
    ~TDictn() override;

    TDictn(const TDictn &) = delete;
    TDictn &operator=(const TDictn &) = delete;

    bool isOpen() const { return open_; }
    bool isLoaded() const { return base_ != nullptr; }
    // True when the loaded file is a clean sorted list searched through the prefix index.
    bool isIndexed() const { return !prefixStart_.empty(); }
    qint64 recordCount() const { return lastRecord_ + 1; }
    QString filePath() const;

    // Position of the first record of the run equal to the query's key, or -1 when
    // there is none, when the dictionary is not open, or when the text is blank.
    // Text is taken as Latin-1 bytes; only the first 255 characters count.
    qint64 findword(QByteArrayView text) const;
    qint64 findword(const QString &text) const;
    bool isword(QByteArrayView text) const { return findword(text) >= 0; }
    bool isword(const QString &text) const { return findword(text) >= 0; }

    // The comparison key of a string: NUL counts as a blank, leading and trailing
    // blanks are removed, a-z become A-Z, and a result shorter than 15 characters
    // is padded with blanks to 15. Longer strings keep their length.
    static QByteArray wordkey(QByteArrayView text);

    // Copies the raw records first .. first + count - 1 (count * 15 bytes) into `out`,
    // from memory or by one positioned read. False when the range lies outside the
    // file or the read falls short; `out` may then be partly written.
    bool readRecords(qint64 first, qint64 count, char *out) const;

private:
    void openFile(Access access);
    bool isStaleCopy() const;
    void buildIndex();
    static int prefixSlot(const char *key);
    qint64 findIndexed(const char *query) const;
    qint64 findScanning(const char *query) const;
    bool readRecord(qint64 index, char *out) const;
    // Builds the 15-byte key of record bytes 1..14 into `key`.
    static void recordKey(const char *record, char *key);

    QString folder_;
    QString resource_;
    mutable QFile file_;
    // The file's records when loaded; base_ points into it (null when searched by reads).
    QByteArray records_;
    const uchar *base_ = nullptr;
    qint64 lastRecord_ = -1;
    bool open_ = false;
    bool wroteFile_ = false;
    // First record of each three-symbol key prefix (blank or A-Z each), plus an end
    // mark: narrows a lookup on a clean loaded file to a few neighbouring records.
    static constexpr int prefixSlots = 27 * 27 * 27;
    std::vector<quint32> prefixStart_;
    // For slots of more than splitThreshold records: where their 28 entries by the
    // fourth key byte begin in subStart_, or -1.
    static constexpr quint32 splitThreshold = 32;
    std::vector<qint32> subBase_;
    std::vector<quint32> subStart_;
};
