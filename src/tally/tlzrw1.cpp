#include "tlzrw1.h"

#include "tlzr.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <memory>
#include <new>

namespace {

const QByteArray fastSignature = QByteArrayLiteral("WRZL");
const QByteArray lzhSignature = QByteArrayLiteral("!HZL");

QString nameOf(const QIODevice &device)
{
    if (auto *file = qobject_cast<const QFileDevice *>(&device))
        return file->fileName();
    return QString();
}

// Reads up to `size` bytes, stopping early only at the end of the data. Returns the
// count read, or -1 on a read error.
qint64 readFully(QIODevice &device, std::uint8_t *buffer, qint64 size)
{
    qint64 total = 0;
    while (total < size) {
        const qint64 got = device.read(reinterpret_cast<char *>(buffer) + total, size - total);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

bool writeFully(QIODevice &device, const std::uint8_t *buffer, qint64 size)
{
    return device.write(reinterpret_cast<const char *>(buffer), size) == size;
}

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(b).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(a).canonicalFilePath();
}

QString openInputMessage(const QString &name)
{
    return QStringLiteral("Lzrw1 (de)compression : Failed to open input file : ") % name;
}

QString openOutputMessage(const QString &name)
{
    return QStringLiteral("Lzrw1 (de)compression : Failed to open output file : ") % name;
}

std::unique_ptr<std::uint8_t[]> allocateBuffer()
{
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[TLZR::bufferSize]);
}

} // namespace

qint64 Tlzrw1::fail(Error error, const QString &message)
{
    lastError_ = error;
    lastMessage_ = message;
    return -1;
}

bool Tlzrw1::devicesReady(const QIODevice &input, const QIODevice &output)
{
    lastError_ = Error::None;
    lastMessage_.clear();
    if (!input.isOpen() || !input.isReadable()) {
        fail(Error::OpenInput, openInputMessage(nameOf(input)));
        return false;
    }
    if (!output.isOpen() || !output.isWritable()) {
        fail(Error::OpenOutput, openOutputMessage(nameOf(output)));
        return false;
    }
    return true;
}

qint64 Tlzrw1::Compress(const QString &inputFile, const QString &outputFile)
{
    const QFileInfo info(inputFile);
    if (!info.exists() || !info.isFile())
        return fail(Error::InputSize,
            QStringLiteral("Lzrw1 compression : Failed to obtain the size of : ") % inputFile);
    QFile input(inputFile);
    if (!input.open(QIODevice::ReadOnly))
        return fail(Error::OpenInput, openInputMessage(inputFile));
    QFile output(outputFile);
    if (sameFile(inputFile, outputFile) || !output.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(Error::OpenOutput, openOutputMessage(outputFile));
    const qint64 written = compressDevice(input, output);
    output.close();
    // Only a regular file is deleted: never a device or pipe given as the output.
    if (written < 0 && QFileInfo(outputFile).isFile())
        output.remove();
    return written;
}

qint64 Tlzrw1::Decompress(const QString &inputFile, const QString &outputFile)
{
    QFile input(inputFile);
    if (!input.open(QIODevice::ReadOnly))
        return fail(Error::OpenInput, openInputMessage(inputFile));
    QFile output(outputFile);
    if (sameFile(inputFile, outputFile) || !output.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(Error::OpenOutput, openOutputMessage(outputFile));
    const qint64 written = decompressDevice(input, output);
    if (written < 0)
        output.resize(0);
    output.close();
    return written;
}

qint64 Tlzrw1::compressDevice(QIODevice &input, QIODevice &output)
{
    if (!devicesReady(input, output))
        return -1;
    const QString inputName = nameOf(input);
    const QString outputName = nameOf(output);
    if (input.isSequential())
        return fail(Error::InputSize,
            QStringLiteral("Lzrw1 compression : Failed to obtain the size of : ") % inputName);
    const qint64 size = input.size() - input.pos();
    if (size > 0xFFFFFFFFLL)
        return fail(Error::TooLarge,
            QStringLiteral("Lzrw1 compression : the input is too large for the header : ") % inputName);

    auto chunk = allocateBuffer();
    auto body = allocateBuffer();
    if (!chunk || !body)
        return fail(Error::NoMemory,
            QStringLiteral("Lzrw1 (de)compression : Failed to get memory for I/O buffers !"));
    std::unique_ptr<TLZR> engine(new (std::nothrow) TLZR);
    if (!engine)
        return fail(Error::NoMemory, QStringLiteral("LZRW1KH : no memory for HASH table"));

    const QString readError = QStringLiteral("Lzrw1 : Error reading from input file : ") % inputName;
    const QString writeError = QStringLiteral("Lzrw1 : Error writing to output file : ") % outputName;

    std::uint8_t header[headerSize];
    std::copy(fastSignature.begin(), fastSignature.end(), header);
    for (int i = 0; i < 4; ++i)
        header[4 + i] = std::uint8_t(quint64(size) >> (8 * i));
    if (!writeFully(output, header, headerSize))
        return fail(Error::Write, writeError);
    qint64 written = headerSize;

    qint64 consumed = 0;
    for (;;) {
        const qint64 got = readFully(input, chunk.get(), TLZR::chunkSize);
        if (got < 0)
            return fail(Error::Read, readError);
        consumed += got;
        if (consumed > size)
            return fail(Error::Read, readError);
        const int length = engine->compress(chunk.get(), int(got), body.get());
        const std::uint8_t prefix[2] = {std::uint8_t(length), std::uint8_t(length >> 8)};
        if (!writeFully(output, prefix, 2) || !writeFully(output, body.get(), length))
            return fail(Error::Write, writeError);
        written += 2 + length;
        if (got < TLZR::chunkSize)
            break;
    }
    // The header already holds the size: an input that shrank on the way is an error.
    if (consumed != size)
        return fail(Error::Read, readError);
    if (auto *file = qobject_cast<QFileDevice *>(&output); file && !file->flush())
        return fail(Error::Write, writeError);
    return written;
}

qint64 Tlzrw1::decompressDevice(QIODevice &input, QIODevice &output)
{
    if (!devicesReady(input, output))
        return -1;
    const QString inputName = nameOf(input);
    const QString outputName = nameOf(output);

    auto body = allocateBuffer();
    auto chunk = allocateBuffer();
    if (!body || !chunk)
        return fail(Error::NoMemory,
            QStringLiteral("Lzrw1 (de)compression : Failed to get memory for I/O buffers !"));

    const QString readError = QStringLiteral("Lzrw1 : Error reading from input file : ") % inputName;
    const QString writeError = QStringLiteral("Lzrw1 : Error writing to output file : ") % outputName;
    const QString mismatch
        = QStringLiteral("Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");

    std::uint8_t header[headerSize];
    const qint64 gotSignature = readFully(input, header, 4);
    if (gotSignature < 0)
        return fail(Error::Read, readError);
    const QByteArrayView signature(header, gotSignature);
    if (signature == lzhSignature)
        return fail(Error::Unsupported,
            inputName % QStringLiteral(" : Lzrw1 decompression : LZH compressed files are not supported !"));
    if (signature != fastSignature)
        return fail(Error::Header,
            inputName % QStringLiteral(" : Lzrw1 decompression : this file has no valid header !"));
    if (readFully(input, header + 4, 4) != 4)
        return fail(Error::Read, readError);
    const qint64 size
        = qint64(header[4]) | qint64(header[5]) << 8 | qint64(header[6]) << 16 | qint64(header[7]) << 24;
    if (size > limit_)
        return fail(Error::TooLarge,
            inputName % QStringLiteral(" : Lzrw1 decompression : the file is larger than ")
                % QString::number(limit_) % QStringLiteral(" bytes !"));

    qint64 total = 0;
    for (;;) {
        std::uint8_t prefix[2];
        if (readFully(input, prefix, 2) != 2)
            return fail(Error::Read, readError);
        const int length = prefix[0] | prefix[1] << 8;
        if (length > TLZR::bufferSize)
            return fail(Error::Corrupt,
                inputName % QStringLiteral(" : Lzrw1 decompression : the compressed data is corrupt !"));
        if (readFully(input, body.get(), length) != length)
            return fail(Error::Read, readError);
        const int decoded = TLZR::decompress(body.get(), length, chunk.get(), TLZR::chunkSize);
        if (decoded < 0)
            return fail(Error::Corrupt,
                inputName % QStringLiteral(" : Lzrw1 decompression : the compressed data is corrupt !"));
        if (decoded > size - total)
            return fail(Error::SizeMismatch, mismatch);
        if (!writeFully(output, chunk.get(), decoded))
            return fail(Error::Write, writeError);
        total += decoded;
        if (decoded < TLZR::chunkSize)
            break;
    }
    if (total != size)
        return fail(Error::SizeMismatch, mismatch);
    if (auto *file = qobject_cast<QFileDevice *>(&output); file && !file->flush())
        return fail(Error::Write, writeError);
    return total;
}
