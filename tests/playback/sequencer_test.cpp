// What a preview sends and when: the messages at their times, a seek that sets
// the channels up without playing what it skips, a pause that silences, and
// the transport that the screen and the sound share.

#include "playback/sequencer.h"

#include <gtest/gtest.h>

#include "playback/transport.h"
#include "support/manual_clock.h"

namespace zmr {
namespace {

using Message = std::vector<uint8_t>;

struct RecordingOutput : MidiOutput {
    void send(std::span<const uint8_t> message) override { sent.emplace_back(message.begin(), message.end()); }
    void reset() override { sent.push_back({}); }  // an empty message marks a reset
    std::vector<Message> sent;
};

TimedMessage at(uint64_t units, std::initializer_list<uint8_t> bytes) {
    TimedMessage m;
    m.time = units;
    std::copy(bytes.begin(), bytes.end(), m.bytes.begin());
    m.size = static_cast<uint8_t>(bytes.size());
    return m;
}

std::vector<TimedMessage> song() {
    return {at(0, {0xC0, 19}),         at(0, {0x90, 60, 100}), at(10, {0xB0, 7, 90}), at(20, {0x80, 60, 0}),
            at(20, {0xE0, 0, 0x50}),   at(30, {0x90, 64, 90}), at(40, {0x80, 64, 0})};
}

TEST(Sequencer, SendsEachMessageWhenItsTimeComes) {
    Sequencer sequencer(song());
    RecordingOutput out;
    sequencer.jumpTo(PlaybackTime(0), out);
    EXPECT_EQ(out.sent, (std::vector<Message>{{}}));
    sequencer.playUntil(PlaybackTime(0), out);
    EXPECT_EQ(out.sent.size(), 3u);
    sequencer.playUntil(PlaybackTime(169), out);  // unit 10 is at 170 ms
    EXPECT_EQ(out.sent.size(), 3u);
    EXPECT_EQ(sequencer.nextDue(), PlaybackTime(170));
    sequencer.playUntil(PlaybackTime(170), out);
    EXPECT_EQ(out.sent.back(), (Message{0xB0, 7, 90}));
    sequencer.playUntil(PlaybackTime(10'000), out);
    EXPECT_EQ(out.sent.size(), 8u);
    EXPECT_TRUE(sequencer.done());
}

TEST(Sequencer, JumpSetsTheChannelsUpWithoutPlayingWhatItSkips) {
    Sequencer sequencer(song());
    RecordingOutput out;
    sequencer.playUntil(PlaybackTime(100), out);
    out.sent.clear();
    // Into the middle of the second note: reset, then program, volume and bend
    // again; neither note is started.
    sequencer.jumpTo(PlaybackTime(600), out);
    EXPECT_EQ(out.sent, (std::vector<Message>{{}, {0xC0, 19}, {0xB0, 7, 90}, {0xE0, 0, 0x50}}));
    out.sent.clear();
    sequencer.playUntil(PlaybackTime(680), out);
    EXPECT_EQ(out.sent, (std::vector<Message>{{0x80, 64, 0}}));
    // Back to the start: the first messages come again.
    sequencer.jumpTo(PlaybackTime(0), out);
    sequencer.playUntil(PlaybackTime(0), out);
    EXPECT_EQ(out.sent.back(), (Message{0x90, 60, 100}));

    out.sent.clear();
    Sequencer::silence(out);
    ASSERT_EQ(out.sent.size(), 32u);
    EXPECT_EQ(out.sent[0], (Message{0xB0, 120, 0}));  // all sound off
    EXPECT_EQ(out.sent[31], (Message{0xBF, 123, 0}));  // all notes off
}

TEST(Transport, FollowsTheClockWhilePlayingAndHoldsWhilePaused) {
    test::ManualClock clock;
    Transport transport(clock, PlaybackTime(60'000));
    transport.seek(PlaybackTime(5'000));
    EXPECT_FALSE(transport.playing());
    clock.advance(PlaybackTime(1'000));
    EXPECT_EQ(transport.position(), PlaybackTime(5'000));
    transport.play();
    clock.advance(PlaybackTime(2'500));
    EXPECT_EQ(transport.position(), PlaybackTime(7'500));
    transport.togglePause();
    clock.advance(PlaybackTime(3'000));
    EXPECT_EQ(transport.position(), PlaybackTime(7'500));
    const uint64_t jumps = transport.state().jumps;
    transport.seekBy(PlaybackTime(-10'000));  // kept within the song, still paused
    EXPECT_EQ(transport.position(), PlaybackTime(0));
    EXPECT_EQ(transport.state().jumps, jumps + 1);
    EXPECT_FALSE(transport.playing());
    transport.play();
    transport.seekBy(PlaybackTime(59'000));
    clock.advance(PlaybackTime(5'000));  // the end holds
    EXPECT_EQ(transport.position(), PlaybackTime(60'000));
    EXPECT_TRUE(transport.finished());
    EXPECT_FALSE(transport.playing());
    transport.play();  // from the start again
    clock.advance(PlaybackTime(100));
    EXPECT_EQ(transport.position(), PlaybackTime(100));
}

}  // namespace
}  // namespace zmr
