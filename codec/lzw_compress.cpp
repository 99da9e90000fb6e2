#include "codec/lzw_compress.h"

#include "codec/bit_writer.h"
#include "codec/lzw_dictionary.h"
#include "codec/lzw_format.h"

namespace zmr {

std::vector<uint8_t> lzwCompress(std::span<const uint8_t> input) {
    std::vector<uint8_t> out;
    if (input.empty()) return out;
    // One code per input byte at worst, 1.5 bytes each, plus the closing bytes.
    out.reserve(input.size() * 3 / 2 + 2);

    LzwDictionary dictionary;
    BitWriter writer(out);
    uint32_t nextCode = kLzwFirstFreeCode;
    uint32_t current = input[0];

    for (size_t i = 1; i < input.size(); ++i) {
        const uint8_t c = input[i];
        const int32_t slot = dictionary.findSlot(current, c);
        if (dictionary.holdsCode(slot)) {
            current = dictionary.codeAt(slot);
            continue;
        }
        writer.putCode(current);
        if (nextCode < kLzwCodeLimit) {
            dictionary.store(slot, nextCode++, current, c);
        } else {
            // Full: the code just written assigns nothing and the dictionary
            // restarts silently; the player's decoder does the same in step.
            dictionary.clear();
            nextCode = kLzwFirstFreeCode;
        }
        current = c;
    }
    writer.putCode(current);

    // No end code: the section's stated length tells the player where to stop,
    // and at least 12 zero bits follow the last code.
    writer.putClosingZeroCode();
    out.push_back(0x00);
    return out;
}

}  // namespace zmr
