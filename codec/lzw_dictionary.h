#pragma once
// The coder's dictionary: at most 3,838 strings (prefix code, byte) at a time,
// each found by hashing into 32,768 slots that hold its code, with the string
// of every code kept beside it to tell apart strings that hash alike. At most
// an eighth of the slots are taken, so nearly every lookup ends at its first
// slot: one load and one comparison per input byte. Where a string lies never
// shows in the output, only its code.

#include <array>
#include <cstdint>

namespace zmr {

class LzwDictionary {
public:
    LzwDictionary() { clear(); }

    void clear() { slots_.fill(kFree); }

    // `key` is prefix << 8 | byte. Returns the slot holding that string, or
    // else the free slot where it goes (linear probing from its hash).
    uint32_t find(uint32_t key) const {
        uint32_t slot = (key * kMultiplier) >> (32 - kSlotBits);
        while (slots_[slot] != kFree && strings_[slots_[slot]] != key) slot = (slot + 1) & (kSlotCount - 1);
        return slot;
    }

    // The code in `slot`, 0 when the slot is free (codes start at 257).
    uint32_t codeAt(uint32_t slot) const { return slots_[slot]; }

    void store(uint32_t slot, uint32_t code, uint32_t key) {
        slots_[slot] = static_cast<uint16_t>(code);
        strings_[code] = key;
    }

private:
    static constexpr unsigned kSlotBits = 15;
    static constexpr uint32_t kSlotCount = 1u << kSlotBits;
    static constexpr uint32_t kMultiplier = 0x9E3779B1u;  // Fibonacci hashing: the top bits mix every key bit
    static constexpr uint16_t kFree = 0;

    std::array<uint16_t, kSlotCount> slots_;
    std::array<uint32_t, 4096> strings_;  // read only for codes that some slot holds
};

}  // namespace zmr
