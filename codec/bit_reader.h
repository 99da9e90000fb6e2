#pragma once
// Reads 12-bit codes most significant bit first, the mirror of BitWriter, and
// tells where it stands so that errors can name a byte offset.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace zmr {

class BitReader {
public:
    explicit BitReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    // The next code, or nothing when fewer than 12 bits remain.
    std::optional<uint32_t> readCode() {
        if (bitPosition_ + 12 > bytes_.size() * 8) return std::nullopt;
        const size_t index = bitPosition_ / 8;
        const unsigned shift = bitPosition_ % 8;
        // 12 bits starting at `shift` always lie within three bytes.
        uint32_t window = (uint32_t{bytes_[index]} << 16) | (uint32_t{bytes_[index + 1]} << 8);
        if (index + 2 < bytes_.size()) window |= bytes_[index + 2];
        bitPosition_ += 12;
        return (window >> (12 - shift)) & 0xFFFu;
    }

    size_t bitPosition() const { return bitPosition_; }
    size_t byteOffset() const { return bitPosition_ / 8; }

    // True when every bit from the current position to the end is zero.
    bool restIsZero() const {
        size_t index = bitPosition_ / 8;
        if (bitPosition_ % 8 != 0) {
            const unsigned used = bitPosition_ % 8;
            if (static_cast<uint8_t>(bytes_[index] << used) != 0) return false;
            ++index;
        }
        for (; index < bytes_.size(); ++index) {
            if (bytes_[index] != 0) return false;
        }
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t bitPosition_ = 0;
};

}  // namespace zmr
