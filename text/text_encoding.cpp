#include "text/text_encoding.h"

#include <algorithm>

#include "text/utf8.h"

namespace zmr {

std::string_view textEncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::ViqrVni: return "viqr-vni";
        case TextEncoding::Utf8: return "utf8";
        case TextEncoding::Cp1258: return "cp1258";
        case TextEncoding::Auto: return "auto";
        case TextEncoding::Ascii: return "ascii";
        case TextEncoding::Viqr: return "viqr";
        case TextEncoding::Vni: return "vni";
    }
    return {};
}

std::optional<TextEncoding> parseTextEncoding(std::string_view name) {
    for (const TextEncoding encoding : kReadingEncodings) {
        if (textEncodingName(encoding) == name) return encoding;
    }
    return std::nullopt;
}

bool isAscii(std::span<const uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b < 0x80; });
}

TextEncoding titleEncoding(std::span<const uint8_t> title, TextEncoding reading) {
    const bool decodes = isDecoded(reading) || reading == TextEncoding::Auto;
    if (!decodes || isAscii(title)) return TextEncoding::ViqrVni;
    if (isValidUtf8(title)) return TextEncoding::Utf8;
    if (reading == TextEncoding::Cp1258) return TextEncoding::Cp1258;
    return TextEncoding::ViqrVni;
}

}  // namespace zmr
