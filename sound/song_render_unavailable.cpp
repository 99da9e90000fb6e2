// Rendering in a build without FluidSynth (Debian builds none for MinGW).

#include "sound/song_render.h"

namespace zmr {

bool songRenderAvailable() { return false; }

Result<RenderSummary> renderSong(std::span<const TimedMessage>, const RenderOptions&) {
    return Failure{"rendering needs FluidSynth, which this build does not have"};
}

}  // namespace zmr
