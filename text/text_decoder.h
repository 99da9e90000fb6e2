#pragma once
// Reading lyric and title bytes written in Unicode (UTF-8) or in Windows-1258,
// the Vietnamese Windows code page. One small interface, so that each platform
// supplies its own implementation: ICU elsewhere, the system's converter and
// normaliser on Windows.

#include <cstdint>
#include <span>
#include <string>

#include "text/text_encoding.h"

namespace zmr {

// The text in canonical decomposition (NFD), one char32_t per code point; a byte or sequence that is
// not valid in the encoding becomes U+003F '?'. Thread-safe, no process-wide mutable state.
// `encoding` is Utf8 or Cp1258 (see isDecoded); any other reads as Cp1258.
std::u32string decodeToNfd(std::span<const uint8_t> bytes, TextEncoding encoding);

}  // namespace zmr
