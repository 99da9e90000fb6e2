#pragma once
// The coder's dictionary: at most 3,838 strings (prefix code, byte) at a time,
// each found by hashing into slots that hold its code, with the string of
// every code kept beside it to tell apart strings that hash alike. There are
// at least eight slots for every string the input can create (32,768 for
// long inputs, fewer for short ones, which then clear fewer), so nearly every
// lookup ends at its first slot: one load and one comparison per input byte.
// Where a string lies never shows in the output, only its code.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zmr {

class LzwDictionary {
public:
    // Sized for an input of `inputSize` bytes, which creates at most one
    // string per byte.
    explicit LzwDictionary(size_t inputSize) {
        const auto strings = static_cast<uint32_t>(std::min<size_t>(inputSize, kMaxStrings));
        const unsigned bits = std::clamp<unsigned>(std::bit_width(strings * 8), kMinSlotBits, kMaxSlotBits);
        shift_ = 32 - bits;
        mask_ = (1u << bits) - 1;
        clear();
    }

    void clear() { std::memset(slots_.data(), 0, (size_t{mask_} + 1) * sizeof slots_[0]); }

    // True when all slots are in use, as for every input that can fill the
    // dictionary: the coder then calls find<true>, whose size is a constant.
    bool full() const { return mask_ == kMaxSlotMask; }

    // `key` is prefix << 8 | byte. Returns the slot holding that string, or
    // else the free slot where it goes (linear probing from its hash).
    template <bool kFull>
    uint32_t find(uint32_t key) const {
        const unsigned shift = kFull ? 32 - kMaxSlotBits : shift_;
        const uint32_t mask = kFull ? kMaxSlotMask : mask_;
        uint32_t slot = (key * kMultiplier) >> shift;
        while (slots_[slot] != kFree && strings_[slots_[slot]] != key) slot = (slot + 1) & mask;
        return slot;
    }

    // The code in `slot`, 0 when the slot is free (codes start at 257).
    uint32_t codeAt(uint32_t slot) const { return slots_[slot]; }

    void store(uint32_t slot, uint32_t code, uint32_t key) {
        slots_[slot] = static_cast<uint16_t>(code);
        strings_[code] = key;
    }

private:
    static constexpr size_t kMaxStrings = 3838;
    static constexpr unsigned kMinSlotBits = 8;
    static constexpr unsigned kMaxSlotBits = 15;
    static constexpr uint32_t kMaxSlotMask = (1u << kMaxSlotBits) - 1;
    static constexpr uint32_t kMultiplier = 0x9E3779B1u;  // Fibonacci hashing: the top bits mix every key bit
    static constexpr uint16_t kFree = 0;

    unsigned shift_;
    uint32_t mask_;
    std::array<uint16_t, size_t{1} << kMaxSlotBits> slots_;  // only the first mask_ + 1 are used
    std::array<uint32_t, 4096> strings_;                     // read only for codes that some slot holds
};

}  // namespace zmr
