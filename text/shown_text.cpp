#include "text/shown_text.h"

#include <cstdint>
#include <span>

#include "base/hex_text.h"
#include "text/utf8.h"

namespace zmr {
namespace {

void appendEscaped(std::string& out, uint8_t byte) {
    switch (byte) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case 0x1B: out += "\\e"; break;
        default: out += byteEscape(byte);
    }
}

// U+0080..U+009F, the C1 controls: 0xC2 then 0x80..0x9F.
bool isC1(std::span<const uint8_t> character) { return character.size() == 2 && character[0] == 0xC2 && character[1] < 0xA0; }

}  // namespace

std::string shownText(std::string_view text) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < bytes.size();) {
        const Utf8Step step = nextUtf8(bytes.subspan(at));
        const std::span<const uint8_t> piece = bytes.subspan(at, step.length);
        const bool control = step.length == 1 && (piece[0] < 0x20 || piece[0] == 0x7F);
        if (!step.valid || control || isC1(piece)) {
            if (step.valid && step.length == 1) appendEscaped(out, piece[0]);
            else for (const uint8_t byte : piece) out += byteEscape(byte);
        } else {
            out.append(reinterpret_cast<const char*>(piece.data()), piece.size());
        }
        at += step.length;
    }
    return out;
}

}  // namespace zmr
