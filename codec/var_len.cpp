#include "codec/var_len.h"

namespace zmr {

std::optional<uint32_t> readVarLen(std::span<const uint8_t> track, uint32_t& cursor) {
    uint32_t value = 0;
    while (cursor < track.size()) {
        const uint8_t byte = track[cursor++];
        value = (value << 7) | (byte & 0x7Fu);
        if ((byte & 0x80u) == 0) return value;
    }
    cursor = static_cast<uint32_t>(track.size());
    return std::nullopt;
}

}  // namespace zmr
