#pragma once
// Decoder for the player's 12-bit LZW sections, mirroring lzwCompress.

#include <cstdint>
#include <span>
#include <vector>

#include "codec/result.h"

namespace zmr {

// Decodes `section` until exactly `length` bytes have been produced (the
// uncompressed length stored beside the section). Fails with a message naming
// the byte offset when a code cannot occur yet, or when the section ends before
// `length` bytes were produced. Memory grows with what is really decoded, never
// with a claimed length alone.
Result<std::vector<uint8_t>> lzwDecompress(std::span<const uint8_t> section, uint32_t length);

}  // namespace zmr
