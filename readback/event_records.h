#pragma once
// Reading a song's event stream back: its 5-byte records with the times that
// their one-byte deltas add up to, and whatever departs from what the event
// stream writer produces.

#include <cstdint>
#include <span>
#include <vector>

#include "readback/stream_problem.h"

namespace zmr {

struct EventRecord {
    uint8_t delta = 0;
    uint8_t duration = 0;  // note records; 1 in every other record
    uint8_t status = 0;    // the channel (below 0x10) for a note, else the status byte 0xA0-0xEF
    uint8_t data1 = 0;
    uint8_t data2 = 0;     // 0xFF for statuses 0xC0-0xDF, which carry one data byte
    uint64_t time = 0;     // the deltas up to and including this one, as the player adds them

    bool isNote() const { return status < 0x10; }
};

struct EventStreamParts {
    std::vector<EventRecord> records;  // every whole record of the stream
    size_t notes = 0;
    uint64_t lastTime = 0;  // time of the last record: the song's length
    std::vector<StreamProblem> problems;
};

EventStreamParts readEventStream(std::span<const uint8_t> stream);

}  // namespace zmr
