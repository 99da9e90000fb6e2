#pragma once
// A playback clock that moves only when the test says, so that what sounds
// and shows at a moment of a song is tested without waiting for it.

#include <atomic>

#include "playback/playback_clock.h"

namespace zmr::test {

class ManualClock : public PlaybackClock {
public:
    PlaybackTime now() const override { return PlaybackTime(now_.load()); }
    void advance(PlaybackTime by) { now_ += by.count(); }

private:
    std::atomic<int64_t> now_{1'000'000};  // any start: positions count from where playing began
};

}  // namespace zmr::test
