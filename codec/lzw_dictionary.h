#pragma once
// The coder's dictionary: at most 3,838 strings (prefix code, byte) at a time
// in an open-addressed table of 16-bit codes, each string's key kept apart by
// its code. Two loads find and check a string, but both tables together take
// 80 KB where slots of whole 32-bit entries took 128 KB, and the table cleared
// for every section and every restart is half as large. At least eight slots
// for every string the input can create, placed by a hash of the string's
// bytes rather than of its prefix code, so that a lookup need not wait for
// the one before it, and nearly every lookup ends at its first slot.
// Short inputs get a smaller table, so that clearing it costs less than
// coding them. Where a string lies never shows in the output, only its code.

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

    // True when the table has its full size, as for every input that can fill
    // the dictionary: the coder then calls find<true>, whose size is a constant.
    bool full() const { return mask_ == kMaxSlotMask; }

    // The hash of a string that grows by `byte`, from the hash of the string
    // before it. It is computed from the bytes alone, not from the code the
    // last lookup found, so the next lookup's address never waits for that
    // load: only the check of the key does, and the hits run ahead.
    static uint32_t startHash(uint8_t byte) { return uint32_t{byte} << 8; }
    static uint32_t extendHash(uint32_t hash, uint8_t byte) { return (hash + byte) * kMultiplier; }

    // The code of the string `prefix` + `byte`, whose hash is `hash`, or else
    // 0 (no string has code 0), with `slot` set to where it is or goes
    // (linear probing). The key check makes the answer exact whatever
    // the hash: every string is stored once, at or after its hash's slot.
    template <bool kFull>
    uint32_t find(uint32_t hash, uint32_t prefix, uint8_t byte, uint32_t& slot) const {
        const unsigned shift = kFull ? 32 - kMaxSlotBits : shift_;
        const uint32_t mask = kFull ? kMaxSlotMask : mask_;
        const uint32_t key = keyOf(prefix, byte);
        uint32_t at = hash >> shift;
        uint32_t code = slots_[at];
        while (code != 0 && keys_[code] != key) [[unlikely]] {
            at = (at + 1) & mask;
            code = slots_[at];
        }
        slot = at;
        return code;
    }

    void store(uint32_t slot, uint32_t prefix, uint8_t byte, uint32_t code) {
        slots_[slot] = static_cast<uint16_t>(code);
        keys_[code] = keyOf(prefix, byte);
    }

private:
    static constexpr size_t kMaxStrings = 3838;
    static constexpr size_t kCodeCount = 4096;
    static constexpr unsigned kMinSlotBits = 8;
    static constexpr unsigned kMaxSlotBits = 15;
    static constexpr uint32_t kMaxSlotMask = (1u << kMaxSlotBits) - 1;
    static constexpr uint32_t kMultiplier = 0x9E3779B1u;  // the top bits of the product mix every key bit

    static uint32_t keyOf(uint32_t prefix, uint8_t byte) { return (prefix << 8) | byte; }

    unsigned shift_;
    uint32_t mask_;
    std::array<uint16_t, size_t{1} << kMaxSlotBits> slots_;  // only the first mask_ + 1 are used
    // Never cleared: a code's key is read only while a slot holds the code,
    // and the code's key was written when it was stored there.
    std::array<uint32_t, kCodeCount> keys_;
};

}  // namespace zmr
