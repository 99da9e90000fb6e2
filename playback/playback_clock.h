#pragma once
// Where a playback's time comes from. Playing uses the machine's steady
// clock; tests put a clock of their own here and move it by hand, so that
// what sounds and shows at a time is tested without waiting for it.

#include <chrono>

namespace zmr {

using PlaybackTime = std::chrono::milliseconds;

class PlaybackClock {
public:
    virtual ~PlaybackClock() = default;
    virtual PlaybackTime now() const = 0;
};

// The machine's steady clock; shared, and safe from every thread.
const PlaybackClock& steadyPlaybackClock();

}  // namespace zmr
