#pragma once
// How the bytes of a song's title and lyrics are read. By default they are
// VIQR or VNI, as the player's own songs are written; a collection written in
// Unicode or in Windows-1258 is read through decodeToNfd instead.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "text/text_decoder.h"

namespace zmr {

enum class TextEncoding {
    ViqrVni,  // the bytes as they stand: the player's reading
    Utf8,
    Cp1258,
    Auto,  // per song: UTF-8 when its lyrics are, otherwise VIQR/VNI
};

// "viqr-vni", "utf8", "cp1258", "auto".
std::string_view textEncodingName(TextEncoding encoding);
std::optional<TextEncoding> parseTextEncoding(std::string_view name);

// Every byte below 0x80.
bool isAscii(std::span<const uint8_t> bytes);
// Valid UTF-8 (no overlong forms, surrogates or code points past U+10FFFF)
// holding at least one multi-byte sequence.
bool isUtf8WithMultibyte(std::span<const uint8_t> bytes);
// Valid UTF-8, ASCII included.
bool isValidUtf8(std::span<const uint8_t> bytes);

// How a title from a file name is read; nothing means VIQR/VNI. A name of
// ASCII alone is VIQR under every encoding, since people name files in VIQR.
// Under utf8 and auto a valid UTF-8 name with a multi-byte sequence is
// UTF-8; under cp1258 any other name that is not ASCII is Windows-1258.
std::optional<SourceEncoding> titleDecoding(std::span<const uint8_t> title, TextEncoding encoding);

// How lyric events are read under utf8 and cp1258; nothing for viqr-vni. Auto
// is decided per song, from all of its lyric events: see lyricsAreUtf8.
std::optional<SourceEncoding> fixedLyricDecoding(TextEncoding encoding);

}  // namespace zmr
