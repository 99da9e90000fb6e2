#include "support/midi_writer.h"

#include <gtest/gtest.h>

namespace zmr::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(MidiWriter, RunningStatusLeavesOutRepeatedStatusAcrossMetaEvents) {
    TrackWriter t(true);
    t.noteOn(0, 1, 60, 100).lyric(0, "a").noteOn(10, 1, 62, 90).noteOn(0, 2, 60, 1);
    EXPECT_EQ(t.bytes(), (Bytes{0x00, 0x91, 60, 100, 0x00, 0xFF, 0x05, 0x01, 'a', 0x0A, 62, 90, 0x00, 0x92, 60, 1}));
}

TEST(MidiWriter, FileHasHeaderAndChunksAndCanLie) {
    TrackWriter t;
    t.programChange(0, 5, 0x10).tempo(0x81, 500000).endOfTrack();
    const Bytes honest = MidiFile(480).add(t).bytes();
    const Bytes expected = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0x01, 0xE0,
                            'M', 'T', 'r', 'k', 0, 0, 0, 15,
                            0x00, 0xC5, 0x10, 0x81, 0x01, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(honest, expected);

    const Bytes lying = MidiFile(96, 0).add(t, 0xFFFFFFFF).claimTrackCount(65535).claimHeaderLength(9).bytes();
    EXPECT_EQ(Bytes(lying.begin() + 4, lying.begin() + 14), (Bytes{0, 0, 0, 9, 0, 0, 0xFF, 0xFF, 0, 96}));
    EXPECT_EQ(Bytes(lying.begin() + 18, lying.begin() + 22), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(lying.size(), honest.size());
}

}  // namespace
}  // namespace zmr::test
