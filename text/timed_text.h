#pragma once
// A text-carrying meta event held back from the merge: its bytes (copied, so
// they outlive the song file) and its time in time units.

#include <cstdint>
#include <vector>

namespace zmr {

struct TimedText {
    std::vector<uint8_t> bytes;
    int64_t timeUnits = 0;
};

// A text event (meta type 0x01) and the track it came from.
struct TrackText {
    uint32_t track = 0;
    TimedText text;
};

}  // namespace zmr
