// Arbitrary bytes as a word-list file and as queries: the search must stay inside the file.
#include "tdictn.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    if (size < 2)
        return 0;
    // First byte: length of the query taken from the end; the rest is the file.
    const size_t queryLength = std::min<size_t>(data[0], size - 1);
    const QByteArray query(reinterpret_cast<const char *>(data + size - queryLength), qsizetype(queryLength));
    const QByteArray file(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1 - queryLength));
    {
        QFile f(dir.filePath(TDictn::fileName));
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(file);
    }
    // The in-memory search (indexed when the file is clean and sorted) and the plain
    // record-by-record search must agree on every query.
    TDictn loaded(dir.path(), QString(), nullptr, TDictn::Access::Loaded);
    TDictn reads(dir.path(), QString(), nullptr, TDictn::Access::Reads);
    auto check = [&](QByteArrayView q) {
        const qint64 pos = loaded.findword(q);
        if (pos < -1 || pos >= loaded.recordCount() || pos != reads.findword(q))
            __builtin_trap();
    };
    check(QByteArrayView(query));
    for (qint64 i = 0; i < std::min<qint64>(loaded.recordCount(), 64); ++i)
        check(QByteArrayView(file.constData() + i * 15 + 1, 14));
    return 0;
}
