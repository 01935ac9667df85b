// Arbitrary bytes on the lobby's end of the companion connection: cut into the reads
// of a connection (the first byte of each piece gives its length), the reader keeps
// its bound and takes only messages that encode back to the line they came from.
#include "companionwire.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    CompanionWire::Reader reader;
    while (!bytes.isEmpty()) {
        const qsizetype length = std::min<qsizetype>(bytes.size() - 1, quint8(bytes.front()));
        const QByteArrayView piece = bytes.sliced(1, length);
        bytes = bytes.sliced(1 + length);
        for (const CompanionWire::Message &m : reader.append(piece)) {
            const QByteArray line = CompanionWire::encode(m);
            if (line.size() > CompanionWire::maxLineBytes || !line.endsWith('\n'))
                __builtin_trap();
            const auto back = CompanionWire::decode(QByteArrayView(line).chopped(1));
            if (!back || !(*back == m))
                __builtin_trap();
        }
    }
    // Whole, as one read.
    for (const CompanionWire::Message &m :
        CompanionWire::Reader().append(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))))
        if (!CompanionWire::decode(QByteArrayView(CompanionWire::encode(m)).chopped(1)))
            __builtin_trap();
    return 0;
}
