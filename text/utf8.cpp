#include "text/utf8.h"

namespace zmr {
namespace {

// What may follow a lead byte: the character's length, and the range of its
// second byte (the later ones are always 80..BF). Length 0: the byte cannot
// start a character.
struct LeadByte {
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;
};

LeadByte leadByte(uint8_t lead) {
    if (lead < 0x80) return {1};
    if (lead >= 0xC2 && lead <= 0xDF) return {2};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};  // shorter forms are overlong
    if (lead == 0xED) return {3, 0x80, 0x9F};  // above are the surrogates
    if (lead >= 0xE1 && lead <= 0xEF) return {3};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};  // above is beyond U+10FFFF
    if (lead >= 0xF1 && lead <= 0xF3) return {4};
    return {};
}

}  // namespace

Utf8Step nextUtf8(std::span<const uint8_t> bytes) {
    const LeadByte lead = leadByte(bytes[0]);
    size_t matched = 1;
    while (matched < lead.length && matched < bytes.size()) {
        const uint8_t next = bytes[matched];
        const uint8_t low = matched == 1 ? lead.low : 0x80, high = matched == 1 ? lead.high : 0xBF;
        if (next < low || next > high) break;
        ++matched;
    }
    return {matched, lead.length != 0 && matched == lead.length};
}

bool isValidUtf8(std::span<const uint8_t> bytes) {
    for (size_t at = 0; at < bytes.size();) {
        const Utf8Step step = nextUtf8(bytes.subspan(at));
        if (!step.valid) return false;
        at += step.length;
    }
    return true;
}

}  // namespace zmr
