#include "playback/sequencer.h"

#include <algorithm>
#include <cstdint>

#include "midi/midi_status.h"
#include "playback/playback_time.h"

namespace zmr {
namespace {

using midi::kControlChange;
constexpr uint8_t kAllSoundOff = 120;
constexpr uint8_t kAllNotesOff = 123;
constexpr uint8_t kChannels = 16;

}  // namespace

Sequencer::Sequencer(std::vector<TimedMessage> messages) : messages_(std::move(messages)) {}

void Sequencer::jumpTo(PlaybackTime position, MidiOutput& out) {
    out.reset();
    next_ = 0;
    while (next_ < messages_.size() && unitsToTime(messages_[next_].time) < position) {
        const TimedMessage& m = messages_[next_++];
        if (!m.isNoteOn() && !m.isNoteOff()) out.send(m.message());
    }
}

void Sequencer::playUntil(PlaybackTime position, MidiOutput& out) {
    while (next_ < messages_.size() && unitsToTime(messages_[next_].time) <= position) {
        out.send(messages_[next_++].message());
    }
}

void Sequencer::silence(MidiOutput& out) {
    for (uint8_t channel = 0; channel < kChannels; ++channel) {
        const uint8_t status = static_cast<uint8_t>(kControlChange | channel);
        const uint8_t soundOff[] = {status, kAllSoundOff, 0};
        const uint8_t notesOff[] = {status, kAllNotesOff, 0};
        out.send(soundOff);
        out.send(notesOff);
    }
}

std::optional<PlaybackTime> Sequencer::nextDue() const {
    if (done()) return std::nullopt;
    return unitsToTime(messages_[next_].time);
}

}  // namespace zmr
