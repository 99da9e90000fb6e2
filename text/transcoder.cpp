#include "text/transcoder.h"

#include <array>
#include <cstddef>
#include <utility>

namespace zmr {

namespace {

// VNI writes these letters as one byte; each becomes the code of the same
// letter as VIQR composes it. 212 (capital O with horn) shares 252 with
// capital A with breve, as the player's table has it.
constexpr std::pair<uint8_t, uint8_t> kSingleByteLetters[] = {
    {198, 192}, {204, 191}, {205, 190}, {209, 174}, {210, 194}, {211, 193},
    {212, 252}, {214, 251}, {230, 169}, {236, 141}, {237, 161}, {241, 173},
    {242, 171}, {243, 170}, {244, 243}, {246, 159},
};

constexpr std::array<uint8_t, 256> makeRemap() {
    std::array<uint8_t, 256> remap{};
    for (std::size_t i = 0; i < remap.size(); ++i) remap[i] = static_cast<uint8_t>(i);
    for (const auto& [from, to] : kSingleByteLetters) remap[from] = to;
    return remap;
}

constexpr std::array<uint8_t, 256> kRemap = makeRemap();

}  // namespace

uint8_t remapSingleByte(uint8_t byte) { return kRemap[byte]; }

uint8_t Transcoder::transcodeChar(uint8_t byte, bool reset) {
    if (reset) pending_ = 0;
    // A flush keeps the pending code: callers reset on the next segment's first byte.
    if (byte == 0) return pending_;
    // The remapped byte is also the second code of the lookup.
    byte = remapSingleByte(byte);
    if (pending_ != 0) {
        const uint8_t composed = table_->compose(pending_, byte);
        if (composed != 0) {
            pending_ = composed;
            return 0;
        }
    }
    const uint8_t released = pending_;
    pending_ = byte;
    return released;
}

uint8_t Transcoder::startCharacter(uint8_t byte, bool reset) {
    if (reset) pending_ = 0;
    const uint8_t released = pending_;
    pending_ = byte;
    return released;
}

std::vector<uint8_t> transcodeText(std::string_view text, const CompositionTable& table) {
    Transcoder transcoder(table);
    std::vector<uint8_t> codes;
    bool reset = true;
    for (const char c : text) {
        if (const uint8_t code = transcoder.transcodeChar(static_cast<uint8_t>(c), reset)) codes.push_back(code);
        reset = false;
    }
    if (const uint8_t code = transcoder.transcodeChar(0, reset)) codes.push_back(code);
    return codes;
}

}  // namespace zmr
