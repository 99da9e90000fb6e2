#pragma once
// MIDI variable-length quantities: 7 bits per byte, most significant group
// first, a set high bit meaning another byte follows.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zmr {

// Reads the quantity at `cursor` and moves the cursor past it. The number of
// bytes is not limited; only the low 32 bits of an over-long quantity remain.
// A quantity that runs past the end of `track` yields nothing and leaves the
// cursor at the end: many files in the wild end a track in mid-event.
// Inline: a song's merge reads one before every event.
inline std::optional<uint32_t> readVarLen(std::span<const uint8_t> track, uint32_t& cursor) {
    uint32_t value = 0;
    while (cursor < track.size()) {
        const uint8_t byte = track[cursor++];
        value = (value << 7) | (byte & 0x7Fu);
        if ((byte & 0x80u) == 0) return value;
    }
    cursor = static_cast<uint32_t>(track.size());
    return std::nullopt;
}

// Appends `value` as a quantity: as few bytes as it takes, so 0 is one byte.
// Values above 28 bits take more than the four bytes a MIDI file allows;
// writers keep their values below that.
inline void appendVarLen(std::vector<uint8_t>& out, uint64_t value) {
    uint8_t groups[10];
    int count = 0;
    do {
        groups[count++] = static_cast<uint8_t>(value & 0x7Fu);
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(static_cast<uint8_t>(groups[--count] | 0x80u));
    out.push_back(groups[0]);
}

}  // namespace zmr
