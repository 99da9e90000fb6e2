#include "playback/playback_clock.h"

namespace zmr {
namespace {

class SteadyClock : public PlaybackClock {
public:
    PlaybackTime now() const override {
        return std::chrono::duration_cast<PlaybackTime>(std::chrono::steady_clock::now().time_since_epoch());
    }
};

}  // namespace

const PlaybackClock& steadyPlaybackClock() {
    static const SteadyClock clock;
    return clock;
}

}  // namespace zmr
