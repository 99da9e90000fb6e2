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
    static constexpr int16_t kEmpty = -1;

    LzwDictionary() : codes_(kSlots, kEmpty), keys_(kSlots, 0) {}

    void clear() { codes_.assign(kSlots, kEmpty); }

    // The slot holding (prefix, byte), or else the first empty slot on its
    // probe path. The step is a second hash of the start, so strings that
    // collide at the start part ways on the next probe.
    int32_t findSlot(uint32_t prefix, uint8_t byte) const {
        int32_t index = static_cast<int32_t>(prefix ^ (uint32_t{byte} << 4));
        const int32_t step = (index == 0) ? 1 : kSlots - index;
        const uint32_t key = keyOf(prefix, byte);
        while (codes_[index] != kEmpty && keys_[index] != key) {
            index -= step;
            if (index < 0) index += kSlots;
        }
        return index;
    }

    bool holdsCode(int32_t slot) const { return codes_[slot] != kEmpty; }
    uint32_t codeAt(int32_t slot) const { return static_cast<uint32_t>(codes_[slot]); }

    void store(int32_t slot, uint32_t code, uint32_t prefix, uint8_t byte) {
        codes_[slot] = static_cast<int16_t>(code);
        keys_[slot] = keyOf(prefix, byte);
    }

private:
    static uint32_t keyOf(uint32_t prefix, uint8_t byte) { return (prefix << 8) | byte; }

    std::vector<int16_t> codes_;  // the slot's code, kEmpty for a free slot
    std::vector<uint32_t> keys_;  // prefix code and appended byte of the slot's string
};

}  // namespace zmr
