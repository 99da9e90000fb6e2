#pragma once
// A song's two streams, decoded from the sections of its record.

#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"
#include "readback/image_index.h"

namespace zmr {

// Decodes one section to exactly its stated length. `strict` also insists
// that nothing but zero bits follow the last code, as the compiler writes.
// A stated length beyond what the section's bytes can encode fails before
// anything is allocated.
Result<std::vector<uint8_t>> decodeSection(std::span<const uint8_t> image, const SectionFraming& section, bool strict);

struct SongStreams {
    std::vector<uint8_t> text;
    std::vector<uint8_t> events;
};

// Both streams of a song located by readImageIndex on the same image.
Result<SongStreams> readSongStreams(std::span<const uint8_t> image, const SongLocation& song);

}  // namespace zmr
