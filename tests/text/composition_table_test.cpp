#include "text/composition_table.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "text/transcoder.h"

namespace zmr {
namespace {

struct Entry {
    uint8_t first;
    uint8_t second;
    uint8_t code;  // 0: the pair must not compose
};

TEST(CompositionTable, StartsEmpty) {
    const CompositionTable table;
    for (int f = 0; f < 256; ++f) {
        for (int s = 0; s < 256; ++s) {
            ASSERT_EQ(table.compose(static_cast<uint8_t>(f), static_cast<uint8_t>(s)), 0) << f << "," << s;
        }
    }
}

TEST(CompositionTable, HoldsTheListedPairsAsBuilt) {
    const std::vector<Entry> entries = {
        // VIQR letters with one mark.
        {65, 39, 95}, {65, 96, 96}, {65, 63, 124}, {65, 126, 125}, {65, 46, 126}, {65, 94, 253},
        {97, 40, 232}, {97, 94, 131}, {232, 39, 233}, {232, 46, 237}, {69, 94, 254}, {101, 46, 134},
        {254, 63, 187}, {136, 46, 172}, {73, 96, 191}, {105, 63, 169}, {79, 94, 249}, {111, 42, 243},
        {249, 46, 204}, {147, 39, 150}, {243, 126, 247}, {85, 42, 251}, {117, 42, 159}, {251, 96, 216},
        {159, 46, 168}, {89, 39, 220}, {121, 126, 241}, {131, 46, 231},
        // D with stroke.
        {68, 68, 174}, {68, 100, 174}, {100, 100, 173}, {100, 68, 0},
        // Capital A with breve and capital O with horn share 252; row 252 keeps O with horn.
        {65, 40, 252}, {79, 42, 252}, {65, 202, 252},
        {252, 39, 205}, {252, 96, 206}, {252, 63, 207}, {252, 126, 208}, {252, 46, 209},
        {252, 217, 205}, {252, 216, 206}, {252, 219, 207}, {252, 213, 208}, {252, 207, 209},
        // Capital Y: VIQR dot below 255, no tilde; VNI tilde 255, dot below 242.
        {89, 46, 255}, {89, 126, 0}, {89, 213, 255}, {89, 207, 242},
        // Hook above and tilde after A with circumflex both give 144.
        {253, 63, 144}, {253, 126, 144}, {65, 197, 144}, {65, 195, 144},
        // VNI capital A with breve and a tone (no tilde).
        {65, 201, 176}, {65, 200, 177}, {65, 218, 178}, {65, 203, 123},
        // VNI letters.
        {65, 193, 128}, {65, 192, 135}, {65, 196, 175}, {69, 195, 188}, {79, 194, 249}, {79, 196, 204},
        {85, 219, 212}, {251, 207, 219}, {97, 249, 160}, {97, 252, 236}, {97, 235, 237}, {97, 228, 231},
        {101, 228, 172}, {111, 224, 152}, {117, 245, 157}, {121, 239, 242}, {159, 251, 166}, {243, 248, 245},
        // Pairs that do not exist.
        {65, 42, 0}, {85, 94, 0}, {69, 40, 0}, {73, 217, 0}, {105, 249, 0}, {69, 202, 0}, {131, 249, 0},
        {252, 40, 0}, {252, 201, 0}, {0, 39, 0}, {39, 39, 0},
    };
    const CompositionTable& table = CompositionTable::standard();
    for (const Entry& e : entries) {
        EXPECT_EQ(table.compose(e.first, e.second), e.code) << int{e.first} << "," << int{e.second};
    }
}

TEST(CompositionTable, BuildingWritesOnlyEntries) {
    CompositionTable table;
    table.set(1, 2, 3);
    buildCompositionTable(table);
    EXPECT_EQ(table.compose(1, 2), 3);
    EXPECT_EQ(table.compose(65, 39), 95);
}

TEST(CompositionTable, RowZeroStaysEmpty) {
    const CompositionTable& table = CompositionTable::standard();
    for (int s = 0; s < 256; ++s) EXPECT_EQ(table.compose(0, static_cast<uint8_t>(s)), 0) << s;
}

// The player's display has no glyph for some codes; the codes above 122 that
// the table and the remap produce are exactly all others.
TEST(CompositionTable, ProducesEveryHighCodeButTheFiveUnused) {
    const std::set<int> unused = {127, 140, 179, 223, 250};
    std::set<int> produced;
    const CompositionTable& table = CompositionTable::standard();
    for (int f = 0; f < 256; ++f) {
        for (int s = 0; s < 256; ++s) {
            const uint8_t code = table.compose(static_cast<uint8_t>(f), static_cast<uint8_t>(s));
            if (code != 0) produced.insert(code);
        }
    }
    for (int byte = 0; byte < 256; ++byte) {
        const uint8_t code = remapSingleByte(static_cast<uint8_t>(byte));
        if (code != byte) produced.insert(code);
    }
    for (int code = 123; code < 256; ++code) {
        EXPECT_EQ(produced.count(code), unused.count(code) ? 0u : 1u) << code;
    }
    EXPECT_EQ(produced.count(95), 1u);
    EXPECT_EQ(produced.count(96), 1u);
}

// Both conventions must spell each letter with the same code; the only
// differences are the two groups where the player's table shares a code.
TEST(CompositionTable, ViqrAndVniAgreeOnEveryToneMark) {
    const uint8_t viqrTones[] = {39, 96, 63, 126, 46};
    const uint8_t vniCapitalTones[] = {217, 216, 219, 213, 207};
    const uint8_t vniSmallTones[] = {249, 248, 251, 245, 239};
    const uint8_t capitals[] = {65, 69, 79, 85, 89, 251};
    const uint8_t smalls[] = {97, 101, 111, 117, 121, 159, 243};
    const CompositionTable& table = CompositionTable::standard();
    for (int t = 0; t < 5; ++t) {
        for (const uint8_t letter : capitals) {
            if (letter == 89 && (t == 3 || t == 4)) continue;  // capital Y tilde / dot below
            EXPECT_EQ(table.compose(letter, viqrTones[t]), table.compose(letter, vniCapitalTones[t]))
                << int{letter} << " tone " << t;
        }
        for (const uint8_t letter : smalls) {
            EXPECT_EQ(table.compose(letter, viqrTones[t]), table.compose(letter, vniSmallTones[t]))
                << int{letter} << " tone " << t;
        }
    }
    // Circumflex followed by a tone in VIQR against the combined VNI mark byte.
    const uint8_t vniCapitalCircumflex[] = {193, 192, 197, 195, 196};
    const uint8_t vniSmallCircumflex[] = {225, 224, 229, 227, 228};
    for (int t = 0; t < 5; ++t) {
        for (const uint8_t letter : {uint8_t{65}, uint8_t{69}, uint8_t{79}}) {
            EXPECT_EQ(table.compose(table.compose(letter, 94), viqrTones[t]),
                      table.compose(letter, vniCapitalCircumflex[t]))
                << int{letter} << " tone " << t;
        }
        for (const uint8_t letter : {uint8_t{97}, uint8_t{101}, uint8_t{111}}) {
            EXPECT_EQ(table.compose(table.compose(letter, 94), viqrTones[t]),
                      table.compose(letter, vniSmallCircumflex[t]))
                << int{letter} << " tone " << t;
        }
    }
    // Small a with breve and a tone.
    const uint8_t vniSmallBreve[] = {233, 232, 250, 252, 235};
    for (int t = 0; t < 5; ++t) {
        EXPECT_EQ(table.compose(232, viqrTones[t]), table.compose(97, vniSmallBreve[t])) << t;
    }
}

TEST(CompositionTable, StandardIsBuiltOnce) {
    EXPECT_EQ(&CompositionTable::standard(), &CompositionTable::standard());
}

}  // namespace
}  // namespace zmr
