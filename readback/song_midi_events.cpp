#include "readback/song_midi_events.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "midi/midi_status.h"

namespace zmr {
namespace {

using midi::kNoteOff;
using midi::kNoteOn;

struct Ranked {
    int rank;       // 0: note-off of an earlier note, 1: a record and a zero-length note's note-off
    size_t record;  // record order
    int step;       // 0: the record's own message, 1: its zero-length note-off
    TimedMessage message;

    bool operator<(const Ranked& other) const {
        return std::tie(message.time, rank, record, step) <
               std::tie(other.message.time, other.rank, other.record, other.step);
    }
};

uint8_t dataByte(uint8_t value, size_t& cut) {
    if (value > 0x7F) ++cut;
    return value & 0x7F;
}

}  // namespace

SongMidiEvents songMidiEvents(std::span<const EventRecord> events) {
    SongMidiEvents out;
    std::vector<Ranked> list;
    list.reserve(events.size() * 2);
    std::unordered_map<uint32_t, uint64_t> noteEnds;  // by note * 256 + channel
    for (size_t i = 0; i < events.size(); ++i) {
        const EventRecord& r = events[i];
        if (r.isNote()) {
            const uint32_t key = uint32_t{r.data1} * 256 + r.status;
            const auto previous = noteEnds.find(key);
            if (previous != noteEnds.end() && previous->second > r.time) ++out.overlappedNotes;
            noteEnds[key] = r.time + r.duration;
            const uint8_t note = dataByte(r.data1, out.cutDataBytes);
            uint8_t velocity = dataByte(r.data2, out.cutDataBytes);
            if (velocity == 0) velocity = 1;  // a velocity of 0 would end the note instead
            list.push_back({1, i, 0, {r.time, {static_cast<uint8_t>(kNoteOn | r.status), note, velocity}, 3}});
            const bool zeroLength = r.duration == 0;
            list.push_back({zeroLength ? 1 : 0, i, zeroLength ? 1 : 0,
                            {r.time + r.duration, {static_cast<uint8_t>(kNoteOff | r.status), note, 0}, 3}});
        } else if (r.status >= midi::kKeyPressure && r.status < midi::kSysEx) {
            const bool oneDataByte = midi::hasOneDataByte(r.status);
            const uint8_t data1 = dataByte(r.data1, out.cutDataBytes);
            const uint8_t data2 = oneDataByte ? 0 : dataByte(r.data2, out.cutDataBytes);
            list.push_back({1, i, 0, {r.time, {r.status, data1, data2}, static_cast<uint8_t>(oneDataByte ? 2 : 3)}});
        } else {
            ++out.skippedRecords;
        }
    }
    std::sort(list.begin(), list.end());
    out.messages.reserve(list.size());
    for (const Ranked& r : list) out.messages.push_back(r.message);
    return out;
}

}  // namespace zmr
