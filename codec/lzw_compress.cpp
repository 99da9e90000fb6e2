#include "codec/lzw_compress.h"

#include "codec/bit_writer.h"
#include "codec/lzw_dictionary.h"
#include "codec/lzw_format.h"

namespace zmr {

std::vector<uint8_t> lzwCompress(std::span<const uint8_t> input) {
    std::vector<uint8_t> out(lzwMaxCompressedSize(input.size()));
    out.resize(lzwCompressInto(input, out));
    return out;
}

namespace {

// The coder's loop, with the dictionary's size a constant when it is full size.
template <bool kFullDictionary>
size_t encode(std::span<const uint8_t> input, LzwDictionary& dictionary, uint8_t* out) {
    BitWriter writer(out);
    uint32_t nextCode = kLzwFirstFreeCode;
    uint32_t current = input[0];
    uint32_t hash = LzwDictionary::startHash(input[0]);

    for (size_t i = 1; i < input.size(); ++i) {
        const uint8_t c = input[i];
        hash = LzwDictionary::extendHash(hash, c);
        uint32_t slot;
        if (const uint32_t code = dictionary.find<kFullDictionary>(hash, current, c, slot); code != 0) {
            current = code;
            continue;
        }
        writer.putCode(current);
        if (nextCode < kLzwCodeLimit) {
            dictionary.store(slot, current, c, nextCode++);
        } else {
            // Full: the code just written assigns nothing and the dictionary
            // restarts silently; the player's decoder does the same in step.
            dictionary.clear();
            nextCode = kLzwFirstFreeCode;
        }
        current = c;
        hash = LzwDictionary::startHash(c);
    }
    writer.putCode(current);

    // No end code: the section's stated length tells the player where to stop,
    // and at least 12 zero bits follow the last code.
    writer.putClosingZeroCode();
    writer.putByte(0x00);
    return writer.size();
}

}  // namespace

size_t lzwCompressInto(std::span<const uint8_t> input, std::span<uint8_t> out) {
    if (input.empty() || out.size() < lzwMaxCompressedSize(input.size())) return 0;
    LzwDictionary dictionary(input.size());
    return dictionary.full() ? encode<true>(input, dictionary, out.data()) : encode<false>(input, dictionary, out.data());
}

}  // namespace zmr
