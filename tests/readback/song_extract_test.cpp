// Songs back out of an image: the MIDI file must play as the player would and
// compile to the same streams again.

#include "readback/song_extract.h"

#include <gtest/gtest.h>

#include "midi/time_units.h"
#include "readback/image_index.h"
#include "readback/song_streams.h"
#include "support/memory_compile.h"

namespace zmr {
namespace {

struct Streams {
    std::vector<uint8_t> text, events;
};

Streams streamsOf(const SongRecord& record) {
    const std::optional<RecordFraming> f = readRecordFraming(record.bytes, 0);
    EXPECT_TRUE(f.has_value());
    return {*decodeSection(record.bytes, f->text, true), *decodeSection(record.bytes, f->events, true)};
}

ExtractedSong extract(const Streams& streams) {
    const TextStreamParts text = readTextStream(streams.text);
    const EventStreamParts events = readEventStream(streams.events);
    EXPECT_TRUE(text.problems.empty());
    EXPECT_TRUE(events.problems.empty());
    return extractSong(events.records, text.lyrics());
}

// Compiles the extracted file under the original path, so that the title is the same.
Streams recompiled(const std::string& path, const ExtractedSong& extracted) {
    Result<SongRecord> again = convertSong(path, extracted.midi);
    EXPECT_TRUE(again) << again.message();
    return again ? streamsOf(*again) : Streams{};
}

TEST(SongExtract, OneTickIsOneTimeUnit) {
    const float factor = tempoTickFactor(kExtractTempo, kExtractDivision);
    EXPECT_EQ(factor, 1.0f);
    for (int64_t ticks = 0; ticks < 3'000'000; ++ticks) {
        ASSERT_EQ(ticksToTimeUnits(ticks, factor), ticks);
    }
    for (int64_t ticks = 3'000'000; ticks < (int64_t{1} << 32); ticks += 65'537) {
        ASSERT_EQ(ticksToTimeUnits(ticks, factor), ticks);
    }
}

TEST(SongExtract, GeneratedSongsCompileBackToTheSameStreams) {
    test::SongFiles songs;
    for (uint32_t seed = 0; seed < 60; ++seed) {
        songs.emplace_back("/s/Song " + std::to_string(seed) + ".kar", test::generatedSong(seed, 10 + seed * 7));
    }
    const auto compiled = test::compileInMemory(songs);
    const ImageIndex scan = readImageIndex(compiled.image);
    ASSERT_EQ(scan.songs.size(), songs.size());
    for (size_t i = 0; i < songs.size(); ++i) {
        SCOPED_TRACE(songs[i].first);
        const Result<SongStreams> original = readSongStreams(compiled.image, scan.songs[i]);
        ASSERT_TRUE(original) << original.message();
        const ExtractedSong extracted = extract({original->text, original->events});
        EXPECT_EQ(extracted.skippedRecords + extracted.cutDataBytes + extracted.movedLyrics + extracted.changedCodes +
                      extracted.overlappedNotes,
                  0u);
        const Streams again = recompiled(songs[i].first, extracted);
        EXPECT_EQ(again.events, original->events);
        EXPECT_EQ(again.text, original->text);  // every lyric character, at its time
    }
}

TEST(SongExtract, LettersOnlyVniCanWriteAndNeighboursThatWouldComposeComeBack) {
    test::TrackWriter track;
    track.lyric(10, "A\xC9" "c ")        // capital A with breve and acute: VNI only
        .lyric(10, "D\xD1" "i ")         // D then the VNI D with stroke: DDD in VIQR would compose
        .lyric(10, "a''")                // a composed letter before a mark that stays a mark
        .lyric(10, "_\x7F\xB3")          // codes that are no letters
        .noteOn(5, 9, 36, 100)
        .noteOff(0, 9, 36)               // a note of no length
        .endOfTrack();
    const auto file = test::MidiFile(96).add(track).bytes();
    Result<SongRecord> record = convertSong("/x/Mixed.mid", file);
    ASSERT_TRUE(record);
    const Streams original = streamsOf(*record);
    const ExtractedSong extracted = extract(original);
    EXPECT_EQ(extracted.changedCodes, 0u);
    const Streams again = recompiled("/x/Mixed.mid", extracted);
    EXPECT_EQ(again.events, original.events);
    EXPECT_EQ(again.text, original.text);
}

TEST(SongExtract, WhatCannotComeBackIsCountedAndTheRestStillPlays) {
    // Records as an image might hold them, with deltas past what a gap below 256 gives.
    const std::vector<uint8_t> stream = {
        0,   200, 0x00, 60,  100,  // a note of 200 units
        100, 1,   0xC1, 5,   0xFF,  // program change
        50,  30,  0x00, 60,  90,   // the same key again while the first still sounds
        0,   1,   0x50, 1,   2,    // no channel message
        0,   1,   0xB0, 0x87, 0x90,  // data bytes with the high bit set
        0,   0,   0x02, 64,  0x80,  // velocity 0x80 would become 0
    };
    const EventStreamParts events = readEventStream(stream);
    const std::vector<TextRecord> lyrics = {{65, 0, 40}, {66, 0, 20}};  // time runs backwards
    const ExtractedSong extracted = extractSong(events.records, lyrics);
    EXPECT_EQ(extracted.skippedRecords, 1u);
    EXPECT_EQ(extracted.cutDataBytes, 3u);
    EXPECT_EQ(extracted.overlappedNotes, 1u);
    EXPECT_EQ(extracted.movedLyrics, 1u);

    Result<SongRecord> again = convertSong("/x/Back.mid", extracted.midi);
    ASSERT_TRUE(again) << again.message();
    const EventStreamParts back = readEventStream(streamsOf(*again).events);
    ASSERT_EQ(back.records.size(), 5u);
    EXPECT_EQ(back.records[0].duration, 150);  // ended by the same key at 150
    EXPECT_EQ(back.records[2].time, 150u);
    EXPECT_EQ(back.records[3].data1, 0x07);
    EXPECT_EQ(back.records[4].data2, 1);  // still a note
}

}  // namespace
}  // namespace zmr
