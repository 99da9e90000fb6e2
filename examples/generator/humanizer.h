#pragma once
// Small velocity variations, so that repeated bars are not byte-for-byte
// copies of each other, as in a played performance. A fixed linear
// congruential generator keeps the output the same on every run and platform.

#include <algorithm>
#include <cstdint>

namespace zmr::examples {

class Humanizer {
public:
    explicit Humanizer(uint32_t seed) : state_(seed * 2654435761u + 1u) {}

    // `base` moved by up to `spread` either way, kept within 1 to 127.
    uint8_t velocity(int base, int spread) {
        state_ = state_ * 1664525u + 1013904223u;
        const int offset = static_cast<int>((state_ >> 16) % static_cast<uint32_t>(2 * spread + 1)) - spread;
        return static_cast<uint8_t>(std::clamp(base + offset, 1, 127));
    }

private:
    uint32_t state_;
};

}  // namespace zmr::examples
