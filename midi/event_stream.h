#pragma once
// The player's copy of a song's music: 5-byte event records in time order,
// each note-on folded with its note-off into one record carrying the duration.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "midi/merge_consumer.h"
#include "midi/midi_status.h"
#include "midi/time_units.h"

namespace zmr {

inline constexpr size_t kEventRecordSize = 5;

// One stream can serve song after song: its buffer and note table are kept,
// so a song allocates nothing once the stream has grown to its size. The
// functions every event calls are inline: the merge calls them directly.
class EventStream final : public MergeConsumer {
public:
    EventStream();

    // Prepares an empty stream; the total track bytes only size the first allocation.
    void startEventStream(uint32_t totalTrackBytes);
    inline void addChannelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor);
    // Ends the pending note of `key` (note * 256 + channel) at `tick`, if there is one.
    inline void closeNote(uint32_t key, int32_t tick, float tickFactor);
    // Forgets the notes never closed; their duration bytes stay 0.
    void finishEventStream();

    std::span<const uint8_t> bytes() const { return {buffer_.get(), size_}; }

    void channelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor) override {
        addChannelMessage(status, data1, data2, tick, tickFactor);
    }
    void lyric(std::span<const uint8_t>, int64_t) override {}

private:
    // A pending note counts only while it carries the stream's generation:
    // a new stream forgets every pending note without touching the table.
    struct PendingNote {
        uint32_t generation = 0;
        uint32_t startTick = 0;
        size_t durationOffset = 0;  // position of byte 1 of the note's record; the buffer may move
    };
    static constexpr size_t kKeys = 256 * 16;  // note (any data byte) by channel

    static size_t slotOf(uint32_t key) { return ((key >> 8) & 0xFFu) * 16 + (key & 0x0Fu); }
    static uint32_t noteKey(uint8_t note, uint8_t channel) { return uint32_t{note} * 256 + channel; }
    inline void appendRecord(int64_t time, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4);
    void grow();
    void reallocate(size_t capacity);
    void forgetPendingNotes();

    // Bytes [0, size_) are the stream; the rest, up to capacity_, is room to
    // grow into. Never filled beforehand: every byte of a record is written
    // as it is made, so clearing the room first would write the stream twice.
    std::unique_ptr<uint8_t[]> buffer_;
    size_t capacity_ = 0;
    size_t size_ = 0;
    int32_t previousTime_ = 0;
    std::vector<PendingNote> pending_;
    uint32_t generation_ = 1;
};

void EventStream::appendRecord(int64_t time, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4) {
    if (capacity_ - size_ < kEventRecordSize) [[unlikely]] grow();
    // Only the low 8 bits of the difference fit the delta byte; they are the
    // same whether the times are kept in 32 or 64 bits.
    uint8_t* record = buffer_.get() + size_;
    record[0] = static_cast<uint8_t>(static_cast<uint64_t>(time) - static_cast<uint64_t>(previousTime_));
    record[1] = b1;
    record[2] = b2;
    record[3] = b3;
    record[4] = b4;
    size_ += kEventRecordSize;
    previousTime_ = static_cast<int32_t>(static_cast<uint32_t>(time));
}

void EventStream::addChannelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor) {
    const uint8_t kind = midi::statusKind(status);
    const uint8_t channel = status & 0x0F;
    if (kind == midi::kNoteOff || (kind == midi::kNoteOn && data2 == 0)) {
        closeNote(noteKey(data1, channel), tick, tickFactor);
        return;
    }
    const int64_t time = ticksToTimeUnits(tick, tickFactor);
    if (kind == midi::kNoteOn) {
        const size_t durationOffset = size_ + 1;
        appendRecord(time, 0, channel, data1, data2);
        // A note still sounding on the same key ends where the new one starts.
        const uint32_t key = noteKey(data1, channel);
        closeNote(key, tick, tickFactor);
        pending_[slotOf(key)] = PendingNote{generation_, static_cast<uint32_t>(tick), durationOffset};
        return;
    }
    // Program change and channel pressure carry one data byte; 255 fills the record.
    const bool oneDataByte = midi::hasOneDataByte(status);
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

}  // namespace zmr
