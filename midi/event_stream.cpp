#include "midi/event_stream.h"

#include <algorithm>

#include "midi/time_units.h"

namespace zmr {

namespace {

// Bytes the buffer's filled part grows by at a time, within what was reserved.
constexpr size_t kGrowth = 4096;

uint32_t noteKey(uint8_t note, uint8_t channel) {
    return uint32_t{note} * 256 + channel;
}

}  // namespace

EventStream::EventStream() : pending_(kKeys) {}

void EventStream::startEventStream(uint32_t totalTrackBytes) {
    // The player's buffer is twice the track bytes; ours grows past that when
    // a song packs more records than it would hold. Reserved, not filled: the
    // pages are touched only as records are written.
    size_ = 0;
    buffer_.reserve(size_t{totalTrackBytes} * 2);
    previousTime_ = 0;
    forgetPendingNotes();
}

void EventStream::forgetPendingNotes() {
    if (++generation_ == 0) {
        // After 2^32 streams the generations come round again.
        std::fill(pending_.begin(), pending_.end(), PendingNote{});
        generation_ = 1;
    }
}

void EventStream::appendRecord(int64_t time, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4) {
    if (buffer_.size() - size_ < kEventRecordSize) buffer_.resize(size_ + kGrowth);
    // Only the low 8 bits of the difference fit the delta byte; they are the
    // same whether the times are kept in 32 or 64 bits.
    uint8_t* record = buffer_.data() + size_;
    record[0] = static_cast<uint8_t>(static_cast<uint64_t>(time) - static_cast<uint64_t>(previousTime_));
    record[1] = b1;
    record[2] = b2;
    record[3] = b3;
    record[4] = b4;
    size_ += kEventRecordSize;
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
        const size_t durationOffset = size_ + 1;
        appendRecord(time, 0, channel, data1, data2);
        // A note still sounding on the same key ends where the new one starts.
        const uint32_t key = noteKey(data1, channel);
        closeNote(key, tick, tickFactor);
        pending_[slotOf(key)] = PendingNote{generation_, static_cast<uint32_t>(tick), durationOffset};
        return;
    }
    // Program change and channel pressure carry one data byte; 255 fills the record.
    const bool oneDataByte = kind == 0xC0 || kind == 0xD0;
    appendRecord(time, 1, status, data1, oneDataByte ? uint8_t{0xFF} : data2);
}

void EventStream::closeNote(uint32_t key, int32_t tick, float tickFactor) {
    PendingNote& note = pending_[slotOf(key)];
    if (note.generation != generation_) return;
    // The span in ticks, unsigned as in the player, converted with the factor
    // in force now: it may differ by one from the records' time difference.
    const uint32_t span = static_cast<uint32_t>(tick) - note.startTick;
    buffer_[note.durationOffset] = static_cast<uint8_t>(ticksToTimeUnits(span, tickFactor));
    note.generation = 0;
}

void EventStream::finishEventStream() {
    forgetPendingNotes();
}

}  // namespace zmr
