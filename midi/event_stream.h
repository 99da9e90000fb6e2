#pragma once
// The player's copy of a song's music: 5-byte event records in time order,
// each note-on folded with its note-off into one record carrying the duration.

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "midi/merge_consumer.h"

namespace zmr {

inline constexpr size_t kEventRecordSize = 5;

class EventStream : public MergeConsumer {
public:
    // Prepares an empty stream; the total track bytes only size the first allocation.
    void startEventStream(uint32_t totalTrackBytes);
    void addChannelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor);
    // Ends the pending note of `key` (note * 256 + channel) at `tick`, if there is one.
    void closeNote(uint32_t key, int32_t tick, float tickFactor);
    // Forgets the notes never closed; their duration bytes stay 0.
    void finishEventStream();

    std::span<const uint8_t> bytes() const { return buffer_; }

    void channelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor) override {
        addChannelMessage(status, data1, data2, tick, tickFactor);
    }
    void lyric(std::span<const uint8_t>, int64_t) override {}

private:
    struct PendingNote {
        uint32_t startTick;
        size_t durationOffset;  // position of byte 1 of the note's record; the buffer may move
    };

    void appendRecord(int64_t time, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4);

    std::vector<uint8_t> buffer_;
    int32_t previousTime_ = 0;
    std::unordered_map<uint32_t, PendingNote> pending_;
};

}  // namespace zmr
