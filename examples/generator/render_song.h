#pragma once
// A song as the bytes of a format 1 Standard MIDI File.

#include <cstdint>
#include <vector>

#include "song.h"

namespace zmr::examples {

// Tracks: the conductor, for karaoke files a Words track with the lyrics,
// then melody (with the lyrics otherwise), chords, bass and drums.
// Throws std::runtime_error when the song's notation does not add up.
std::vector<uint8_t> renderSong(const Song& song);

}  // namespace zmr::examples
