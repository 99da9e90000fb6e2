#pragma once
// What a song's decoded streams tell of it, as `zmrimage list` and the web
// page list it: its notes, its lyric characters, its length and its title.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/result.h"
#include "readback/image_index.h"

namespace zmr {

struct SongSummary {
    size_t notes = 0;
    size_t lyricCharacters = 0;  // line ends not counted
    uint64_t lengthUnits = 0;    // the time of the last event record
    std::string title;           // UTF-8
};

// Song `song` of `image`, located there by readImageIndex.
Result<SongSummary> readSongSummary(std::span<const uint8_t> image, const SongLocation& song);

}  // namespace zmr
