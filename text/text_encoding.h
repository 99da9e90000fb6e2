#pragma once
// How the bytes of a title or of lyrics are written: what `scan` guesses from
// them, and what `--text-encoding` tells the conversion to read them as. By
// default they are VIQR or VNI, as the player's own songs are written, and
// pass the transcoder as they stand; UTF-8 and Windows-1258 are read through
// decodeToNfd instead.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zmr {

enum class TextEncoding {
    ViqrVni,  // the bytes as they stand: the player's reading
    Utf8,
    Cp1258,   // Windows-1258
    Auto,     // a reading only: per song, UTF-8 when its lyrics are, otherwise VIQR/VNI
    Ascii,    // guesses only, each read as the bytes as they stand
    Viqr,
    Vni,
};

// What --text-encoding offers, in the order it lists them.
inline constexpr std::array<TextEncoding, 4> kReadingEncodings = {TextEncoding::ViqrVni, TextEncoding::Utf8,
                                                                  TextEncoding::Cp1258, TextEncoding::Auto};
// What a guess can give, in the order `scan` counts them.
inline constexpr std::array<TextEncoding, 5> kGuessedEncodings = {TextEncoding::Ascii, TextEncoding::Viqr,
                                                                  TextEncoding::Vni, TextEncoding::Utf8,
                                                                  TextEncoding::Cp1258};

// "viqr-vni", "utf8", "cp1258", "auto", "ascii", "viqr", "vni".
std::string_view textEncodingName(TextEncoding encoding);
// One of kReadingEncodings by its name.
std::optional<TextEncoding> parseTextEncoding(std::string_view name);

// Whether text in `encoding` is decoded (UTF-8, Windows-1258) rather than
// passed to the transcoder as it stands.
constexpr bool isDecoded(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Cp1258;
}

// Every byte below 0x80.
bool isAscii(std::span<const uint8_t> bytes);

// How a title from a file name is read under the reading `reading`: ViqrVni,
// Utf8 or Cp1258. A name of ASCII alone is VIQR under every reading, since
// people name files in VIQR. Under utf8 and auto a valid UTF-8 name with a
// multi-byte sequence is UTF-8; under cp1258 any other name that is not ASCII
// is Windows-1258.
TextEncoding titleEncoding(std::span<const uint8_t> title, TextEncoding reading);

}  // namespace zmr
