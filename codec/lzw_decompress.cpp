#include "codec/lzw_decompress.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "codec/bit_reader.h"
#include "codec/lzw_format.h"

namespace zmr {
namespace {

// Codes in one dictionary cycle: the literal that starts it, then one code for
// each entry 257..4094.
constexpr uint64_t kCodesPerCycle = kLzwCodeLimit - kLzwFirstFreeCode + 1;

// Decoded bytes per section byte reserved up front; songs rarely code smaller.
constexpr uint64_t kReserveRatio = 16;

// Every dictionary string is a copy of bytes already produced, so an entry is
// just where that copy lies in the output.
struct Span {
    uint32_t start;
    uint32_t length;
};

Failure failAt(size_t offset, const std::string& what) {
    return Failure{"LZW section, byte " + std::to_string(offset) + ": " + what};
}

std::string hex(uint32_t code) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x000";
    text[2] = digits[(code >> 8) & 0xF];
    text[3] = digits[(code >> 4) & 0xF];
    text[4] = digits[code & 0xF];
    return text;
}

// Decodes exactly `length` bytes; the reader is left just after the last code.
Result<std::vector<uint8_t>> decode(BitReader& reader, size_t sectionBytes, uint32_t length) {
    std::vector<uint8_t> out;
    if (length == 0) return out;
    // The bound on what a section can decode to grows with the square of its
    // size (1.3 GB for 1 MB), so reserving it would let a hostile length and
    // section claim memory that decoding never uses; past a modest ratio the
    // buffer grows only as bytes are really produced.
    const uint64_t likely = uint64_t{sectionBytes} * kReserveRatio;
    out.reserve(static_cast<size_t>(std::min({uint64_t{length}, lzwMaxDecodedSize(sectionBytes), likely})));

    std::array<Span, kLzwCodeLimit> entries{};
    uint32_t nextCode = kLzwFirstFreeCode;
    bool firstCode = true;
    Span previous{0, 0};

    while (out.size() < length) {
        const size_t codeOffset = reader.byteOffset();
        const auto read = reader.readCode();
        if (!read) {
            return failAt(sectionBytes, "the section ends after " + std::to_string(out.size()) +
                                            " of " + std::to_string(length) + " bytes");
        }
        const uint32_t code = *read;
        const uint32_t start = static_cast<uint32_t>(out.size());

        if (nextCode == kLzwCodeLimit) {
            // The coder restarted its dictionary after writing the code that
            // filled ours; this code is the first of a new cycle.
            nextCode = kLzwFirstFreeCode;
            firstCode = true;
        }

        Span string;
        if (code < kLzwLiteralCount) {
            string = Span{start, 1};
        } else if (firstCode) {
            return failAt(codeOffset, "code " + hex(code) + " where a literal byte must start the dictionary");
        } else if (code < kLzwFirstFreeCode || code > nextCode) {
            return failAt(codeOffset, "code " + hex(code) + " cannot occur yet (the next code is " +
                                          hex(nextCode) + ")");
        } else if (code == nextCode) {
            // The string being defined right now: the previous string and its
            // own first byte.
            string = Span{previous.start, previous.length + 1};
        } else {
            string = entries[code];
        }

        if (string.length > length - start) {
            return failAt(codeOffset, "code " + hex(code) + " runs past the stated length of " +
                                          std::to_string(length) + " bytes");
        }
        out.resize(start + string.length);
        if (code < kLzwLiteralCount) {
            out[start] = static_cast<uint8_t>(code);
        } else {
            // The copy ends where the output did, except for the one byte of
            // the code being defined right now, which repeats its first byte.
            const uint32_t before = std::min(string.length, start - string.start);
            std::memcpy(out.data() + start, out.data() + string.start, before);
            if (before < string.length) out[start + before] = out[string.start];
        }

        if (!firstCode) {
            entries[nextCode] = Span{previous.start, previous.length + 1};
            ++nextCode;
        }
        firstCode = false;
        previous = Span{start, string.length};
    }
    return out;
}

}  // namespace

uint64_t lzwMaxDecodedSize(size_t sectionBytes) {
    const uint64_t codes = uint64_t{sectionBytes} * 8 / kLzwCodeBits;
    const uint64_t cycles = codes / kCodesPerCycle;
    const uint64_t rest = codes % kCodesPerCycle;
    return cycles * (kCodesPerCycle * (kCodesPerCycle + 1) / 2) + rest * (rest + 1) / 2;
}

Result<std::vector<uint8_t>> lzwDecompress(std::span<const uint8_t> section, uint32_t length) {
    BitReader reader(section);
    return decode(reader, section.size(), length);
}

Result<std::vector<uint8_t>> lzwDecompressStrict(std::span<const uint8_t> section, uint32_t length) {
    BitReader reader(section);
    auto decoded = decode(reader, section.size(), length);
    if (decoded.ok() && !reader.restIsZero()) {
        return failAt(reader.byteOffset(), "bits after the last code are not zero");
    }
    return decoded;
}

}  // namespace zmr
