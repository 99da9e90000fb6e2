#pragma once
// The coder's dictionary: strings (prefix code, byte) in a 5021-slot
// open-addressing table. 5021 is prime and at most 3838 strings are ever held,
// so every probe ends at the string or at an empty slot within few steps.

#include <cstdint>
#include <vector>

namespace zmr {

class LzwDictionary {
public:
    static constexpr int32_t kSlots = 5021;

    LzwDictionary() : slots_(kSlots, kEmpty) {}

    void clear() { slots_.assign(kSlots, kEmpty); }

    // The slot holding (prefix, byte), or else the first empty slot on its
    // probe path. The step is fixed by the start index and 5021 is prime, so
    // the path reaches every slot before it repeats.
    int32_t findSlot(uint32_t prefix, uint8_t byte) const {
        int32_t index = static_cast<int32_t>(prefix ^ (uint32_t{byte} << 4));
        const int32_t step = (index == 0) ? 1 : kSlots - index;
        const uint32_t key = (prefix << 8) | byte;
        while (slots_[index] != kEmpty && (slots_[index] & kKeyMask) != key) {
            index -= step;
            if (index < 0) index += kSlots;
        }
        return index;
    }

    bool holdsCode(int32_t slot) const { return slots_[slot] != kEmpty; }
    uint32_t codeAt(int32_t slot) const { return slots_[slot] >> 20; }

    void store(int32_t slot, uint32_t code, uint32_t prefix, uint8_t byte) {
        slots_[slot] = (code << 20) | (prefix << 8) | byte;
    }

private:
    // A slot is one word, code in bits 31-20, prefix code in 19-8, byte in
    // 7-0, so the whole table (20 KB) stays in the first-level cache. Codes
    // start at 257, so a zero word is free.
    static constexpr uint32_t kEmpty = 0;
    static constexpr uint32_t kKeyMask = 0xFFFFF;

    std::vector<uint32_t> slots_;
};

}  // namespace zmr
