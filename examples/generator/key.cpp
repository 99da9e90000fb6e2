#include "key.h"

namespace zmr::examples {
namespace {

constexpr int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

int floorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

}  // namespace

int noteOfStep(const Key& key, int step) {
    const int octave = floorDiv(step, 7);
    const int degree = step - octave * 7;
    return key.tonic + 12 * octave + (key.minor ? kMinor : kMajor)[degree];
}

int8_t keySignatureSharps(const Key& key, int transpose) {
    // Indexed by the pitch class of the major key (a minor key reads its relative major).
    constexpr int8_t kSharps[12] = {0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5};
    const int major = key.tonic + transpose + (key.minor ? 3 : 0);
    return kSharps[((major % 12) + 12) % 12];
}

}  // namespace zmr::examples
