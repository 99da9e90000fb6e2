#include "midi/event_stream.h"

#include <gtest/gtest.h>

#include <array>

#include "midi/time_units.h"
#include "midi/track_merger.h"
#include "support/midi_writer.h"

namespace zmr {
namespace {

using test::MidiFile;
using test::TrackWriter;
using Record = std::array<uint8_t, 5>;
using Records = std::vector<Record>;

// With a factor of 1 a tick is a time unit, so the arithmetic stays visible.
constexpr float kUnitPerTick = 1.0f;

Records records(const EventStream& stream) {
    const auto bytes = stream.bytes();
    EXPECT_EQ(bytes.size() % kEventRecordSize, 0u);
    Records out;
    for (size_t i = 0; i + kEventRecordSize <= bytes.size(); i += kEventRecordSize) {
        out.push_back({bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3], bytes[i + 4]});
    }
    return out;
}

EventStream started() {
    EventStream stream;
    stream.startEventStream(64);
    return stream;
}

Records streamOf(const MidiFile& file) {
    const std::vector<uint8_t> bytes = file.bytes();
    Result<SongFile> song = loadSongFile(bytes);
    EXPECT_TRUE(song.ok());
    EventStream stream;
    stream.startEventStream(song->totalTrackBytes);
    EXPECT_TRUE(mergeTracks(*song, stream).ok());
    stream.finishEventStream();
    return records(stream);
}

TEST(EventStream, OtherMessagesBecomeOneRecordEach) {
    EventStream s = started();
    s.addChannelMessage(0xC5, 0x10, 0x00, 300, kUnitPerTick);
    s.addChannelMessage(0xE3, 0x00, 0x40, 310, kUnitPerTick);
    s.addChannelMessage(0xB0, 0x07, 0x64, 310, kUnitPerTick);
    s.addChannelMessage(0xD2, 0x33, 0x00, 320, kUnitPerTick);
    s.addChannelMessage(0xA1, 0x3C, 0x20, 320, kUnitPerTick);
    EXPECT_EQ(records(s), (Records{{44, 1, 0xC5, 0x10, 0xFF},  // first delta: 300 mod 256
                                   {10, 1, 0xE3, 0x00, 0x40},
                                   {0, 1, 0xB0, 0x07, 0x64},
                                   {10, 1, 0xD2, 0x33, 0xFF},
                                   {0, 1, 0xA1, 0x3C, 0x20}}));
}

TEST(EventStream, DeltasAreTheLowByteOfTheDifference) {
    EventStream s = started();
    s.addChannelMessage(0xC0, 1, 0, 10, kUnitPerTick);
    s.addChannelMessage(0xC0, 2, 0, 310, kUnitPerTick);
    // A lower factor after a tempo change can move T backwards: -10 gives 246.
    s.addChannelMessage(0xC0, 3, 0, 400, 0.75f);
    EXPECT_EQ(records(s)[1][0], 44);
    EXPECT_EQ(records(s)[2][0], 246);
}

TEST(EventStream, NoteOnAndOffFoldIntoOneRecordWithDuration) {
    const struct {
        const char* name;
        int32_t on;
        int32_t off;
        float factor;
        uint8_t duration;
    } cases[] = {
        {"300 units", 100, 400, kUnitPerTick, 44},
        {"same tick", 50, 50, kUnitPerTick, 0},
        {"span, not time difference", 16, 33, initialTickFactor(480), 1},
        {"span taken unsigned across the wrap", INT32_MAX, INT32_MIN, kUnitPerTick, 1},
    };
    for (const auto& c : cases) {
        for (const bool byVelocityZero : {false, true}) {
            EventStream s = started();
            s.addChannelMessage(0x92, 60, 100, c.on, c.factor);
            if (byVelocityZero) s.addChannelMessage(0x92, 60, 0, c.off, c.factor);
            else s.addChannelMessage(0x82, 60, 64, c.off, c.factor);
            const Records r = records(s);
            ASSERT_EQ(r.size(), 1u) << c.name;
            EXPECT_EQ(r[0][1], c.duration) << c.name;
            EXPECT_EQ(r[0][2], 2);
            EXPECT_EQ(r[0][3], 60);
            EXPECT_EQ(r[0][4], 100);
        }
    }
}

TEST(EventStream, DurationUsesTheFactorInForceWhenTheNoteEnds) {
    EventStream s = started();
    s.addChannelMessage(0x90, 60, 100, 0, kUnitPerTick);
    s.addChannelMessage(0x80, 60, 0, 300, 0.5f);
    EXPECT_EQ(records(s)[0][1], 150);
}

TEST(EventStream, StrayNoteOffChangesNothing) {
    EventStream s = started();
    s.addChannelMessage(0xC0, 1, 0, 10, kUnitPerTick);
    s.addChannelMessage(0x80, 60, 0, 20, kUnitPerTick);
    s.addChannelMessage(0x90, 61, 0, 25, kUnitPerTick);
    s.addChannelMessage(0xC0, 2, 0, 30, kUnitPerTick);
    EXPECT_EQ(records(s), (Records{{10, 1, 0xC0, 1, 0xFF}, {20, 1, 0xC0, 2, 0xFF}}));
}

TEST(EventStream, RetriggeredNoteEndsTheSoundingOne) {
    EventStream s = started();
    s.addChannelMessage(0x90, 60, 100, 0, kUnitPerTick);
    s.addChannelMessage(0x90, 60, 90, 30, kUnitPerTick);
    s.addChannelMessage(0x80, 60, 0, 50, kUnitPerTick);
    s.addChannelMessage(0x80, 60, 0, 70, kUnitPerTick);  // nothing pending any more
    EXPECT_EQ(records(s), (Records{{0, 30, 0, 60, 100}, {30, 20, 0, 60, 90}}));
}

TEST(EventStream, SameNoteOnTwoChannelsPendsSeparately) {
    EventStream s = started();
    s.addChannelMessage(0x90, 60, 100, 0, kUnitPerTick);
    s.addChannelMessage(0x91, 60, 100, 5, kUnitPerTick);
    s.addChannelMessage(0x91, 60, 0, 25, kUnitPerTick);
    s.addChannelMessage(0x80, 60, 0, 40, kUnitPerTick);
    EXPECT_EQ(records(s), (Records{{0, 40, 0, 60, 100}, {5, 20, 1, 60, 100}}));
}

TEST(EventStream, UnclosedNoteKeepsDurationZeroAndStartResets) {
    EventStream s = started();
    s.addChannelMessage(0x90, 60, 100, 20, kUnitPerTick);
    s.finishEventStream();
    s.addChannelMessage(0x80, 60, 0, 40, kUnitPerTick);  // its entry is gone
    EXPECT_EQ(records(s), (Records{{20, 0, 0, 60, 100}}));

    s.startEventStream(10);
    EXPECT_TRUE(s.bytes().empty());
    s.addChannelMessage(0xC0, 1, 0, 5, kUnitPerTick);  // delta counts from 0 again
    EXPECT_EQ(records(s), (Records{{5, 1, 0xC0, 1, 0xFF}}));
}

TEST(EventStream, PairsNotesAcrossTracksOfAMergedSong) {
    TrackWriter on;
    on.noteOn(480, 0, 60, 100);
    TrackWriter off;
    off.noteOff(960, 0, 60).programChange(0, 5, 0x10);
    // Division 480: tick 480 is 29 units, a span of 480 ticks 29 units, tick 960 is 58.
    EXPECT_EQ(streamOf(MidiFile(480).add(on).add(off)), (Records{{29, 29, 0, 60, 100}, {29, 1, 0xC5, 0x10, 0xFF}}));
}

TEST(EventStream, GrowsPastTwiceTheTrackBytes) {
    // Program changes in running status: 2 track bytes per 5-byte record.
    TrackWriter t(true);
    for (uint8_t program = 0; program < 100; ++program) t.programChange(1, 0, program);
    const Records r = streamOf(MidiFile(480).add(t));
    ASSERT_EQ(r.size(), 100u);
    EXPECT_GT(r.size() * kEventRecordSize, 2 * t.bytes().size());
    EXPECT_EQ(r[99], (Record{0, 1, 0xC0, 99, 0xFF}));  // tick 100 is 6.1 units, tick 99 is 6.07
}

TEST(EventStream, AReusedStreamGrowsWithNotesPendingAndGivesAFreshStreamsBytes) {
    // A note held while 200 program changes push the stream past its room:
    // its duration lands in the moved buffer. Coded after a smaller song and
    // then once more, on one stream, as a worker codes song after song.
    TrackWriter held(true);
    held.noteOn(0, 1, 64, 90);
    for (int i = 0; i < 200; ++i) held.programChange(1, 0, static_cast<uint8_t>(i % 128));
    held.noteOff(7, 1, 64);
    TrackWriter small;
    small.noteOn(0, 0, 60, 100).noteOff(30, 0, 60);
    const Records fresh = streamOf(MidiFile(480).add(held));
    ASSERT_EQ(fresh.size(), 201u);
    EXPECT_EQ(fresh[0][1], static_cast<uint8_t>(ticksToTimeUnits(207, initialTickFactor(480))));

    const std::vector<uint8_t> smallSong = MidiFile(480).add(small).bytes(), heldSong = MidiFile(480).add(held).bytes();
    EventStream reused;
    for (const std::vector<uint8_t>* bytes : {&smallSong, &heldSong, &heldSong}) {
        Result<SongFile> song = loadSongFile(*bytes);
        ASSERT_TRUE(song.ok());
        reused.startEventStream(song->totalTrackBytes);
        ASSERT_TRUE(mergeTracks(*song, reused).ok());
        reused.finishEventStream();
    }
    EXPECT_EQ(records(reused), fresh);
}

}  // namespace
}  // namespace zmr
