#pragma once
// Inputs and an independent reading of the code stream for the LZW tests.

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zmr::test {

inline std::vector<uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// The first `count` 12-bit codes of a stream, read bit by bit.
inline std::vector<uint32_t> codesOf(const std::vector<uint8_t>& stream, size_t count) {
    std::vector<uint32_t> codes;
    for (size_t k = 0; k < count; ++k) {
        uint32_t code = 0;
        for (size_t bit = k * 12; bit < k * 12 + 12; ++bit) {
            code = (code << 1) | ((stream.at(bit / 8) >> (7 - bit % 8)) & 1u);
        }
        codes.push_back(code);
    }
    return codes;
}

// Overwrites the k-th 12-bit code of a stream.
inline void setCode(std::vector<uint8_t>& stream, size_t k, uint32_t code) {
    for (size_t i = 0; i < 12; ++i) {
        const size_t bit = k * 12 + i;
        const uint8_t mask = static_cast<uint8_t>(0x80u >> (bit % 8));
        if ((code >> (11 - i)) & 1u) {
            stream.at(bit / 8) |= mask;
        } else {
            stream.at(bit / 8) &= static_cast<uint8_t>(~mask);
        }
    }
}

// A plain LZW coder over an ordered map, written from the format's rules
// alone, to compare the codes that lzwCompress emits.
inline std::vector<uint32_t> referenceCodes(const std::vector<uint8_t>& input) {
    std::vector<uint32_t> codes;
    if (input.empty()) return codes;
    std::map<std::pair<uint32_t, uint8_t>, uint32_t> known;
    uint32_t next = 257;
    uint32_t current = input[0];
    for (size_t i = 1; i < input.size(); ++i) {
        const auto found = known.find({current, input[i]});
        if (found != known.end()) {
            current = found->second;
            continue;
        }
        codes.push_back(current);
        if (next < 4095) {
            known[{current, input[i]}] = next++;
        } else {
            known.clear();
            next = 257;
        }
        current = input[i];
    }
    codes.push_back(current);
    return codes;
}

// The whole section a plain coder writes: the reference codes packed 12 bits
// each, most significant bit first, then the zero code cut to a byte boundary
// and a 0x00 byte.
inline std::vector<uint8_t> referenceStream(const std::vector<uint8_t>& input) {
    std::vector<uint8_t> stream;
    if (input.empty()) return stream;
    std::vector<bool> bits;
    for (const uint32_t code : referenceCodes(input)) {
        for (int bit = 11; bit >= 0; --bit) bits.push_back((code >> bit) & 1u);
    }
    // The zero code: its first whole byte or the padding of a half-written one.
    bits.resize(bits.size() % 8 ? bits.size() + 4 : bits.size() + 8, false);
    for (size_t at = 0; at < bits.size(); at += 8) {
        uint8_t byte = 0;
        for (size_t bit = 0; bit < 8; ++bit) byte = static_cast<uint8_t>((byte << 1) | bits[at + bit]);
        stream.push_back(byte);
    }
    stream.push_back(0x00);
    return stream;
}

// 65536 bytes in which no pair of adjacent bytes occurs twice, so a coder
// finds no string to reuse: the Lyndon words of length 1 and 2 in order,
// 0, 0 1, 0 2, ..., 0 255, 1, 1 2, ..., 255 (a de Bruijn sequence of order 2).
inline std::vector<uint8_t> distinctPairs() {
    std::vector<uint8_t> out;
    for (uint32_t first = 0; first < 256; ++first) {
        out.push_back(static_cast<uint8_t>(first));
        for (uint32_t second = first + 1; second < 256; ++second) {
            out.push_back(static_cast<uint8_t>(first));
            out.push_back(static_cast<uint8_t>(second));
        }
    }
    return out;
}

// Bytes drawn from the first `alphabet` values (1 to 256): a small alphabet
// makes long strings and many dictionary hits, a large one mostly misses.
inline std::vector<uint8_t> randomBytes(size_t size, uint32_t seed, uint32_t alphabet = 256) {
    std::mt19937 random(seed);
    std::vector<uint8_t> out(size);
    for (auto& byte : out) byte = static_cast<uint8_t>(random() % alphabet);
    return out;
}

inline std::vector<uint8_t> repetitiveText(size_t size) {
    static constexpr std::string_view lyric =
        "Ngay xua ngay xua co mot chang trai, yeu mot co gai\r"
        "La la la, la la la, em oi em oi dung khoc nua\r";
    std::vector<uint8_t> out;
    out.reserve(size);
    for (size_t i = 0; out.size() < size; ++i) out.push_back(static_cast<uint8_t>(lyric[i % lyric.size()]));
    return out;
}

inline std::vector<uint8_t> runOf(size_t size, uint8_t byte) {
    return std::vector<uint8_t>(size, byte);
}

// 5-byte records shaped like a song's event stream: small time deltas, note
// records with a channel, key and velocity, now and then a controller.
inline std::vector<uint8_t> eventLike(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> out;
    out.reserve(size + 5);
    while (out.size() < size) {
        const uint32_t r = random();
        const uint8_t delta = static_cast<uint8_t>((r & 3) == 0 ? (r >> 2) % 24 : 0);
        if ((r >> 8) % 8 == 0) {
            out.insert(out.end(), {delta, 1, static_cast<uint8_t>(0xB0 | ((r >> 11) & 3)), 7,
                                   static_cast<uint8_t>(100 + (r >> 13) % 8)});
        } else {
            out.insert(out.end(), {delta, static_cast<uint8_t>(4 + (r >> 16) % 20),
                                   static_cast<uint8_t>((r >> 11) & 3), static_cast<uint8_t>(48 + (r >> 20) % 24),
                                   static_cast<uint8_t>(80 + (r >> 25) % 16)});
        }
    }
    out.resize(size);
    return out;
}

}  // namespace zmr::test
