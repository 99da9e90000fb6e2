#pragma once
// Decoder for the player's 12-bit LZW sections, mirroring lzwCompress.
//
// Two entry points share one decoder: lzwDecompress reads what the player
// reads and ignores whatever follows the last needed code; lzwDecompressStrict
// is for verifying images and also insists that only zero bits follow it, as
// lzwCompress always writes (the zero code, then a 0x00 byte).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"

namespace zmr {

// Decodes `section` until exactly `length` bytes have been produced (the
// uncompressed length stored beside the section). Fails with a message naming
// the byte offset when a code cannot occur yet, when a string would run past
// `length`, or when the section ends before `length` bytes were produced.
// Memory grows with what is really decoded, never with a claimed length alone.
// A length of 0 yields an empty result whatever the section holds.
Result<std::vector<uint8_t>> lzwDecompress(std::span<const uint8_t> section, uint32_t length);

// As lzwDecompress, and also fails when any bit after the last needed code is
// set. With a length of 0 there is no code, so the whole section must be zero.
Result<std::vector<uint8_t>> lzwDecompressStrict(std::span<const uint8_t> section, uint32_t length);

// The most bytes that a section of `sectionBytes` bytes can decode to: within
// each dictionary cycle the k-th code stands for at most k bytes. A reader can
// reject a stated length above this before decoding anything.
uint64_t lzwMaxDecodedSize(size_t sectionBytes);

}  // namespace zmr
