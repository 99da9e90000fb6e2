#pragma once
// Times of a playback: the song's 17 ms time units as clock time, and clock
// time as people read a position.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "midi/time_units.h"
#include "playback/playback_clock.h"

namespace zmr {

inline PlaybackTime unitsToTime(uint64_t units) {
    return PlaybackTime(static_cast<int64_t>(units * kMillisecondsPerUnit));
}

// "mm:ss", seconds rounded down, as the position and length show.
std::string minutesSecondsOf(PlaybackTime time);

// Reads "MM:SS", "M:SS", "SS" or any of them with a fraction ("01:12.5");
// nothing when the text is not a time.
std::optional<PlaybackTime> parsePlaybackTime(std::string_view text);

}  // namespace zmr
