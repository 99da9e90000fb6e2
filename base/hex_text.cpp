#include "base/hex_text.h"

namespace zmr {
namespace {

void appendDigits(std::string& out, uint32_t value, int digits) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

}  // namespace

std::string hexNumber(uint32_t value, int digits) {
    std::string text = "0x";
    appendDigits(text, value, digits);
    return text;
}

std::string byteEscape(uint8_t byte) {
    std::string text = "\\x";
    appendDigits(text, byte, 2);
    return text;
}

}  // namespace zmr
