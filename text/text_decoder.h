#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace zmr {
enum class SourceEncoding { Utf8, Windows1258 };
// The text in canonical decomposition (NFD), one char32_t per code point; a byte or sequence that is
// not valid in the encoding becomes U+003F '?'. Thread-safe, no process-wide mutable state.
std::u32string decodeToNfd(std::span<const uint8_t> bytes, SourceEncoding encoding);
}
