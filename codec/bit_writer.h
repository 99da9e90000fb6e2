#pragma once
// Packs 12-bit codes most significant bit first: two codes a, b become the
// three bytes a[11:4], a[3:0]b[11:8], b[7:0]. One writer per stream, so no
// stream ever starts with bits left over from another.

#include <cstdint>
#include <vector>

namespace zmr {

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    void putCode(uint32_t code) {
        // Pending bits sit at the top of the word; the code goes right below.
        buffer_ |= (code & 0xFFFu) << (20 - count_);
        count_ += 12;
        drain();
    }

    // Ends the code stream the way the player's sections end: a zero code that
    // only pads four pending bits to a byte, or else contributes one 0x00 byte
    // (its last four zero bits are dropped). Leaves nothing pending.
    void putClosingZeroCode() {
        count_ = (count_ == 4) ? 8 : count_ + 12;
        drain();
        buffer_ = 0;
        count_ = 0;
    }

private:
    void drain() {
        while (count_ >= 8) {
            out_.push_back(static_cast<uint8_t>(buffer_ >> 24));
            buffer_ <<= 8;
            count_ -= 8;
        }
    }

    std::vector<uint8_t>& out_;
    uint32_t buffer_ = 0;  // pending bits, left-aligned; all bits below are 0
    int count_ = 0;        // pending bits: 0 or 4 between codes
};

}  // namespace zmr
