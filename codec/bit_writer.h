#pragma once
// Packs 12-bit codes most significant bit first: two codes a, b become the
// three bytes a[11:4], a[3:0]b[11:8], b[7:0]. It writes through a pointer into
// room the caller has made (at most 3 bytes per 2 codes, plus 2 closing
// bytes), so the coder's loop never checks a buffer's size. One writer per
// stream, so no stream ever starts with bits left over from another.

#include <cstddef>
#include <cstdint>

namespace zmr {

class BitWriter {
public:
    explicit BitWriter(uint8_t* out) : begin_(out), out_(out) {}

    void putCode(uint32_t code) {
        if (!holding_) {
            held_ = code;
            holding_ = true;
            return;
        }
        const uint32_t pair = (held_ << 12) | code;
        out_[0] = static_cast<uint8_t>(pair >> 16);
        out_[1] = static_cast<uint8_t>(pair >> 8);
        out_[2] = static_cast<uint8_t>(pair);
        out_ += 3;
        holding_ = false;
    }

    // Ends the code stream the way the player's sections end: a zero code that
    // only pads the last code's four low bits to a byte, or else contributes
    // one 0x00 byte (its last four zero bits are dropped).
    void putClosingZeroCode() {
        if (holding_) {
            out_[0] = static_cast<uint8_t>(held_ >> 4);
            out_[1] = static_cast<uint8_t>((held_ & 0xFu) << 4);
            out_ += 2;
        } else {
            *out_++ = 0;
        }
        holding_ = false;
    }

    void putByte(uint8_t byte) { *out_++ = byte; }

    size_t size() const { return static_cast<size_t>(out_ - begin_); }

private:
    uint8_t* begin_;
    uint8_t* out_;
    uint32_t held_ = 0;     // the first code of a pair, until the second comes
    bool holding_ = false;
};

}  // namespace zmr
