#include "codec/var_len.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zmr {
namespace {

struct VarLenCase {
    std::vector<uint8_t> bytes;
    uint32_t value;
};

TEST(ReadVarLen, ReadsQuantitiesOfOneToFourBytes) {
    const VarLenCase cases[] = {
        {{0x00}, 0},
        {{0x40}, 0x40},
        {{0x7F}, 0x7F},
        {{0x81, 0x00}, 0x80},
        {{0xC0, 0x00}, 0x2000},
        {{0xFF, 0x7F}, 0x3FFF},
        {{0x81, 0x80, 0x00}, 0x4000},
        {{0xFF, 0xFF, 0x7F}, 0x1FFFFF},
        {{0x81, 0x80, 0x80, 0x00}, 0x200000},
        {{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFF},
    };
    for (const auto& c : cases) {
        // Followed by another byte, which must stay unread.
        auto track = c.bytes;
        track.push_back(0x90);
        uint32_t cursor = 0;
        EXPECT_EQ(readVarLen(track, cursor), c.value);
        EXPECT_EQ(cursor, c.bytes.size());
    }
}

TEST(ReadVarLen, OverLongQuantitiesKeepTheLow32Bits) {
    const VarLenCase cases[] = {
        {{0x8F, 0xFF, 0xFF, 0xFF, 0x7F}, 0xFFFFFFFFu},
        {{0x90, 0x80, 0x80, 0x80, 0x00}, 0},  // 2^32
        {{0x81, 0x80, 0x80, 0x80, 0x80, 0x01}, 1},  // 2^35 + 1
        {{0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x05}, 5},
    };
    for (const auto& c : cases) {
        uint32_t cursor = 0;
        EXPECT_EQ(readVarLen(c.bytes, cursor), c.value);
        EXPECT_EQ(cursor, c.bytes.size());
    }
}

TEST(ReadVarLen, ReadsFromTheCursorOnward) {
    const std::vector<uint8_t> track = {0x00, 0x83, 0x60, 0x7F};
    uint32_t cursor = 0;
    EXPECT_EQ(readVarLen(track, cursor), 0u);
    EXPECT_EQ(readVarLen(track, cursor), 480u);
    EXPECT_EQ(readVarLen(track, cursor), 0x7Fu);
    EXPECT_EQ(cursor, 4u);
}

TEST(ReadVarLen, AQuantityRunningPastTheEndYieldsNothingAndStopsAtTheEnd) {
    const std::vector<uint8_t> track = {0x00, 0x81, 0x80};
    uint32_t cursor = 1;
    EXPECT_EQ(readVarLen(track, cursor), std::nullopt);
    EXPECT_EQ(cursor, 3u);
    EXPECT_EQ(readVarLen(track, cursor), std::nullopt);
    EXPECT_EQ(cursor, 3u);
    cursor = 0;
    EXPECT_EQ(readVarLen(std::span<const uint8_t>{}, cursor), std::nullopt);
    EXPECT_EQ(cursor, 0u);
}

TEST(AppendVarLen, WritesSevenBitGroupsMostSignificantFirst) {
    const std::pair<uint64_t, std::vector<uint8_t>> cases[] = {
        {0, {0x00}},
        {0x7F, {0x7F}},
        {0x80, {0x81, 0x00}},
        {0x3FFF, {0xFF, 0x7F}},
        {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
        {0xFFFFFFFF, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
        // Extract's deltas are 64-bit: nothing of a large one is dropped.
        {uint64_t{1} << 35, {0x81, 0x80, 0x80, 0x80, 0x80, 0x00}},
    };
    for (const auto& [value, expected] : cases) {
        std::vector<uint8_t> out = {0xAA};  // appends, keeping what is there
        appendVarLen(out, value);
        std::vector<uint8_t> want = {0xAA};
        want.insert(want.end(), expected.begin(), expected.end());
        EXPECT_EQ(out, want) << value;
    }
}

TEST(AppendVarLen, ReadsBackWhatItWrote) {
    for (const uint32_t value : {0u, 1u, 0x40u, 0x7Fu, 0x80u, 0x2000u, 0x1FFFFFu, 0x200000u, 0x0FFFFFFFu}) {
        std::vector<uint8_t> out;
        appendVarLen(out, value);
        uint32_t cursor = 0;
        EXPECT_EQ(readVarLen(out, cursor), value);
        EXPECT_EQ(cursor, out.size());
    }
}

}  // namespace
}  // namespace zmr
