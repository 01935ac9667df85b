#include "tlzr.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int maxRun = 4095;
constexpr int minRun = 16;
constexpr int maxOffset = 4095;
constexpr int minMatch = 3;
constexpr int maxMatch = 18;
constexpr int groupItems = 16;

inline unsigned hashOf(const std::uint8_t *p)
{
    // Only bits 4..15 of the product count, so the width of the arithmetic does not
    // change the result.
    const std::uint32_t key = ((((std::uint32_t(p[0]) << 4) ^ p[1]) << 4) ^ p[2]);
    return ((key * 40543u) >> 4) & 0x0FFF;
}

inline void putCommand(std::uint8_t *slot, std::uint16_t command)
{
    slot[0] = std::uint8_t(command >> 8);
    slot[1] = std::uint8_t(command);
}

} // namespace

int TLZR::compress(const std::uint8_t *source, int length, std::uint8_t *body)
{
    hashTable.fill(emptyEntry);
    body[0] = flagCompressed;
    int commandSlot = 1;
    int out = 3;
    int in = 0;
    std::uint16_t command = 0;
    int items = 0;

    while (in < length && out <= length) {
        if (items == groupItems) {
            putCommand(body + commandSlot, command);
            commandSlot = out;
            out += 2;
            command = 0;
            items = 0;
        }

        const std::uint8_t current = source[in];
        int run = 1;
        while (run < maxRun && in + run < length && source[in + run] == current)
            ++run;
        if (run >= minRun) {
            body[out] = 0;
            body[out + 1] = std::uint8_t((run - minRun) >> 8);
            body[out + 2] = std::uint8_t(run - minRun);
            body[out + 3] = current;
            out += 4;
            in += run;
            command = std::uint16_t((command << 1) | 1);
            ++items;
            continue;
        }

        // With fewer than three bytes left no match is possible, so the table is left
        // alone: no later position of this chunk could use the entry.
        int matched = 0;
        int distance = 0;
        if (length - in >= minMatch) {
            std::uint16_t &entry = hashTable[hashOf(source + in)];
            const int candidate = entry;
            entry = std::uint16_t(in);
            if (candidate != emptyEntry && in - candidate <= maxOffset) {
                const int limit = std::min(maxMatch, length - in);
                while (matched < limit && source[candidate + matched] == source[in + matched])
                    ++matched;
                distance = in - candidate;
            }
        }
        if (matched >= minMatch) {
            const int token = (distance << 4) | (matched - minMatch);
            body[out] = std::uint8_t(token >> 8);
            body[out + 1] = std::uint8_t(token);
            out += 2;
            in += matched;
            command = std::uint16_t((command << 1) | 1);
        } else {
            body[out++] = current;
            ++in;
            command = std::uint16_t(command << 1);
        }
        ++items;
    }
    putCommand(body + commandSlot, std::uint16_t(command << (groupItems - items)));

    if (out <= length)
        return out;
    body[0] = flagStored;
    if (length > 0)
        std::memcpy(body + 1, source, std::size_t(length));
    return length + 1;
}

int TLZR::decompress(const std::uint8_t *body, int length, std::uint8_t *dest, int capacity)
{
    if (length < 2)
        return 0;
    if (body[0] == flagStored) {
        if (length - 1 > capacity)
            return -1;
        std::memcpy(dest, body + 1, std::size_t(length - 1));
        return length - 1;
    }
    if (body[0] != flagCompressed || length < 3)
        return -1;

    std::uint16_t command = std::uint16_t((body[1] << 8) | body[2]);
    int bits = groupItems;
    int in = 3;
    int out = 0;
    while (in < length) {
        if (bits == 0) {
            // A command word is always followed by at least one item.
            if (length - in < 3)
                return -1;
            command = std::uint16_t((body[in] << 8) | body[in + 1]);
            in += 2;
            bits = groupItems;
        }
        if ((command & 0x8000) == 0) {
            if (out >= capacity)
                return -1;
            dest[out++] = body[in++];
        } else {
            if (length - in < 2)
                return -1;
            const int offset = (body[in] << 4) | (body[in + 1] >> 4);
            if (offset == 0) {
                if (length - in < 4)
                    return -1;
                const int run = ((body[in + 1] << 8) | body[in + 2]) + minRun;
                if (run > capacity - out)
                    return -1;
                std::memset(dest + out, body[in + 3], std::size_t(run));
                out += run;
                in += 4;
            } else {
                const int count = (body[in + 1] & 0x0F) + minMatch;
                if (offset > out || count > capacity - out)
                    return -1;
                const std::uint8_t *from = dest + out - offset;
                std::uint8_t *to = dest + out;
                if (offset >= count) {
                    std::memcpy(to, from, std::size_t(count));
                } else {
                    // The source overlaps the bytes being written: copy one at a time.
                    for (int i = 0; i < count; ++i)
                        to[i] = from[i];
                }
                out += count;
                in += 2;
            }
        }
        command = std::uint16_t(command << 1);
        --bits;
    }
    return out;
}
