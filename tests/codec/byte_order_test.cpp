#include "codec/byte_order.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace zmr {
namespace {

template <class Word, size_t N>
std::array<uint8_t, sizeof(Word) * N> memoryOf(const std::array<Word, N>& words) {
    std::array<uint8_t, sizeof(Word) * N> bytes;
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

TEST(ByteOrder, ToBigEndian32PutsTheMostSignificantByteFirstInMemory) {
    std::array<uint32_t, 2> words = {0x11223344u, 0xA0B0C0D0u};
    toBigEndian32(words);
    const std::array<uint8_t, 8> expected = {0x11, 0x22, 0x33, 0x44, 0xA0, 0xB0, 0xC0, 0xD0};
    EXPECT_EQ(memoryOf(words), expected);
    // The same rewrite brings the host values back.
    toBigEndian32(words);
    EXPECT_EQ(words[0], 0x11223344u);
    EXPECT_EQ(words[1], 0xA0B0C0D0u);
}

TEST(ByteOrder, ACountOfZeroChangesNothing) {
    std::array<uint32_t, 1> word = {0x01020304u};
    toBigEndian32(std::span<uint32_t>(word.data(), 0));
    EXPECT_EQ(word[0], 0x01020304u);
    std::array<uint16_t, 1> half = {0x0102u};
    fromBigEndian16(std::span<uint16_t>(half.data(), 0));
    EXPECT_EQ(half[0], 0x0102u);
}

TEST(ByteOrder, FromBigEndian16ReadsHeaderFields) {
    // Format 1, 3 tracks, division 480, as they lie in a MIDI header.
    const uint8_t header[] = {0x00, 0x01, 0x00, 0x03, 0x01, 0xE0};
    std::array<uint16_t, 3> fields;
    std::memcpy(fields.data(), header, sizeof header);
    fromBigEndian16(fields);
    EXPECT_EQ(fields, (std::array<uint16_t, 3>{1, 3, 480}));
}

TEST(ByteOrder, LoadAndStoreWorkOnBytes) {
    uint8_t bytes[4];
    storeBigEndian32(bytes, 0xDEADBEEFu);
    EXPECT_EQ(bytes[0], 0xDE);
    EXPECT_EQ(bytes[3], 0xEF);
    EXPECT_EQ(loadBigEndian32(bytes), 0xDEADBEEFu);
    EXPECT_EQ(loadBigEndian16(bytes + 2), 0xBEEFu);
}

}  // namespace
}  // namespace zmr
