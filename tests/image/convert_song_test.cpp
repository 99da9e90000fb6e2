#include "image/convert_song.h"

#include <gtest/gtest.h>

#include "codec/byte_order.h"
#include "codec/lzw_decompress.h"
#include "support/midi_writer.h"

namespace zmr {
namespace {

struct Sections {
    std::vector<uint8_t> text, events;
    uint32_t compressedText, compressedEvents;
};

// Splits a framed record back into its two decoded sections.
Sections unframe(const std::vector<uint8_t>& record) {
    Sections s;
    s.compressedText = loadBigEndian32(&record[0]);
    const uint32_t textLength = loadBigEndian32(&record[4]);
    EXPECT_EQ(loadBigEndian32(&record[8]), 0u);
    const size_t e = 12 + s.compressedText;
    s.compressedEvents = loadBigEndian32(&record[e]);
    const uint32_t eventLength = loadBigEndian32(&record[e + 4]);
    EXPECT_EQ(loadBigEndian32(&record[e + 8]), 0u);
    auto text = lzwDecompress(std::span(record).subspan(12, s.compressedText), textLength);
    auto events = lzwDecompress(std::span(record).subspan(e + 12, s.compressedEvents), eventLength);
    EXPECT_TRUE(text) << text.message();
    EXPECT_TRUE(events) << events.message();
    if (text) s.text = *text;
    if (events) s.events = *events;
    return s;
}

TEST(ConvertSong, SongBecomesBothStreamsAndItsName) {
    test::TrackWriter conductor;
    conductor.tempo(0, 500000).endOfTrack();
    test::TrackWriter voice;
    voice.programChange(0, 5, 0x10).lyric(0, "Em").noteOn(0, 5, 60, 100).lyric(480, " ye^u").noteOff(0, 5, 60).endOfTrack();
    const auto file = test::MidiFile(480).add(conductor).add(voice).bytes();

    auto song = convertSong("/music/Abc.kar", file);
    ASSERT_TRUE(song) << song.message();
    EXPECT_EQ(song->name, "Abc\tEm ye^u");
    EXPECT_EQ(song->bytes.size() % 16, 0u);

    const Sections s = unframe(song->bytes);
    ASSERT_EQ(s.events.size(), 10u);  // program change, then the note with its duration
    EXPECT_EQ(std::vector<uint8_t>(s.events.begin(), s.events.begin() + 5),
              (std::vector<uint8_t>{0, 1, 0xC5, 0x10, 0xFF}));
    EXPECT_EQ(s.events[7], 5);    // channel
    EXPECT_EQ(s.events[6], 29);   // 480 ticks at 500000 us: 29 time units
    // Header of 34 records, E and m, space y e^ u, two closing records.
    EXPECT_EQ(s.text.size(), 4u * (34 + 6 + 2));
}

TEST(ConvertSong, SongWithoutEventsHasAnEmptyEventSection) {
    test::TrackWriter track;
    track.text(0, "just text").endOfTrack();
    auto song = convertSong("Quiet.mid", test::MidiFile(96).add(track).bytes());
    ASSERT_TRUE(song) << song.message();
    const Sections s = unframe(song->bytes);
    EXPECT_EQ(s.compressedEvents, 0u);
    EXPECT_TRUE(s.events.empty());
    // Text header (31 records plus 5 for the title), then the two closing records.
    EXPECT_EQ(s.text.size(), 4u * (31 + 5) + 8);
    EXPECT_EQ(song->bytes.size(), (24 + s.compressedText + 15) / 16 * 16);
}

TEST(ConvertSong, RejectedSongCarriesTheReadersMessage) {
    test::TrackWriter track;
    track.noteOn(0, 0, 60, 100).raw({0x00, 0xF8}).endOfTrack();
    auto song = convertSong("x.mid", test::MidiFile(96).add(track).bytes());
    ASSERT_FALSE(song);
    EXPECT_EQ(song.message(), "Unknown command 0xF8\n");

    EXPECT_EQ(convertSong("x.mid", std::vector<uint8_t>{'M', 'T', 'h', 'd'}).message(), "Invalid MIDI file\n");
}

TEST(ConvertSong, SameInputGivesSameBytes) {
    test::TrackWriter track;
    for (int i = 0; i < 200; ++i) track.noteOn(i ? 10 : 0, i % 16, static_cast<uint8_t>(40 + i % 40), 80).lyric(0, "la ");
    track.endOfTrack();
    const auto file = test::MidiFile(192).add(track).bytes();
    auto a = convertSong("a/B.mid", file);
    auto b = convertSong("c\\B.mid", file);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->bytes, b->bytes);
    EXPECT_EQ(a->name, b->name);
}

// One set of buffers carries nothing from song to song: a note left sounding
// at the end of one song is not closed by a note-off of the same key in the
// next, and a shorter song after a longer one is not padded with its bytes.
TEST(ConvertSong, ReusedBuffersGiveTheBytesOfFreshOnes) {
    test::TrackWriter open;
    for (int n = 0; n < 40; ++n) open.noteOn(10, 3, static_cast<uint8_t>(40 + n), 90).lyric(0, "la ");
    const auto longSong = test::MidiFile(96).add(open.endOfTrack()).bytes();
    test::TrackWriter closing;
    closing.noteOff(0, 3, 40).noteOn(5, 3, 41, 80).lyric(0, "a").noteOff(20, 3, 41).endOfTrack();
    const auto shortSong = test::MidiFile(96).add(closing).bytes();

    ConversionBuffers buffers;
    for (const auto* file : {&longSong, &shortSong, &longSong, &shortSong}) {
        const auto reused = convertSong("x/Song.mid", *file, buffers);
        const auto fresh = convertSong("x/Song.mid", *file);
        ASSERT_TRUE(reused && fresh);
        EXPECT_EQ(reused->bytes, fresh->bytes);
        EXPECT_EQ(reused->name, fresh->name);
        buffers.record = reused->bytes;  // handed back, as a compilation does
    }
}

}  // namespace
}  // namespace zmr
