#include "timeline.h"

#include <algorithm>
#include <span>

namespace zmr::examples {

void Timeline::add(uint32_t tick, Order order, Emit emit) { entries_.push_back({tick, order, std::move(emit)}); }

void Timeline::note(uint32_t tick, uint32_t length, uint8_t channel, uint8_t note, uint8_t velocity) {
    add(tick, Order::NoteStart,
        [=](zmr::test::TrackWriter& w, uint32_t delta) { w.noteOn(delta, channel, note, velocity); });
    if (zeroVelocityEnds_) {
        add(tick + length, Order::NoteEnd,
            [=](zmr::test::TrackWriter& w, uint32_t delta) { w.noteOn(delta, channel, note, 0); });
    } else {
        add(tick + length, Order::NoteEnd,
            [=](zmr::test::TrackWriter& w, uint32_t delta) { w.noteOff(delta, channel, note, 64); });
    }
}

void Timeline::controller(uint32_t tick, uint8_t channel, uint8_t number, uint8_t value) {
    add(tick, Order::Control,
        [=](zmr::test::TrackWriter& w, uint32_t delta) { w.controller(delta, channel, number, value); });
}

void Timeline::program(uint32_t tick, uint8_t channel, uint8_t program) {
    add(tick, Order::Control,
        [=](zmr::test::TrackWriter& w, uint32_t delta) { w.programChange(delta, channel, program); });
}

void Timeline::meta(uint32_t tick, uint8_t type, const std::string& data) {
    add(tick, Order::Meta, [=](zmr::test::TrackWriter& w, uint32_t delta) {
        w.meta(delta, type, std::span(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
    });
}

zmr::test::TrackWriter Timeline::write(bool runningStatus, uint32_t endTick) const {
    std::vector<const Entry*> sorted;
    for (const Entry& entry : entries_) sorted.push_back(&entry);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry* a, const Entry* b) {
        return a->tick != b->tick ? a->tick < b->tick : a->order < b->order;
    });
    zmr::test::TrackWriter writer(runningStatus);
    uint32_t now = 0;
    for (const Entry* entry : sorted) {
        entry->emit(writer, entry->tick - now);
        now = entry->tick;
    }
    writer.endOfTrack(std::max(endTick, now) - now);
    return writer;
}

}  // namespace zmr::examples
