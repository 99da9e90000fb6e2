#pragma once
// The player's 12-bit LZW coder: codes 0-255 are literal bytes, 257-4094 are
// assigned to new strings in order, the dictionary is reset silently when full,
// and the stream carries neither a clear code nor an end code.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zmr {

// The most bytes the code stream of `inputSize` bytes can take.
constexpr size_t lzwMaxCompressedSize(size_t inputSize) { return inputSize == 0 ? 0 : inputSize * 3 / 2 + 2; }

// Compresses `input` into the player's code stream, ending with the zero code
// and a final 0x00 byte. The output never exceeds lzwMaxCompressedSize bytes.
// An empty input yields an empty output.
std::vector<uint8_t> lzwCompress(std::span<const uint8_t> input);

// The same stream written into `out`, which must hold at least
// lzwMaxCompressedSize(input.size()) bytes; returns the bytes written (0, and
// nothing written, when `out` is shorter than that). For
// callers that reuse one buffer for many streams, or that want no buffer
// initialised before the coder writes it.
size_t lzwCompressInto(std::span<const uint8_t> input, std::span<uint8_t> out);

}  // namespace zmr
