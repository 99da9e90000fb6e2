#include "midi/track_merger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <tuple>
#include <string>

#include "midi/time_units.h"
#include "support/midi_writer.h"

namespace zmr {
namespace {

using test::MidiFile;
using test::TrackWriter;
using Bytes = std::vector<uint8_t>;
using Events = std::vector<std::string>;

// Writes down what the merge hands on, one readable line per event:
// "90 3C 64 @tick" for channel messages, "lyric 'text' @units" for lyrics.
class Recorder : public MergeConsumer {
public:
    Events events;
    std::vector<float> factors;

    void channelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor) override {
        char line[48];
        std::snprintf(line, sizeof line, "%02X %02X %02X @%d", status, data1, data2, tick);
        events.push_back(line);
        factors.push_back(tickFactor);
    }
    void lyric(std::span<const uint8_t> bytes, int64_t timeUnits) override {
        events.push_back("lyric '" + std::string(bytes.begin(), bytes.end()) + "' @" + std::to_string(timeUnits));
    }
};

struct Merged {
    Status status;
    Events events;
};

Merged merge(const Bytes& file) {
    Result<SongFile> song = loadSongFile(file);
    if (!song) return {Status(song.failure()), {}};
    Recorder recorder;
    Status status = mergeTracks(*song, recorder);
    return {status, recorder.events};
}

Merged merge(const MidiFile& file) {
    return merge(file.bytes());
}

TEST(TrackMerger, TakesEarliestTrackAndLowerNumberOnTies) {
    TrackWriter a;
    a.noteOn(10, 0, 60, 100).noteOff(5, 0, 60);
    TrackWriter b;
    b.programChange(0, 1, 7).noteOn(10, 1, 61, 90).lyric(0, "x");
    TrackWriter c;
    c.controller(15, 2, 7, 100);
    const Merged m = merge(MidiFile(480).add(a).add(b).add(c));
    ASSERT_TRUE(m.status.ok());
    EXPECT_EQ(m.events, (Events{"C1 07 00 @0", "90 3C 64 @10", "91 3D 5A @10", "lyric 'x' @0", "80 3C 00 @15",
                                "B2 07 64 @15"}));
}

// Many tracks, in counts on both sides of powers of two, with random gaps
// (many equal times) and tracks that finish early: every event comes out in
// the order of its time, then its track, then its place in the track.
TEST(TrackMerger, ManyTracksComeOutByTimeThenTrack) {
    std::mt19937 random(9);
    for (const uint8_t trackCount : {1, 2, 3, 5, 8, 9, 17, 40}) {
        SCOPED_TRACE(trackCount);
        MidiFile file(96);
        std::vector<std::tuple<int32_t, uint8_t, uint8_t>> expected;  // time, track, place
        for (uint8_t track = 0; track < trackCount; ++track) {
            TrackWriter writer;
            int32_t time = 0;
            const uint8_t events = static_cast<uint8_t>(random() % 30);
            for (uint8_t place = 0; place < events; ++place) {
                const uint32_t delta = random() % 3 == 0 ? 0 : random() % 20;
                time += static_cast<int32_t>(delta);
                writer.controller(delta, 0, track, place);
                expected.emplace_back(time, track, place);
            }
            file.add(writer);
        }
        std::sort(expected.begin(), expected.end());
        Events lines;
        for (const auto& [time, track, place] : expected) {
            char line[48];
            std::snprintf(line, sizeof line, "B0 %02X %02X @%d", track, place, time);
            lines.push_back(line);
        }
        const Merged m = merge(file);
        ASSERT_TRUE(m.status.ok());
        EXPECT_EQ(m.events, lines);
    }
}

TEST(TrackMerger, EmptyTracksAndTrackCountZeroHandOnNothing) {
    TrackWriter t;
    t.noteOn(3, 0, 60, 100);
    Merged m = merge(MidiFile(480).add(Bytes{}).add(t).add(Bytes{}));
    ASSERT_TRUE(m.status.ok());
    EXPECT_EQ(m.events, (Events{"90 3C 64 @3"}));

    m = merge(MidiFile(480).add(t).claimTrackCount(0));
    ASSERT_TRUE(m.status.ok());
    EXPECT_TRUE(m.events.empty());

    // Tracks claimed but absent are finished from the start.
    m = merge(MidiFile(480).add(t).claimTrackCount(65535));
    ASSERT_TRUE(m.status.ok());
    EXPECT_EQ(m.events, (Events{"90 3C 64 @3"}));
}

TEST(TrackMerger, EndOfTrackEventDoesNotEndTheTrack) {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100).endOfTrack(4).noteOff(4, 0, 60);
    const Merged m = merge(MidiFile(480).add(t));
    ASSERT_TRUE(m.status.ok());
    EXPECT_EQ(m.events, (Events{"90 3C 64 @0", "80 3C 00 @8"}));
}

TEST(TrackMerger, RejectsUnknownStatusesAndMetaTypes) {
    const struct {
        Bytes events;
        const char* message;
    } cases[] = {
        {{0x00, 0x3C, 0x64}, "Unknown command 0x00\n"},  // data byte before any channel status
        {{0x00, 0xF8}, "Unknown command 0xF8\n"},
        {{0x00, 0xF1, 0x00}, "Unknown command 0xF1\n"},
        {{0x00, 0xF6}, "Unknown command 0xF6\n"},
        {{0x00, 0xFE}, "Unknown command 0xFE\n"},
        {{0x00, 0xFF, 0x08, 0x00}, "Unknown command 0xFF 0x08\n"},
        {{0x00, 0xFF, 0x80}, "Unknown command 0xFF 0x80\n"},
        {{0x00, 0xFF, 0x52, 0x00}, "Unknown command 0xFF 0x52\n"},
        {{0x00, 0xFF, 0xFF, 0x00}, "Unknown command 0xFF 0xFF\n"},
    };
    for (const auto& c : cases) {
        Bytes track = {0x00, 0xFF, 0x05, 0x01, 'a'};  // handed on before the failure; sets no running status
        track.insert(track.end(), c.events.begin(), c.events.end());
        const Bytes file = MidiFile(480).add(track).bytes();
        Result<SongFile> song = loadSongFile(file);
        ASSERT_TRUE(song.ok());
        Recorder recorder;
        const Status status = mergeTracks(*song, recorder);
        ASSERT_FALSE(status.ok()) << c.message;
        EXPECT_EQ(status.message(), c.message);
        EXPECT_EQ(recorder.events, (Events{"lyric 'a' @0"}));
    }
    // The data byte first in its track, even after another track set a status.
    TrackWriter a;
    a.noteOn(0, 0, 60, 100);
    const Merged m = merge(MidiFile(480).add(a).add(TrackWriter().raw({0x05, 0x3C, 0x64})));
    EXPECT_EQ(m.status.message(), "Unknown command 0x00\n");
    EXPECT_EQ(m.events, (Events{"90 3C 64 @0"}));
}

TEST(TrackMerger, RunningStatusSurvivesMetaAndSysexEvents) {
    TrackWriter t(true);
    t.noteOn(0, 3, 60, 100).lyric(1, "a").noteOn(1, 3, 62, 90).sysex(1, {0x41, 0xF7}).noteOn(1, 3, 64, 80)
        .programChange(1, 3, 5).programChange(1, 3, 6);
    ASSERT_EQ(t.bytes()[10], 0x3E);  // the second note-on really has no status byte
    const Merged m = merge(MidiFile(480).add(t));
    ASSERT_TRUE(m.status.ok());
    EXPECT_EQ(m.events, (Events{"93 3C 64 @0", "lyric 'a' @0", "93 3E 5A @2", "93 40 50 @4", "C3 05 00 @5",
                                "C3 06 00 @6"}));
}

TEST(TrackMerger, PassesOverEveryKnownSkippedEventWhole) {
    // Each event at tick 0, then a note-on 5 ticks later that must be read intact.
    const Bytes skipped[] = {
        {0xFF, 0x00, 0x02, 0x00, 0x01},                    // sequence number
        {0xFF, 0x01, 0x03, 'a', 'b', 'c'},                 // text
        {0xFF, 0x02, 0x00},                                // notice
        {0xFF, 0x03, 0x81, 0x00},                          // track name, 128 bytes (appended below)
        {0xFF, 0x04, 0x01, 'i'}, {0xFF, 0x06, 0x01, 'm'}, {0xFF, 0x07, 0x01, 'c'},
        {0xFF, 0x20, 0x01, 0x00},                          // channel prefix
        {0xFF, 0x21, 0x01, 0x00},                          // port
        {0xFF, 0x2F, 0x00},                                // end of track
        {0xFF, 0x54, 0x05, 0x60, 0x00, 0x03, 0x00, 0x00},  // SMPTE offset
        {0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08},        // time signature
        {0xFF, 0x59, 0x02, 0x00, 0x00},                    // key signature
        {0xFF, 0x7F, 0x03, 0x43, 0x7B, 0x00},              // sequencer-specific
        {0xF0, 0x03, 0x7E, 0x7F, 0xF7},                    // system exclusive
        {0xF7, 0x01, 0xF7},                                // escaped bytes
    };
    for (const Bytes& event : skipped) {
        TrackWriter t;
        t.varLen(0).raw(event);
        if (event[0] == 0xFF && event[1] == 0x03) t.raw(Bytes(128, 'n'));
        t.noteOn(5, 0, 60, 100);
        const Merged m = merge(MidiFile(480).add(t));
        ASSERT_TRUE(m.status.ok()) << m.status.message();
        EXPECT_EQ(m.events, (Events{"90 3C 64 @5"})) << int{event[0]} << " " << int{event[1]};
    }
}

TEST(TrackMerger, LyricAndMessageTimesFollowTheTickFactor) {
    TrackWriter lyrics;
    lyrics.lyric(960, "one").lyric(47040, "two");
    Merged m = merge(MidiFile(480).add(lyrics));
    ASSERT_TRUE(m.status.ok());
    EXPECT_EQ(m.events, (Events{"lyric 'one' @58", "lyric 'two' @2941"}));

    // The tempo event sits in another track; every later time is converted as
    // if the new tempo had held from the start.
    TrackWriter conductor;
    conductor.tempo(0, 500000);
    m = merge(MidiFile(480).add(conductor).add(lyrics));
    EXPECT_EQ(m.events, (Events{"lyric 'one' @58", "lyric 'two' @2939"}));

    // A length byte other than 3 still precedes three tempo bytes.
    TrackWriter odd;
    odd.varLen(0).raw({0xFF, 0x51, 0x05, 0x07, 0xA1, 0x20}).lyric(48000, "two");
    m = merge(MidiFile(480).add(odd));
    ASSERT_TRUE(m.status.ok());
    EXPECT_EQ(m.events, (Events{"lyric 'two' @2939"}));

    // Channel messages carry their tick and the factor in force.
    TrackWriter notes;
    notes.noteOn(0, 0, 60, 1).tempo(0, 1000000).noteOff(0, 0, 60);
    const Bytes file = MidiFile(480).add(notes).bytes();
    Result<SongFile> song = loadSongFile(file);
    Recorder recorder;
    ASSERT_TRUE(mergeTracks(*song, recorder).ok());
    ASSERT_EQ(recorder.factors.size(), 2u);
    EXPECT_EQ(recorder.factors[0], initialTickFactor(480));
    EXPECT_EQ(recorder.factors[1], tempoTickFactor(1000000, 480));
}

TEST(TrackMerger, HugeTempoAtDivisionOneGivesTimesBeyond32Bits) {
    TrackWriter t;
    t.tempo(0, 0xFFFFFF).lyric(0x7FFFFFFF, "late");
    const Merged m = merge(MidiFile(1).add(t));
    ASSERT_TRUE(m.status.ok());
    const int64_t expected = ticksToTimeUnits(0x7FFFFFFF, tempoTickFactor(0xFFFFFF, 1));
    EXPECT_GT(expected, int64_t{1} << 32);
    EXPECT_EQ(m.events, (Events{"lyric 'late' @" + std::to_string(expected)}));
}

TEST(TrackMerger, TrackTimesWrapAndNegativeTimesSortFirst) {
    TrackWriter a;
    a.noteOn(10, 0, 60, 100);
    // 0xFFFFFFFF as an over-long quantity: the track time wraps to -1.
    TrackWriter b;
    b.raw({0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0xC0, 0x01}).programChange(11, 0, 2);
    const Merged m = merge(MidiFile(480).add(a).add(b));
    ASSERT_TRUE(m.status.ok());
    EXPECT_EQ(m.events, (Events{"C0 01 00 @-1", "90 3C 64 @10", "C0 02 00 @10"}));
}

TEST(TrackMerger, IncompleteEventsFinishTheirTrackAndHandNothingOn) {
    TrackWriter other;
    other.noteOn(100, 1, 70, 60).lyric(47900, "end");
    // Each case: the bytes of one track, and what it hands on before it ends.
    const struct {
        const char* name;
        Bytes events;
        Events before;
    } cases[] = {
        {"cut lyric", {0x00, 0xFF, 0x05, 0x0A, 'a', 'b', 'c'}, {}},
        {"cut lyric length", {0x00, 0xFF, 0x05, 0x81}, {}},
        {"cut tempo", {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1}, {}},
        {"meta without type", {0x00, 0xFF}, {}},
        {"note-on missing velocity", {0x00, 0x90, 0x3C}, {}},
        {"running status missing byte", {0x00, 0x90, 0x3C, 0x64, 0x00, 0x3E}, {"90 3C 64 @0"}},
        {"program change without data", {0x00, 0xC0}, {}},
        {"cut delta", {0x00, 0xC0, 0x01, 0x81}, {"C0 01 00 @0"}},
        {"cut first delta", {0x81, 0x80}, {}},
        {"skip past the end", {0x00, 0xFF, 0x58, 0x04, 0x04}, {}},
        // Skips of 0xFFFFFFFF must not wrap the cursor back into the track.
        {"sysex length 0xFFFFFFFF", {0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x90, 0x3C, 0x64}, {}},
        {"text length 0xFFFFFFFF", {0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x90, 0x3C, 0x64}, {}},
        {"lyric length 0xFFFFFFFF", {0x00, 0xFF, 0x05, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x90, 0x3C, 0x64}, {}},
    };
    for (const auto& c : cases) {
        const Merged m = merge(MidiFile(480).add(c.events).add(other));
        ASSERT_TRUE(m.status.ok()) << c.name;
        Events expected = c.before;
        // The other track goes on, with the initial tick factor: no cut tempo was applied.
        expected.insert(expected.end(), {"91 46 3C @100", "lyric 'end' @2941"});
        EXPECT_EQ(m.events, expected) << c.name;
    }
}

TEST(TrackMerger, ChunkRunningPastTheFileEndIsReadUpToTheEnd) {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100).noteOff(10, 0, 60).lyric(10, "cut here");
    Bytes file = MidiFile(480).add(t, 0xFFFFFFFF).claimTrackCount(2).bytes();
    file.resize(file.size() - 3);
    const Merged m = merge(file);
    ASSERT_TRUE(m.status.ok());
    EXPECT_EQ(m.events, (Events{"90 3C 64 @0", "80 3C 00 @10"}));
}

}  // namespace
}  // namespace zmr
