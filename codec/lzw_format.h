#pragma once
// The code space of the player's 12-bit LZW sections, shared by the coder and
// the decoder so that both agree on where the dictionary starts and fills.

#include <cstdint>

namespace zmr {

inline constexpr unsigned kLzwCodeBits = 12;
// Codes below this are the literal bytes; they never enter the dictionary.
inline constexpr uint32_t kLzwLiteralCount = 256;
// 256 is never assigned, so the first new string of a dictionary gets 257.
inline constexpr uint32_t kLzwFirstFreeCode = 257;
// When the next code reaches 4095 the dictionary is full (4095 is never
// assigned): the next code written adds nothing and the dictionary restarts.
inline constexpr uint32_t kLzwCodeLimit = 4095;

}  // namespace zmr
