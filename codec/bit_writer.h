#pragma once
// Packs 12-bit codes most significant bit first: two codes a, b become the
// three bytes a[11:4], a[3:0]b[11:8], b[7:0]. It writes through a pointer into
// room the caller has made (3 bytes per 2 codes, 2 or 3 closing bytes, and 3
// bytes past a lone last code), so the coder's loop never checks a size. One writer per
// stream, so no stream ever starts with bits left over from another.

#include <cstddef>
#include <cstdint>

namespace zmr {

class BitWriter {
public:
    explicit BitWriter(uint8_t* out) : begin_(out), out_(out) {}

    // Without a branch: a second code of a pair and a first one alternate
    // among the coder's unpredictable hits and misses, so a branch on which
    // it is would be mispredicted half the time. The three bytes are stored
    // every time and kept only when they hold a whole pair; a store that is
    // not kept lies where the next pair or the closing bytes go.
    void putCode(uint32_t code) {
        bits_ = (bits_ << 12) | code;
        count_ += 12;
        out_[0] = static_cast<uint8_t>(bits_ >> 16);
        out_[1] = static_cast<uint8_t>(bits_ >> 8);
        out_[2] = static_cast<uint8_t>(bits_);
        const uint32_t pair = count_ >> 4;  // 1 once 24 bits are in, 0 at 12
        out_ += 3 * pair;
        count_ -= 24 * pair;
    }

    // Ends the code stream the way the player's sections end: a zero code that
    // only pads the last code's four low bits to a byte, or else contributes
    // one 0x00 byte (its last four zero bits are dropped).
    void putClosingZeroCode() {
        if (count_ != 0) {
            const uint32_t held = bits_ & 0xFFFu;
            out_[0] = static_cast<uint8_t>(held >> 4);
            out_[1] = static_cast<uint8_t>((held & 0xFu) << 4);
            out_ += 2;
        } else {
            *out_++ = 0;
        }
        count_ = 0;
    }

    void putByte(uint8_t byte) { *out_++ = byte; }

    size_t size() const { return static_cast<size_t>(out_ - begin_); }

private:
    uint8_t* begin_;
    uint8_t* out_;
    uint32_t bits_ = 0;   // the codes not yet written, in its low 12 or 24 bits
    uint32_t count_ = 0;  // 0 or 12 between codes
};

}  // namespace zmr
