#pragma once
// The player's 12-bit LZW coder: codes 0-255 are literal bytes, 257-4094 are
// assigned to new strings in order, the dictionary is reset silently when full,
// and the stream carries neither a clear code nor an end code.

#include <cstdint>
#include <span>
#include <vector>

namespace zmr {

// Compresses `input` into the player's code stream, ending with the zero code
// and a final 0x00 byte. The output never exceeds 3 * size / 2 + 2 bytes.
// An empty input yields an empty output.
std::vector<uint8_t> lzwCompress(std::span<const uint8_t> input);

}  // namespace zmr
