#pragma once
// What the track merge hands on, in merge order. The event stream and the text
// stream each take their part; tests and read-back tools can listen too.

#include <cstdint>
#include <span>

namespace zmr {

class MergeConsumer {
public:
    virtual ~MergeConsumer() = default;

    // A channel message with running status applied. `data2` is 0 for the
    // statuses 0xC0-0xDF, which carry one data byte. `tick` is the event's
    // absolute tick; `tickFactor` the factor in force.
    virtual void channelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor) = 0;

    // A lyric meta event's bytes and its time in time units.
    virtual void lyric(std::span<const uint8_t> bytes, int64_t timeUnits) = 0;

    // A text meta event (type 0x01) of track `track` (from 0), with its time in
    // time units. The player's reading passes them over; Soft Karaoke files
    // keep their lyrics in them.
    virtual void textEvent(uint32_t /*track*/, std::span<const uint8_t> /*bytes*/, int64_t /*timeUnits*/) {}
};

}  // namespace zmr
