#pragma once
// The events of one track at absolute ticks, in any order; written out sorted,
// with the delta times that the MIDI writer wants.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/midi_writer.h"

namespace zmr::examples {

// Which of several events on one tick comes first: a note ends before the
// next one starts, and lyrics and controllers come before the note they belong to.
enum class Order { NoteEnd, Meta, Control, NoteStart };

class Timeline {
public:
    using Emit = std::function<void(zmr::test::TrackWriter&, uint32_t delta)>;

    // With `zeroVelocityEnds`, notes end with a note-on of velocity 0.
    explicit Timeline(bool zeroVelocityEnds = false) : zeroVelocityEnds_(zeroVelocityEnds) {}

    void add(uint32_t tick, Order order, Emit emit);
    void note(uint32_t tick, uint32_t length, uint8_t channel, uint8_t note, uint8_t velocity);
    void controller(uint32_t tick, uint8_t channel, uint8_t number, uint8_t value);
    void program(uint32_t tick, uint8_t channel, uint8_t program);
    void meta(uint32_t tick, uint8_t type, const std::string& data);

    // Events sorted by tick, then by order, then as added; then the end of the
    // track at the last event (or at `endTick` when that is later).
    zmr::test::TrackWriter write(bool runningStatus, uint32_t endTick = 0) const;

private:
    struct Entry {
        uint32_t tick;
        Order order;
        Emit emit;
    };

    bool zeroVelocityEnds_;
    std::vector<Entry> entries_;
};

}  // namespace zmr::examples
