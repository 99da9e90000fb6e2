#include "codec/lzw_compress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "codec/lzw_test_support.h"

namespace zmr {
namespace {

using test::bytesOf;
using test::codesOf;

// What the stream must hold after n codes: 4 pending bits padded by the zero
// code (n odd) or one 0x00 byte from it (n even), then the final 0x00 byte.
size_t expectedSize(size_t codeCount) {
    return codeCount % 2 ? (3 * codeCount + 3) / 2 : 3 * codeCount / 2 + 2;
}

bool zeroAfterCodes(const std::vector<uint8_t>& stream, size_t codeCount) {
    for (size_t bit = codeCount * 12; bit < stream.size() * 8; ++bit) {
        if ((stream[bit / 8] >> (7 - bit % 8)) & 1u) return false;
    }
    return true;
}

// Checks a whole stream against the independent coder: same codes, the
// closing bytes, and the size bound.
void expectMatchesReference(const std::vector<uint8_t>& input) {
    const auto codes = test::referenceCodes(input);
    const auto stream = lzwCompress(input);
    ASSERT_EQ(stream.size(), expectedSize(codes.size()));
    EXPECT_LE(stream.size(), input.size() * 3 / 2 + 2);
    EXPECT_TRUE(codesOf(stream, codes.size()) == codes);
    EXPECT_TRUE(zeroAfterCodes(stream, codes.size()));
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 256u), 0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 4095u), 0);
}

TEST(LzwCompress, WorkedExamples) {
    struct Case {
        const char* input;
        std::vector<uint32_t> codes;
        std::vector<uint8_t> stream;
    };
    const Case cases[] = {
        {"abc", {0x061, 0x062, 0x063}, {0x06, 0x10, 0x62, 0x06, 0x30, 0x00}},
        {"ABABABA", {0x041, 0x042, 0x101, 0x103}, {0x04, 0x10, 0x42, 0x10, 0x11, 0x03, 0x00, 0x00}},
        // 0x102 is used right after it was assigned.
        {"aaaaaa", {0x061, 0x101, 0x102}, {0x06, 0x11, 0x01, 0x10, 0x20, 0x00}},
        {"ab", {0x061, 0x062}, {0x06, 0x10, 0x62, 0x00, 0x00}},
        // After streams that left 0 or 4 bits over, a single byte still
        // starts from an empty bit buffer.
        {"a", {0x061}, {0x06, 0x10, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const auto stream = lzwCompress(bytesOf(c.input));
        EXPECT_EQ(stream, c.stream);
        EXPECT_EQ(codesOf(stream, c.codes.size()), c.codes);
    }
}

TEST(LzwCompress, EmptyInputWritesNothing) {
    EXPECT_TRUE(lzwCompress({}).empty());
}

TEST(LzwCompress, NoRepeatedPairGivesOneLiteralPerByteAndTheLargestOutput) {
    const auto pairs = test::distinctPairs();
    // Across the point where the dictionary fills (3839 codes) and well past it.
    for (size_t length : {1u, 2u, 3u, 255u, 256u, 3838u, 3839u, 3840u, 3841u, 20001u, 65536u}) {
        SCOPED_TRACE(length);
        const std::vector<uint8_t> input(pairs.begin(), pairs.begin() + length);
        const auto stream = lzwCompress(input);
        EXPECT_EQ(stream.size(), length * 3 / 2 + 2);
        const auto codes = codesOf(stream, length);
        EXPECT_TRUE(std::equal(codes.begin(), codes.end(), input.begin()));
    }
}

TEST(LzwCompress, DictionaryRestartsSilentlyWhenFull) {
    // 3840 bytes without a repeated pair: codes 1..3838 assign 257..4094, the
    // 3839th assigns nothing and empties the dictionary.
    const auto pairs = test::distinctPairs();
    std::vector<uint8_t> input(pairs.begin(), pairs.begin() + 3840);
    const uint8_t last = input.back();
    // A pair (last, a) that got a code before the restart, so a coder that
    // kept its dictionary would reuse it.
    size_t earlier = 0;
    while (input[earlier] != last || input[earlier + 1] == last) ++earlier;
    ASSERT_LT(earlier + 1, 3838u);
    const uint8_t a = input[earlier + 1];
    input.insert(input.end(), {a, last, a});

    const auto stream = lzwCompress(input);
    const auto codes = codesOf(stream, 3842);
    EXPECT_TRUE(std::equal(codes.begin(), codes.begin() + 3839, input.begin()));
    // (last, a) is the first new string after the restart and receives 257.
    EXPECT_EQ(codes[3839], last);
    EXPECT_EQ(codes[3840], a);
    EXPECT_EQ(codes[3841], 0x101u);
    EXPECT_EQ(stream.size(), expectedSize(3842));
}

// A long random input fills the dictionary again and again. Each cycle is
// exactly 3,839 codes: 3,838 assign 257..4094, the last assigns nothing and
// resets. So code k of a cycle (from 0) can name at most the strings assigned
// before it, 256 + k. A coder resetting earlier or later drifts against these
// boundaries and soon names a string its cycle has not reached yet.
TEST(LzwCompress, DictionaryResetsEvery3838AssignedCodesOnALongRandomInput) {
    const auto input = test::randomBytes(1 << 20, 12);
    const auto reference = test::referenceCodes(input);
    const auto stream = lzwCompress(input);
    const auto codes = codesOf(stream, reference.size());
    ASSERT_TRUE(codes == reference);
    constexpr size_t kCycle = 3839;
    ASSERT_GT(codes.size(), 200 * kCycle);
    size_t named = 0;  // codes that name a dictionary string rather than a byte
    for (size_t i = 0; i < codes.size(); ++i) {
        const size_t k = i % kCycle;
        ASSERT_LE(codes[i], k == 0 ? 255u : 256u + k) << "code " << k << " of cycle " << i / kCycle;
        named += codes[i] > 255;
    }
    EXPECT_GT(named, codes.size() / 100);
}

TEST(LzwCompress, MatchesAnIndependentCoderOnInputsThatFillTheDictionaryOften) {
    expectMatchesReference(test::randomBytes(60000, 7));
    expectMatchesReference(test::repetitiveText(300000));
    expectMatchesReference(test::eventLike(200000, 11));
    // A run makes each new string one byte longer than the last.
    expectMatchesReference(test::runOf(500000, 0x41));
    // Text whose strings share prefixes and collide in the slot hash.
    auto mixed = test::repetitiveText(40000);
    const auto noise = test::randomBytes(40000, 3);
    for (size_t i = 0; i < mixed.size(); i += 7) mixed[i] = noise[i];
    expectMatchesReference(mixed);
}

// Byte for byte against the plain coder, over lengths that give the coder's
// table each of its sizes, alphabets from two bytes to all 256, and one output
// buffer reused from section to section as the image's writer does.
TEST(LzwCompress, SameBytesAsAPlainCoderOnRandomSections) {
    std::mt19937 random(5);
    std::vector<uint8_t> out(lzwMaxCompressedSize(70000));
    for (int round = 0; round < 300; ++round) {
        const size_t length = 1 + random() % (round < 200 ? 5000 : 70000);
        const uint32_t alphabet = 2 + random() % 255;
        const auto input = test::randomBytes(length, static_cast<uint32_t>(random()), alphabet);
        const auto expected = test::referenceStream(input);
        const size_t written = lzwCompressInto(input, out);
        ASSERT_TRUE(std::equal(out.begin(), out.begin() + written, expected.begin(), expected.end()))
            << "length " << length << ", alphabet " << alphabet;
    }
}

}  // namespace
}  // namespace zmr
