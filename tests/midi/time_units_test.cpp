#include "midi/time_units.h"

#include <gtest/gtest.h>

namespace zmr {
namespace {

TEST(TimeUnits, TickFactorsMatchThePlayersRounding) {
    EXPECT_EQ(std::bit_cast<uint32_t>(kTimeUnitScale), 0x3876B949u);
    // The initial quotient is fractional, the one after a tempo event is not (1041).
    EXPECT_EQ(initialTickFactor(480), 0.061274509876966476f);
    EXPECT_EQ(static_cast<double>(initialTickFactor(480)), 0.061274509876966476);
    EXPECT_EQ(static_cast<double>(tempoTickFactor(500000, 480)), 0.06123529374599457);
    EXPECT_EQ(tempoTickFactor(480 * 1041 + 479, 480), tempoTickFactor(500000, 480));
    EXPECT_EQ(tempoTickFactor(100, 480), 0.0f);
}

TEST(TimeUnits, TicksConvertByTruncatedDoubleProduct) {
    const float initial = initialTickFactor(480);
    const float afterTempo = tempoTickFactor(500000, 480);
    const struct {
        int64_t ticks;
        float factor;
        int64_t expected;
    } cases[] = {
        {0, initial, 0},
        {960, initial, 58},
        {48000, initial, 2941},
        {48000, afterTempo, 2939},
        {17, initial, 1},       // 1.04 time units
        {-960, initial, -58},   // toward zero
    };
    for (const auto& c : cases) EXPECT_EQ(ticksToTimeUnits(c.ticks, c.factor), c.expected) << c.ticks;
}

TEST(TimeUnits, HugeProductIsKeptWhole) {
    // Tempo 0xFFFFFF at division 1: almost 987 time units per tick.
    const float factor = tempoTickFactor(0xFFFFFF, 1);
    EXPECT_GT(factor, 986.0f);
    const int64_t units = ticksToTimeUnits(0xFFFFFFFFll, factor);
    EXPECT_GT(units, int64_t{1} << 32);
    EXPECT_EQ(units, static_cast<int64_t>(4294967295.0 * static_cast<double>(factor)));
}

}  // namespace
}  // namespace zmr
