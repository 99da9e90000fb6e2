#pragma once
// Track 0 of a format 1 file: names, time and key signatures, tempo changes
// and section markers, but no notes.

#include <vector>

#include "bar_plan.h"
#include "song.h"
#include "timeline.h"

namespace zmr::examples {

Timeline conductorTrack(const Song& song, const std::vector<Bar>& bars);

// Microseconds per quarter note.
uint32_t tempoOf(double beatsPerMinute);

}  // namespace zmr::examples
