#pragma once
// MIDI ticks to the player's 17 ms time units. The float32 factor and the
// double-precision products must match the player's own arithmetic exactly.

#include <cstdint>
#include <cstring>
#include <string>

namespace zmr {

// The float nearest to 1/17000 (bit pattern 0x3876B949).
// Copied from its bits (std::bit_cast is missing from the WebAssembly build's library).
inline const float kTimeUnitScale = [] {
    const uint32_t bits = 0x3876B949;
    float scale;
    std::memcpy(&scale, &bits, sizeof scale);
    return scale;
}();
inline constexpr float kDefaultTempo = 500000.0f;  // microseconds per quarter note

// Factor at the start of a song: (500000 / division) * K in double, rounded to float.
float initialTickFactor(uint16_t division);

// Factor after a set-tempo event: the integer quotient tempo / division times K, rounded to float.
float tempoTickFactor(uint32_t tempo, uint16_t division);

// ticks * factor in double precision, truncated toward zero. The product can
// pass 2^32, so it is returned whole; callers keep the low bits of their field.
// At most 2^32 ticks times a factor below 1000: far inside int64. Inline, as
// every event record needs it.
inline int64_t ticksToTimeUnits(int64_t ticks, float tickFactor) {
    return static_cast<int64_t>(static_cast<double>(ticks) * static_cast<double>(tickFactor));
}

inline constexpr uint64_t kMillisecondsPerUnit = 17;

// Time units as mm:ss and as mm:ss.cc, as people read a song's length and times.
std::string minutesSeconds(uint64_t units);
std::string minutesSecondsCentis(uint64_t units);

}  // namespace zmr
