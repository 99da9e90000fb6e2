#pragma once
// A song's event records as the channel messages that sound them, in the
// order they are sent: each note record becomes a note-on at its time and a
// note-off after its stored duration (modulo 256 units, as the player keeps
// it), every other record its own message. `extract` writes exactly these
// messages into its MIDI file, and play and render send exactly these, so
// what is heard and what is extracted cannot drift apart.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "midi/midi_status.h"
#include "readback/event_records.h"

namespace zmr {

struct TimedMessage {
    uint64_t time = 0;  // time units
    std::array<uint8_t, 3> bytes{};
    uint8_t size = 0;   // 2 for statuses 0xC0-0xDF, else 3

    std::span<const uint8_t> message() const { return std::span<const uint8_t>(bytes.data(), size); }
    bool isNoteOn() const { return midi::statusKind(bytes[0]) == midi::kNoteOn; }
    bool isNoteOff() const { return midi::statusKind(bytes[0]) == midi::kNoteOff; }
};

struct SongMidiEvents {
    // Ordered by time; at one time the note-offs of notes that began earlier
    // go first, so that a note of the same key starting there is not cut by
    // them, then the records in stream order, a note of duration 0 ending
    // right after its own note-on.
    std::vector<TimedMessage> messages;
    size_t skippedRecords = 0;   // records whose byte 2 names no channel message
    size_t cutDataBytes = 0;     // data bytes with the high bit set, cut to 7 bits
    size_t overlappedNotes = 0;  // notes lasting past the next note-on of their key

    // When the last message is sent: the end of the last note to sound.
    uint64_t endTime() const { return messages.empty() ? 0 : messages.back().time; }
};

SongMidiEvents songMidiEvents(std::span<const EventRecord> events);

}  // namespace zmr
