#include "text/text_encoding.h"

#include <algorithm>
#include <array>

namespace zmr {
namespace {

struct NamedEncoding {
    TextEncoding encoding;
    std::string_view name;
};

constexpr std::array<NamedEncoding, 4> kNames = {{
    {TextEncoding::ViqrVni, "viqr-vni"},
    {TextEncoding::Utf8, "utf8"},
    {TextEncoding::Cp1258, "cp1258"},
    {TextEncoding::Auto, "auto"},
}};

bool isContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at `at`, 0 when there is none.
size_t sequenceLength(std::span<const uint8_t> bytes, size_t at) {
    const uint8_t lead = bytes[at];
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() - at < length) return 0;
    if (bytes[at + 1] < low || bytes[at + 1] > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (!isContinuation(bytes[at + i])) return 0;
    }
    return length;
}

// 0 invalid, 1 ASCII only, 2 valid with a multi-byte sequence.
int utf8Kind(std::span<const uint8_t> bytes) {
    int kind = 1;
    for (size_t at = 0; at < bytes.size();) {
        const size_t length = sequenceLength(bytes, at);
        if (length == 0) return 0;
        if (length > 1) kind = 2;
        at += length;
    }
    return kind;
}

}  // namespace

std::string_view textEncodingName(TextEncoding encoding) {
    for (const NamedEncoding& n : kNames) {
        if (n.encoding == encoding) return n.name;
    }
    return {};
}

std::optional<TextEncoding> parseTextEncoding(std::string_view name) {
    for (const NamedEncoding& n : kNames) {
        if (n.name == name) return n.encoding;
    }
    return std::nullopt;
}

bool isAscii(std::span<const uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b < 0x80; });
}

bool isUtf8WithMultibyte(std::span<const uint8_t> bytes) { return utf8Kind(bytes) == 2; }

bool isValidUtf8(std::span<const uint8_t> bytes) { return utf8Kind(bytes) != 0; }

std::optional<SourceEncoding> titleDecoding(std::span<const uint8_t> title, TextEncoding encoding) {
    if (encoding == TextEncoding::ViqrVni || isAscii(title)) return std::nullopt;
    if (isUtf8WithMultibyte(title)) return SourceEncoding::Utf8;
    if (encoding == TextEncoding::Cp1258) return SourceEncoding::Windows1258;
    return std::nullopt;
}

std::optional<SourceEncoding> fixedLyricDecoding(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8: return SourceEncoding::Utf8;
        case TextEncoding::Cp1258: return SourceEncoding::Windows1258;
        default: return std::nullopt;
    }
}

}  // namespace zmr
