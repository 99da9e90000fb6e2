#include "readback/event_records.h"

#include "base/hex_text.h"
#include "midi/event_stream.h"
#include "midi/midi_status.h"

namespace zmr {
namespace {

constexpr uint8_t kFirstStatus = 0xA0;
constexpr uint8_t kLastStatus = 0xEF;
constexpr uint8_t kOtherRecordMark = 1;
constexpr uint8_t kMissingDataByte = 0xFF;

using midi::hasOneDataByte;

void check(const EventRecord& r, size_t byte, std::vector<StreamProblem>& problems) {
    if (r.isNote()) {
        if (r.data2 == 0) problems.push_back({byte + 4, "note record with velocity 0"});
        return;
    }
    if (r.status < kFirstStatus || r.status > kLastStatus) {
        problems.push_back({byte + 2, "byte 2 is " + hexNumber(r.status) +
                                          ", neither a channel (below 0x10) nor a status from 0xA0 to 0xEF"});
        return;
    }
    if (r.duration != kOtherRecordMark) {
        problems.push_back({byte + 1, "byte 1 of a record with status " + hexNumber(r.status) + " is " +
                                          std::to_string(r.duration) + ", expected 1"});
    }
    if (hasOneDataByte(r.status) && r.data2 != kMissingDataByte) {
        problems.push_back({byte + 4, "byte 4 of a record with status " + hexNumber(r.status) + " is " + hexNumber(r.data2) +
                                          ", expected 0xFF"});
    }
}

}  // namespace

EventStreamParts readEventStream(std::span<const uint8_t> stream) {
    EventStreamParts parts;
    if (stream.size() % kEventRecordSize != 0) {
        parts.problems.push_back({stream.size(), "the event stream's length " + std::to_string(stream.size()) +
                                                     " is not a multiple of 5"});
    }
    parts.records.reserve(stream.size() / kEventRecordSize);
    uint64_t time = 0;
    for (size_t i = 0; i + kEventRecordSize <= stream.size(); i += kEventRecordSize) {
        time += stream[i];
        const EventRecord r{stream[i], stream[i + 1], stream[i + 2], stream[i + 3], stream[i + 4], time};
        check(r, i, parts.problems);
        parts.notes += r.isNote();
        parts.records.push_back(r);
    }
    parts.lastTime = time;
    return parts;
}

}  // namespace zmr
