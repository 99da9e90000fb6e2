#include "codec/lzw_decompress.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "base/hex_text.h"
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
    return Failure{"LZW section, byte " + std::to_string(offset) + ": " + what, FailureKind::BadImage};
}

// Codes are 12 bits wide: three digits each.
std::string hex(uint32_t code) { return hexNumber(code, 3); }

// Bytes of room kept past the string being written, so that short strings are
// copied in one 16-byte block whatever their length.
constexpr size_t kRoom = 16;

// Copies a dictionary string forward in 16-byte blocks. Each block is loaded
// whole before it is stored, and every byte the string needs lies before
// `to` (the one byte of a string defined right now is set by the caller), so
// the overlap of source and destination never changes what is copied; the
// bytes past the string are scratch that later strings overwrite.
inline void copyString(uint8_t* to, const uint8_t* from, uint32_t length) {
    for (;;) {
        uint8_t block[kRoom];
        std::memcpy(block, from, kRoom);
        std::memcpy(to, block, kRoom);
        if (length <= kRoom) return;
        to += kRoom;
        from += kRoom;
        length -= static_cast<uint32_t>(kRoom);
    }
}

// Decodes exactly `length` bytes; the reader is left just after the last code.
Result<std::vector<uint8_t>> decode(BitReader& reader, size_t sectionBytes, uint32_t length) {
    std::vector<uint8_t> out;
    if (length == 0) return out;
    // The bound on what a section can decode to grows with the square of its
    // size (1.3 GB for 1 MB), so sizing for it would let a hostile length and
    // section claim memory that decoding never uses; past a modest ratio the
    // buffer grows only as bytes are really produced.
    const uint64_t likely = uint64_t{sectionBytes} * kReserveRatio;
    out.resize(static_cast<size_t>(std::min({uint64_t{length}, lzwMaxDecodedSize(sectionBytes), likely})) + kRoom);

    // Read only for codes already assigned in the current cycle.
    Span entries[kLzwCodeLimit];
    uint32_t nextCode = kLzwFirstFreeCode;
    bool firstCode = true;
    Span previous{0, 0};
    uint32_t size = 0;

    while (size < length) {
        const size_t codeOffset = reader.byteOffset();
        const auto read = reader.readCode();
        if (!read) {
            return failAt(sectionBytes, "the section ends after " + std::to_string(size) + " of " +
                                            std::to_string(length) + " bytes");
        }
        const uint32_t code = *read;
        const uint32_t start = size;

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
        const size_t end = size_t{start} + string.length;
        if (end + kRoom > out.size()) out.resize(std::min(std::max(out.size() * 2, end + kRoom), size_t{length} + kRoom));
        uint8_t* data = out.data();
        if (code < kLzwLiteralCount) {
            data[start] = static_cast<uint8_t>(code);
        } else {
            copyString(data + start, data + string.start, string.length);
            // The string being defined right now ends with its own first byte.
            if (string.start + string.length > start) data[end - 1] = data[string.start];
        }

        if (!firstCode) {
            entries[nextCode] = Span{previous.start, previous.length + 1};
            ++nextCode;
        }
        firstCode = false;
        previous = Span{start, string.length};
        size = static_cast<uint32_t>(end);
    }
    out.resize(length);
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
