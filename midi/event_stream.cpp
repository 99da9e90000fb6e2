#include "midi/event_stream.h"

#include "midi/time_units.h"

namespace zmr {

namespace {

uint32_t noteKey(uint8_t note, uint8_t channel) {
    return uint32_t{note} * 256 + channel;
}

}  // namespace

void EventStream::startEventStream(uint32_t totalTrackBytes) {
    buffer_.clear();
    // The player's buffer is twice the track bytes; ours grows past that when
    // a song packs more records than it would hold.
    buffer_.reserve(size_t{totalTrackBytes} * 2);
    previousTime_ = 0;
    pending_.clear();
}

void EventStream::appendRecord(int64_t time, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4) {
    // Only the low 8 bits of the difference fit the delta byte; they are the
    // same whether the times are kept in 32 or 64 bits.
    const uint8_t delta = static_cast<uint8_t>(static_cast<uint64_t>(time) - static_cast<uint64_t>(previousTime_));
    buffer_.insert(buffer_.end(), {delta, b1, b2, b3, b4});
    previousTime_ = static_cast<int32_t>(static_cast<uint32_t>(time));
}

void EventStream::addChannelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor) {
    const uint8_t kind = status & 0xF0;
    const uint8_t channel = status & 0x0F;
    if (kind == 0x80 || (kind == 0x90 && data2 == 0)) {
        closeNote(noteKey(data1, channel), tick, tickFactor);
        return;
    }
    const int64_t time = ticksToTimeUnits(tick, tickFactor);
    if (kind == 0x90) {
        const size_t durationOffset = buffer_.size() + 1;
        appendRecord(time, 0, channel, data1, data2);
        // A note still sounding on the same key ends where the new one starts.
        const uint32_t key = noteKey(data1, channel);
        closeNote(key, tick, tickFactor);
        pending_[key] = PendingNote{static_cast<uint32_t>(tick), durationOffset};
        return;
    }
    // Program change and channel pressure carry one data byte; 255 fills the record.
    const bool oneDataByte = kind == 0xC0 || kind == 0xD0;
    appendRecord(time, 1, status, data1, oneDataByte ? uint8_t{0xFF} : data2);
}

void EventStream::closeNote(uint32_t key, int32_t tick, float tickFactor) {
    const auto found = pending_.find(key);
    if (found == pending_.end()) return;
    // The span in ticks, unsigned as in the player, converted with the factor
    // in force now: it may differ by one from the records' time difference.
    const uint32_t span = static_cast<uint32_t>(tick) - found->second.startTick;
    buffer_[found->second.durationOffset] = static_cast<uint8_t>(ticksToTimeUnits(span, tickFactor));
    pending_.erase(found);
}

void EventStream::finishEventStream() {
    pending_.clear();
}

}  // namespace zmr
