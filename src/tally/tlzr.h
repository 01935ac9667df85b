#pragma once

#include <array>
#include <cstdint>

// The LZRW1/KH block engine: encodes one chunk of at most 32,768 bytes into a block
// body and decodes a body back. Both work on whole buffers in memory.
//
// A body starts with a flag byte: 0x80 "stored" (the chunk follows unchanged) or 0x40
// "compressed". A compressed body is a run of groups, each a 16-bit command word
// (high byte first) and up to 16 items; bit 15 describes the first item. A clear bit
// is one literal byte; a set bit is a copy token b0 b1 (offset (b0 << 4) | (b1 >> 4)
// from 1 to 4095, length (b1 & 0x0F) + 3) or, when that offset field is 0, a run
// token 0x00 h l c (byte c repeated ((h << 8) | l) + 16 times).
class TLZR
{
public:
    static constexpr int chunkSize = 32768;
    // A chunk's body never exceeds this many bytes (the chunk plus the largest overrun
    // of the encoder before it falls back to a stored body).
    static constexpr int bufferSize = chunkSize + 16;
    static constexpr std::uint8_t flagCompressed = 0x40;
    static constexpr std::uint8_t flagStored = 0x80;

    // Encodes the `length` (0..chunkSize) bytes at `source` into `body`, which has room
    // for bufferSize bytes, and returns the body's length: at most `length` when the
    // chunk compresses, otherwise `length` + 1 for a stored body. The output is fully
    // determined by the input, byte for byte, as other copies of the program expect.
    int compress(const std::uint8_t *source, int length, std::uint8_t *body);

    // Decodes the `length` bytes of `body` into `dest`, which has room for `capacity`
    // bytes, and returns the decoded length, or -1 when the body is malformed: an
    // unknown flag, a truncated command word or token, a copy reaching before the start
    // of the output, or output beyond `capacity`. Never reads or writes outside the two
    // buffers. A body shorter than 2 bytes decodes to nothing.
    static int decompress(const std::uint8_t *body, int length, std::uint8_t *dest, int capacity);

private:
    static constexpr std::uint16_t emptyEntry = 0xFFFF;
    // Where each 3-byte hash was last seen in the current chunk.
    std::array<std::uint16_t, 4096> hashTable;
};
