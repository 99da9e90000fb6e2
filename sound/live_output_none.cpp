// The live output of a build without FluidSynth on a system without midiOut:
// there is nothing to play on, and the preview runs silent.

#include "sound/live_output.h"

namespace zmr {

bool liveOutputTakesSoundFont() { return false; }

Result<LiveOutput> openLiveOutput(const LiveOutputOptions&) {
    return LiveOutput{nullptr, "no sound", "this build has no FluidSynth"};
}

}  // namespace zmr
