#include "codec/byte_order.h"

#include <cstring>

namespace zmr {

void toBigEndian32(std::span<uint32_t> words) {
    for (uint32_t& word : words) {
        uint8_t bytes[4];
        storeBigEndian32(bytes, word);
        std::memcpy(&word, bytes, sizeof word);
    }
}

void fromBigEndian16(std::span<uint16_t> words) {
    for (uint16_t& word : words) {
        uint8_t bytes[2];
        std::memcpy(bytes, &word, sizeof word);
        word = loadBigEndian16(bytes);
    }
}

}  // namespace zmr
