#include "image/song_record.h"

#include <gtest/gtest.h>

#include <numeric>

#include "codec/lzw_compress.h"

namespace zmr {
namespace {

std::vector<uint8_t> filled(size_t n, uint8_t start) {
    std::vector<uint8_t> v(n);
    std::iota(v.begin(), v.end(), start);
    return v;
}

TEST(SongRecord, FramesBothSectionsWithBigEndianWords) {
    const auto text = filled(100, 1);
    const auto events = filled(20, 200);
    const auto record = frameSongRecord(text, 424, events, 35);

    ASSERT_EQ(record.size(), 144u);  // 24 + 100 + 20, already a multiple of 16
    const std::vector<uint8_t> head{0, 0, 0, 0x64, 0, 0, 0x01, 0xA8, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), record.begin()));
    EXPECT_TRUE(std::equal(text.begin(), text.end(), record.begin() + 12));
    const std::vector<uint8_t> middle{0, 0, 0, 0x14, 0, 0, 0, 0x23, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(middle.begin(), middle.end(), record.begin() + 112));
    EXPECT_TRUE(std::equal(events.begin(), events.end(), record.begin() + 124));
}

TEST(SongRecord, PadsWithZerosToSixteen) {
    const auto record = frameSongRecord(filled(100, 1), 424, filled(12, 1), 20);
    ASSERT_EQ(record.size(), 144u);
    for (size_t i = 136; i < 144; ++i) EXPECT_EQ(record[i], 0) << i;

    for (size_t text = 1; text < 40; ++text) {
        for (size_t events = 0; events < 20; ++events) {
            const size_t size = frameSongRecord(filled(text, 0), 0, filled(events, 0), 0).size();
            EXPECT_EQ(size % 16, 0u);
            EXPECT_GE(size, 24 + text + events);
            EXPECT_LE(size, 24 + text + events + 15);
        }
    }
}

TEST(SongRecord, EmptyEventSectionHasNoBytes) {
    const auto record = frameSongRecord(filled(8, 1), 136, {}, 0);
    ASSERT_EQ(record.size(), 32u);
    for (size_t i = 20; i < 32; ++i) EXPECT_EQ(record[i], 0) << i;
}

// Straight into a buffer that held a longer record before: the same bytes as
// framing the two compressed streams, zero padding included.
TEST(SongRecord, CompressedStraightIntoAUsedBufferGivesTheFramedBytes) {
    std::vector<uint8_t> record(5000, 0xEE);
    for (size_t text = 1; text < 60; text += 7) {
        for (size_t events : {0u, 1u, 5u, 33u, 700u}) {
            const auto t = filled(text, 3);
            const auto e = filled(events, static_cast<uint8_t>(text));
            compressSongRecord(t, e, record);
            EXPECT_EQ(record, frameSongRecord(lzwCompress(t), static_cast<uint32_t>(text), lzwCompress(e),
                                              static_cast<uint32_t>(events)))
                << text << " text bytes, " << events << " event bytes";
        }
    }
}

}  // namespace
}  // namespace zmr
