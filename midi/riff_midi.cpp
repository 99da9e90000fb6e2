#include "midi/riff_midi.h"

#include <algorithm>
#include <string_view>

namespace zmr {
namespace {

constexpr size_t kFormHeaderSize = 12;  // "RIFF", size, form type
constexpr size_t kChunkHeaderSize = 8;  // id, size (little-endian)

bool hasId(std::span<const uint8_t> bytes, size_t at, std::string_view id) {
    return bytes.size() - at >= id.size() && std::equal(id.begin(), id.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

uint32_t loadLittleEndian32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

}  // namespace

bool isRiffMidi(std::span<const uint8_t> bytes) {
    return bytes.size() >= kFormHeaderSize && hasId(bytes, 0, "RIFF") && hasId(bytes, 8, "RMID");
}

Result<std::span<const uint8_t>> riffMidiData(std::span<const uint8_t> bytes) {
    // Safe for any length by itself: bytes shorter than the form header hold no chunk.
    size_t at = kFormHeaderSize;
    while (at <= bytes.size() && bytes.size() - at >= kChunkHeaderSize) {
        const uint64_t size = loadLittleEndian32(bytes.data() + at + 4);
        const size_t body = at + kChunkHeaderSize;
        const auto held = static_cast<size_t>(std::min<uint64_t>(size, bytes.size() - body));
        if (hasId(bytes, at, "data")) return bytes.subspan(body, held);
        // Skips never pass the end of the file, so `at` never wraps.
        const uint64_t padded = size + (size & 1);
        if (padded >= bytes.size() - body) break;
        at = body + static_cast<size_t>(padded);
    }
    return Failure{"RIFF MIDI file without a data chunk\n", FailureKind::BadSong};
}

}  // namespace zmr
