#pragma once
// Byte order of the image's own words (big-endian 32-bit) and of MIDI header
// fields (big-endian 16/32-bit). Written over bytes, so the host's own order
// never matters.

#include <cstdint>
#include <span>

namespace zmr {

inline uint32_t loadBigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

inline uint16_t loadBigEndian16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

inline void storeBigEndian32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value >> 24);
    p[1] = static_cast<uint8_t>(value >> 16);
    p[2] = static_cast<uint8_t>(value >> 8);
    p[3] = static_cast<uint8_t>(value);
}

// Rewrites each word in place so that its most significant byte comes first in
// memory; applying it twice restores the host value, so it serves both ways.
void toBigEndian32(std::span<uint32_t> words);

// Rewrites each 16-bit word read from big-endian bytes into host order in place.
void fromBigEndian16(std::span<uint16_t> words);

}  // namespace zmr
