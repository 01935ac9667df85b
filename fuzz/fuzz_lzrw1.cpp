// Arbitrary bytes as a block body, as a whole compressed file and as plain data: the
// decoder must stay inside its buffers and refuse what it cannot decode, and whatever
// decodes must survive a second trip through the encoder.
#include "tlzr.h"
#include "tlzrw1.h"

#include <QBuffer>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void checkBlock(const uint8_t *data, size_t size)
{
    static TLZR engine;
    if (size > 0xFFFF)
        return;
    // Exactly sized buffers, so that any stray access is caught by AddressSanitizer.
    std::vector<uint8_t> decoded(TLZR::chunkSize);
    const int length = TLZR::decompress(data, int(size), decoded.data(), TLZR::chunkSize);
    if (length < -1 || length > TLZR::chunkSize)
        __builtin_trap();
    if (length < 0)
        return;
    std::vector<uint8_t> body(TLZR::bufferSize);
    const int bodyLength = engine.compress(decoded.data(), length, body.data());
    if (bodyLength < 1 || bodyLength > length + 1)
        __builtin_trap();
    std::vector<uint8_t> again(size_t(length) + 1);
    if (TLZR::decompress(body.data(), bodyLength, again.data(), length) != length
        || std::memcmp(again.data(), decoded.data(), size_t(length)) != 0)
        __builtin_trap();
}

void checkFile(const uint8_t *data, size_t size)
{
    QBuffer in, out;
    in.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    Tlzrw1 codec;
    codec.setSizeLimit(1 << 24);
    const qint64 length = codec.decompressDevice(in, out);
    if (length >= 0 && (length != out.size() || codec.error() != Tlzrw1::Error::None))
        __builtin_trap();
    if (length < 0 && codec.errorString().isEmpty())
        __builtin_trap();
}

void checkRoundTrip(const uint8_t *data, size_t size)
{
    const QByteArray plain(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer in, packed;
    in.setData(plain);
    in.open(QIODevice::ReadOnly);
    packed.open(QIODevice::WriteOnly);
    Tlzrw1 codec;
    if (codec.compressDevice(in, packed) != packed.size())
        __builtin_trap();
    QBuffer source, out;
    source.setData(packed.data());
    source.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    if (codec.decompressDevice(source, out) != qint64(size) || out.data() != plain)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkBlock(data, size);
    checkFile(data, size);
    checkRoundTrip(data, size);
    return 0;
}
