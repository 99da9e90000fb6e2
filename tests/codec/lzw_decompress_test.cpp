#include "codec/lzw_decompress.h"

#include <gtest/gtest.h>

#include <functional>

#include "codec/lzw_compress.h"
#include "codec/lzw_test_support.h"

namespace zmr {
namespace {

using test::bytesOf;

void expectRoundTrip(const std::vector<uint8_t>& input) {
    const auto section = lzwCompress(input);
    const auto length = static_cast<uint32_t>(input.size());
    const auto decoded = lzwDecompressStrict(section, length);
    ASSERT_TRUE(decoded.ok()) << decoded.message();
    EXPECT_TRUE(decoded.value() == input);
    EXPECT_GE(lzwMaxDecodedSize(section.size()), input.size());
}

TEST(LzwDecompress, RoundTripsEveryShortLength) {
    const std::function<std::vector<uint8_t>(size_t)> makers[] = {
        [](size_t n) { return test::randomBytes(n, static_cast<uint32_t>(n)); },
        [](size_t n) { return test::repetitiveText(n); },
        [](size_t n) { return test::runOf(n, 0x00); },
        [](size_t n) { return test::eventLike(n, static_cast<uint32_t>(n)); },
    };
    for (const auto& make : makers) {
        for (size_t n = 1; n <= 600; ++n) {
            SCOPED_TRACE(n);
            expectRoundTrip(make(n));
        }
    }
}

TEST(LzwDecompress, RoundTripsInputsThatFillTheDictionaryManyTimes) {
    expectRoundTrip(test::randomBytes(200000, 5));
    expectRoundTrip(test::repetitiveText(1000000));
    expectRoundTrip(test::eventLike(500000, 9));
    expectRoundTrip(test::distinctPairs());
    // Two full cycles of ever longer strings (3839 codes, 7.4 MB each), then
    // a part of a third.
    expectRoundTrip(test::runOf(16000000, 0xFF));
}

TEST(LzwDecompress, StopsAtTheStatedLength) {
    const auto section = lzwCompress(bytesOf("abc"));
    const auto two = lzwDecompress(section, 2);
    ASSERT_TRUE(two.ok()) << two.message();
    EXPECT_EQ(two.value(), bytesOf("ab"));
    // The player never looks past the last needed code; a verifier does.
    const auto strict = lzwDecompressStrict(section, 2);
    ASSERT_FALSE(strict.ok());
    EXPECT_NE(strict.message().find("byte 3"), std::string::npos) << strict.message();
}

TEST(LzwDecompress, LengthZeroDecodesNothing) {
    const std::vector<uint8_t> junk = {0xFF, 0x10};
    const auto lax = lzwDecompress(junk, 0);
    ASSERT_TRUE(lax.ok());
    EXPECT_TRUE(lax.value().empty());
    EXPECT_FALSE(lzwDecompressStrict(junk, 0).ok());
    EXPECT_TRUE(lzwDecompressStrict({}, 0).ok());
    EXPECT_TRUE(lzwDecompressStrict(std::vector<uint8_t>{0, 0}, 0).ok());
}

TEST(LzwDecompress, RejectsSectionsTheCoderCannotHaveWritten) {
    struct Case {
        const char* what;
        std::vector<uint8_t> section;
        uint32_t length;
        const char* where;
    };
    const Case cases[] = {
        {"a dictionary code first", {0x10, 0x10, 0x00, 0x00}, 4, "byte 0:"},
        {"code 256", {0x06, 0x11, 0x00, 0x00}, 4, "byte 1:"},
        {"a code beyond the next one", {0x06, 0x11, 0x02, 0x00}, 4, "byte 1:"},
        {"code 4095", {0x06, 0x1F, 0xFF, 0x00}, 4, "byte 1:"},
        // aaaaaa gives a, aa, aaa: the third string does not fit in 4 bytes.
        {"a string past the length", {0x06, 0x11, 0x01, 0x10, 0x20, 0x00}, 4, "byte 3:"},
        {"a section that ends early", {0x06, 0x10, 0x62}, 3, "byte 3:"},
        {"a hostile length", {0x06, 0x10, 0x62, 0x06, 0x30, 0x00, 0x00, 0x00, 0x00, 0x00}, 0xFFFFFFFFu, "byte 10:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto decoded = lzwDecompress(c.section, c.length);
        ASSERT_FALSE(decoded.ok());
        EXPECT_NE(decoded.message().find(c.where), std::string::npos) << decoded.message();
    }
}

TEST(LzwDecompress, RestartsItsDictionaryInStepWithTheCoder) {
    // 3839 literals fill the dictionary; the 3840th code must be a literal again.
    const auto pairs = test::distinctPairs();
    const std::vector<uint8_t> input(pairs.begin(), pairs.begin() + 3845);
    auto section = lzwCompress(input);
    ASSERT_TRUE(lzwDecompress(section, 3845).ok());
    test::setCode(section, 3839, 0x101);
    const auto decoded = lzwDecompress(section, 3845);
    ASSERT_FALSE(decoded.ok());
    EXPECT_NE(decoded.message().find("byte 5758:"), std::string::npos) << decoded.message();
}

TEST(LzwDecompress, MaxDecodedSizeGrowsWithTheSectionOnly) {
    EXPECT_EQ(lzwMaxDecodedSize(0), 0u);
    EXPECT_EQ(lzwMaxDecodedSize(10), 21u);  // six codes: 1 + 2 + ... + 6
    // Runs reach the bound: m codes standing for 1, 2, ..., m bytes.
    const auto section = lzwCompress(test::runOf(3839 * 3840 / 2, 0x55));
    EXPECT_EQ(section.size(), 5760u);
    EXPECT_EQ(lzwMaxDecodedSize(section.size()), 3839u * 3840 / 2 + 1);
}

}  // namespace
}  // namespace zmr
