#include "tdictn.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr char blank = ' ';

inline char upcase(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

inline bool isBlank(char c)
{
    return c == blank || c == '\0';
}

// Loads the built-in block up to its first NUL byte (the whole block when it is well formed).
QByteArray builtinBlock(const QString &resource)
{
    QFile res(resource);
    if (resource.isEmpty() || !res.open(QIODevice::ReadOnly))
        return {};
    QByteArray block = res.readAll();
    const qsizetype nul = block.indexOf('\0');
    if (nul >= 0)
        block.truncate(nul);
    return block;
}

} // namespace

TDictn::TDictn(QObject *parent)
    : TDictn(QString(), builtinResource, parent)
{ }

TDictn::TDictn(const QString &folder, const QString &resource, QObject *parent, Access access)
    : QObject(parent)
    , folder_(folder.isEmpty() ? QDir::currentPath() : folder)
    , resource_(resource)
{
    openFile(access);
}

TDictn::~TDictn()
{
    // A file this run did not write is deleted only when it is a stale copy of the
    // built-in list (left by a copy that crashed); anyone else's "English" stays.
    const bool remove = wroteFile_ || isStaleCopy();
    file_.close();
    if (remove)
        QFile::remove(filePath());
}

QString TDictn::filePath() const
{
    return QDir(folder_).filePath(fileName);
}

void TDictn::openFile(Access access)
{
    const QString path = filePath();
    // The built-in block this run wrote as the file: what a read of the file would give.
    QByteArray written;
    if (!QFile::exists(path)) {
        const QByteArray block = builtinBlock(resource_);
        if (!block.isEmpty()) {
            // Written whole or not at all, so a failed write never leaves a cut-short
            // list behind for the next start to trust.
            QSaveFile out(path);
            if (out.open(QIODevice::WriteOnly) && out.write(block) == block.size() && out.commit()) {
                wroteFile_ = true;
                written = block;
            }
        }
    }

    file_.setFileName(path);
    // Unbuffered: a probe of the read fallback reads one record, not a buffer's worth.
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return;
    open_ = true;
    const qint64 size = file_.size();
    lastRecord_ = size / recordSize - 1;
    if (lastRecord_ >= 0 && access == Access::Loaded && size <= maxLoadedBytes) {
        // One copy, read once: a map would fault (SIGBUS) on the next lookup after
        // another process truncated the file.
        const qint64 bytes = (lastRecord_ + 1) * recordSize;
        if (written.size() == size)
            records_ = bytes == size ? written : written.first(bytes);
        else
            records_ = file_.read(bytes);
        if (records_.size() == bytes) {
            base_ = reinterpret_cast<const uchar *>(records_.constData());
            file_.close();
        } else {
            records_.clear();
        }
    }
    buildIndex();
}

bool TDictn::isStaleCopy() const
{
    if (!open_ || recordCount() <= 0)
        return false;
    const QByteArray block = builtinBlock(resource_);
    if (block.size() != QFileInfo(filePath()).size())
        return false;
    // The file as it is now, not as it was loaded: it may have been replaced since.
    QFile f(filePath());
    return f.open(QIODevice::ReadOnly) && f.readAll() == block;
}

bool TDictn::readRecord(qint64 index, char *out) const
{
    if (index < 0 || index > lastRecord_)
        return false;
    if (base_) {
        std::memcpy(out, base_ + index * recordSize, recordSize);
        return true;
    }
    return file_.seek(index * recordSize) && file_.read(out, recordSize) == recordSize;
}

bool TDictn::readRecords(qint64 first, qint64 count, char *out) const
{
    if (first < 0 || count < 0 || count > lastRecord_ + 1 - first)
        return false;
    const qint64 bytes = count * recordSize;
    if (base_) {
        std::memcpy(out, base_ + first * recordSize, size_t(bytes));
        return true;
    }
    return bytes == 0 || (file_.seek(first * recordSize) && file_.read(out, bytes) == bytes);
}

void TDictn::recordKey(const char *record, char *key)
{
    const char *word = record + 1;
    int first = 0;
    while (first < recordSize - 1 && isBlank(word[first]))
        ++first;
    int n = 0;
    for (int i = first; i < recordSize - 1; ++i)
        key[n++] = word[i] == '\0' ? blank : upcase(word[i]);
    // Trailing blanks were kept above; padding the rest gives the same key as trim-and-pad.
    std::memset(key + n, blank, keyLength - n);
}

QByteArray TDictn::wordkey(QByteArrayView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    QByteArray key(std::max<qsizetype>(end - begin, keyLength), blank);
    for (qsizetype i = begin; i < end; ++i)
        key[i - begin] = text[i] == '\0' ? blank : upcase(text[i]);
    return key;
}

namespace {

// Blank is 0, A to Z are 1 to 26: the order of the bytes.
inline int symbol(char c)
{
    return c == blank ? 0 : c - 'A' + 1;
}

} // namespace

int TDictn::prefixSlot(const char *key)
{
    return (symbol(key[0]) * 27 + symbol(key[1])) * 27 + symbol(key[2]);
}

void TDictn::buildIndex()
{
    // The fast search needs records whose key is their own bytes 1..14 (upper-case
    // letters and trailing blanks only) in strictly sorted order. Any other file is
    // searched record by record with full key normalisation.
    const qint64 count = recordCount();
    if (!base_ || count <= 0 || count > std::numeric_limits<quint32>::max())
        return;
    const char *data = reinterpret_cast<const char *>(base_);
    std::vector<quint32> start(prefixSlots + 1, 0);
    int nextSlot = 0;
    for (qint64 i = 0; i < count; ++i) {
        const char *word = data + i * recordSize + 1;
        if (word[0] == blank)
            return;
        bool seenBlank = false;
        for (int j = 0; j < recordSize - 1; ++j) {
            const char c = word[j];
            if (c == blank)
                seenBlank = true;
            else if (c < 'A' || c > 'Z' || seenBlank)
                return;
        }
        if (i > 0 && std::memcmp(word - recordSize, word, recordSize - 1) > 0)
            return;
        const int slot = prefixSlot(word);
        while (nextSlot <= slot)
            start[nextSlot++] = quint32(i);
    }
    while (nextSlot <= prefixSlots)
        start[nextSlot++] = quint32(count);

    // Slots with many records are split once more by the fourth key byte.
    std::vector<qint32> subBase(prefixSlots, -1);
    std::vector<quint32> subStart;
    for (int slot = 0; slot < prefixSlots; ++slot) {
        if (start[size_t(slot) + 1] - start[size_t(slot)] <= splitThreshold)
            continue;
        subBase[size_t(slot)] = qint32(subStart.size());
        quint32 i = start[size_t(slot)];
        for (int sym = 0; sym < 27; ++sym) {
            while (i < start[size_t(slot) + 1] && symbol(data[size_t(i) * recordSize + 4]) < sym)
                ++i;
            subStart.push_back(i);
        }
        subStart.push_back(start[size_t(slot) + 1]);
    }
    prefixStart_ = std::move(start);
    subBase_ = std::move(subBase);
    subStart_ = std::move(subStart);
}

qint64 TDictn::findword(const QString &text) const
{
    return findword(QByteArrayView(text.left(maxQueryLength).toLatin1()));
}

qint64 TDictn::findword(QByteArrayView text) const
{
    if (!open_)
        return -1;
    text = text.first(std::min<qsizetype>(text.size(), maxQueryLength));
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    // Empty or blank: no match. Every record key ends in a blank, so a query of
    // 15 or more letters never matches either.
    if (end == begin || end - begin >= keyLength)
        return -1;
    char query[keyLength];
    std::memset(query, blank, keyLength);
    bool plain = true; // letters only: the only queries the indexed file can hold
    for (qsizetype i = begin; i < end; ++i) {
        const char c = text[i] == '\0' ? blank : upcase(text[i]);
        query[i - begin] = c;
        plain = plain && c >= 'A' && c <= 'Z';
    }
    if (!prefixStart_.empty())
        return plain ? findIndexed(query) : -1;
    return findScanning(query);
}

namespace {

// A 14-byte word as two big-endian numbers, so that comparing them compares the
// bytes as unsigned values in order.
struct Word14
{
    quint64 high, low;

    explicit Word14(const char *p)
    {
        std::memcpy(&high, p, 8);
        low = 0;
        std::memcpy(&low, p + 8, 6);
        high = qFromBigEndian(high);
        low = qFromBigEndian(low);
    }
    bool operator<(const Word14 &o) const { return high < o.high || (high == o.high && low < o.low); }
    bool operator==(const Word14 &o) const { return high == o.high && low == o.low; }
};

} // namespace

qint64 TDictn::findIndexed(const char *query) const
{
    // Lower bound within the records sharing the query's first three (or four) key bytes.
    const int slot = prefixSlot(query);
    quint32 lo = prefixStart_[size_t(slot)], end = prefixStart_[size_t(slot) + 1];
    if (const qint32 base = subBase_[size_t(slot)]; base >= 0) {
        const size_t sub = size_t(base + symbol(query[3]));
        lo = subStart_[sub];
        end = subStart_[sub + 1];
    }
    quint32 hi = end;
    const char *words = reinterpret_cast<const char *>(base_) + 1;
    const Word14 key(query);
    while (lo < hi) {
        const quint32 mid = lo + (hi - lo) / 2;
        if (Word14(words + size_t(mid) * recordSize) < key)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < end && Word14(words + size_t(lo) * recordSize) == key ? qint64(lo) : -1;
}

qint64 TDictn::findScanning(const char *query) const
{
    char record[recordSize];
    char key[keyLength];
    qint64 lo = 0, hi = lastRecord_, found = -1;
    while (lo <= hi) {
        const qint64 mid = (lo + hi) / 2;
        if (!readRecord(mid, record))
            return -1;
        recordKey(record, key);
        const int cmp = std::memcmp(key, query, keyLength);
        if (cmp == 0) {
            found = mid;
            break;
        }
        if (cmp < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    if (found < 0)
        return -1;
    // Land on the first record of a run of equal records (cut 14-letter stems).
    while (found > 0 && readRecord(found - 1, record)) {
        recordKey(record, key);
        if (std::memcmp(key, query, keyLength) != 0)
            break;
        --found;
    }
    return found;
}
