#pragma once

#include <QString>

class QIODevice;

// The compressed file format of the tally file: a file-to-file codec over the
// LZRW1/KH block engine TLZR.
//
// Container, integers little-endian:
//   offset 0, 4 bytes: signature "WRZL" (LZRW1/KH; "!HZL" marks the LZH mode, which is
//                      recognised and refused)
//   offset 4, 4 bytes: the uncompressed size
//   offset 8, blocks:  a 2-byte body length L, then L bytes of body (see TLZR), one
//                      block per chunk of 32,768 input bytes; the last block is the
//                      first whose chunk is shorter, so an input that is a multiple of
//                      32,768 bytes ends with an empty block (L = 1, body 0x80).
//
// Every failure returns -1 and leaves error() and errorString() set; the message
// texts are the codec's own and are shown to players as they are.
class Tlzrw1
{
public:
    enum class Error {
        None,
        NoMemory,
        InputSize,
        OpenInput,
        OpenOutput,
        Read,
        Write,
        Header,
        Unsupported,
        SizeMismatch,
        Corrupt,
        TooLarge,
    };

    static constexpr int headerSize = 8;

    // Compresses the file `inputFile` into `outputFile` (created or truncated) and
    // returns the number of bytes written. On failure the output file is deleted.
    qint64 Compress(const QString &inputFile, const QString &outputFile);

    // Decompresses the file `inputFile` into `outputFile` (created or truncated) and
    // returns the uncompressed size. On failure the output file is left empty, so a
    // damaged file never yields partial data.
    qint64 Decompress(const QString &inputFile, const QString &outputFile);

    // The same on devices opened by the caller. `input` must be random-access when
    // compressing (its size goes into the header). On failure `output` may hold
    // partial data; the caller discards it. Names in messages are the devices' file
    // names.
    qint64 compressDevice(QIODevice &input, QIODevice &output);
    qint64 decompressDevice(QIODevice &input, QIODevice &output);

    // Decompression refuses a header announcing more than `bytes` bytes, before any
    // output is written. The default accepts every 32-bit size.
    void setSizeLimit(qint64 bytes) { limit_ = bytes; }
    qint64 sizeLimit() const { return limit_; }

    Error error() const { return lastError_; }
    QString errorString() const { return lastMessage_; }

private:
    qint64 fail(Error error, const QString &message);
    // Clears the last error; false (with the error set) unless `input` is open for
    // reading and `output` for writing.
    bool devicesReady(const QIODevice &input, const QIODevice &output);

    qint64 limit_ = 0xFFFFFFFFLL;
    Error lastError_ = Error::None;
    QString lastMessage_;
};
