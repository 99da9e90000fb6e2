// The 12-bit LZW coder and decoder. Every input is used twice: as data that
// must survive a round trip within the coder's size bound, and as a section
// (after a 3-byte stated length) that the decoder must either decode to
// exactly that length or refuse, allocating no more than the section can hold.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "codec/lzw_compress.h"
#include "codec/lzw_decompress.h"
#include "fuzz/fuzz_check.h"

namespace {

using zmr::fuzz::check;

constexpr size_t kLongestRecoded = 64 * 1024;

void roundTrip(std::span<const uint8_t> data) {
    const std::vector<uint8_t> compressed = zmr::lzwCompress(data);
    check(compressed.size() <= 3 * data.size() / 2 + 2, "the coder stays within 3 * size / 2 + 2 bytes");
    check(data.empty() == compressed.empty(), "only an empty input gives an empty output");
    const auto length = static_cast<uint32_t>(data.size());
    auto strict = zmr::lzwDecompressStrict(compressed, length);
    check(strict.ok(), "the coder's output passes the strict decoder");
    check(std::equal(strict->begin(), strict->end(), data.begin(), data.end()), "the round trip gives the input back");
}

void decodeAlone(std::span<const uint8_t> input) {
    if (input.size() < 3) return;
    // Three bytes reach 16 MiB: far beyond what short sections can decode to.
    const uint32_t length = (uint32_t{input[0]} << 16) | (uint32_t{input[1]} << 8) | input[2];
    const std::span<const uint8_t> section = input.subspan(3);
    auto loose = zmr::lzwDecompress(section, length);
    auto strict = zmr::lzwDecompressStrict(section, length);
    if (strict.ok()) check(loose.ok() && *loose == *strict, "what the strict decoder accepts, the player's decoder reads alike");
    if (!loose.ok()) {
        check(!loose.message().empty(), "a refused section says why");
        return;
    }
    check(loose->size() == length, "a decoded section has exactly the stated length");
    check(length <= zmr::lzwMaxDecodedSize(section.size()), "no section decodes beyond its stated bound");
    // What decodes must code again to something that decodes the same; a
    // section can decode to megabytes, and coding those again only costs time.
    if (loose->size() <= kLongestRecoded) roundTrip(*loose);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    roundTrip(input);
    decodeAlone(input);
    return 0;
}
