#include "playback/live_playback.h"

#include <algorithm>
#include <limits>

namespace zmr {
namespace {

// The longest the thread sleeps: a pause or a seek is heard within this.
constexpr PlaybackTime kLongestWait(5);

}  // namespace

LivePlayback::LivePlayback(Transport& transport, std::vector<TimedMessage> messages, MidiOutput& output)
    : transport_(transport), sequencer_(std::move(messages)), output_(output), thread_([this] { run(); }) {}

LivePlayback::~LivePlayback() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void LivePlayback::run() {
    uint64_t jumps = std::numeric_limits<uint64_t>::max();
    bool sounding = false;
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        const Transport::State state = transport_.state();
        if (state.jumps != jumps) {
            sequencer_.jumpTo(state.position, output_);
            jumps = state.jumps;
        }
        PlaybackTime wait = kLongestWait;
        if (state.playing) {
            sequencer_.playUntil(state.position, output_);
            sounding = true;
            if (const auto due = sequencer_.nextDue()) wait = std::clamp(*due - state.position, PlaybackTime(1), kLongestWait);
        } else if (sounding && state.position < transport_.length()) {
            // Paused; at the end the last notes ring out instead.
            Sequencer::silence(output_);
            sounding = false;
        }
        wake_.wait_for(lock, wait, [this] { return stopping_; });
    }
    Sequencer::silence(output_);
}

}  // namespace zmr
