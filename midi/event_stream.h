#pragma once
// The player's copy of a song's music: 5-byte event records in time order,
// each note-on folded with its note-off into one record carrying the duration.

#include <cstdint>
#include <span>
#include <vector>

#include "midi/merge_consumer.h"

namespace zmr {

inline constexpr size_t kEventRecordSize = 5;

// One stream can serve song after song: its buffer and note table are kept,
// so a song allocates nothing once the stream has grown to its size.
class EventStream : public MergeConsumer {
public:
    EventStream();

    // Prepares an empty stream; the total track bytes only size the first allocation.
    void startEventStream(uint32_t totalTrackBytes);
    void addChannelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor);
    // Ends the pending note of `key` (note * 256 + channel) at `tick`, if there is one.
    void closeNote(uint32_t key, int32_t tick, float tickFactor);
    // Forgets the notes never closed; their duration bytes stay 0.
    void finishEventStream();

    std::span<const uint8_t> bytes() const { return {buffer_.data(), size_}; }

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
    void appendRecord(int64_t time, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4);
    void forgetPendingNotes();

    // Bytes [0, size_) are the stream; the rest is room to grow into.
    std::vector<uint8_t> buffer_;
    size_t size_ = 0;
    int32_t previousTime_ = 0;
    std::vector<PendingNote> pending_;
    uint32_t generation_ = 1;
};

}  // namespace zmr
