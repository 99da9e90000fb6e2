#include "text/code_page_inverse.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "text/transcoder.h"

namespace zmr {
namespace {

// What the transcoder makes of `input`, from a fresh start to the final flush.
std::vector<uint8_t> transcodeAll(std::string_view input) { return transcodeText(input); }

std::string utf8(std::vector<uint8_t> codes) { return codesToUtf8(codes); }

std::string joined(const std::vector<std::string>& spellings) {
    std::string all;
    for (const std::string& s : spellings) all += s;
    return all;
}

const CodePageInverse& inverse() { return CodePageInverse::standard(); }

TEST(CodePageInverse, EveryCodeTheTableOrRemapProducesShowsALetter) {
    const CompositionTable& table = CompositionTable::standard();
    std::set<uint8_t> produced;
    for (unsigned first = 0; first < 256; ++first) {
        for (unsigned second = 0; second < 256; ++second) {
            if (const uint8_t code = table.compose(static_cast<uint8_t>(first), static_cast<uint8_t>(second))) {
                produced.insert(code);
            }
        }
    }
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (remapSingleByte(static_cast<uint8_t>(byte)) != byte) produced.insert(remapSingleByte(static_cast<uint8_t>(byte)));
    }
    for (const uint8_t code : produced) {
        const char32_t letter = inverse().unicode(code);
        EXPECT_TRUE(letter >= 0xC0 && letter != kNoGlyph) << "code " << int(code);
    }
    // The codes no pair and no remap produce show nothing known.
    for (const uint8_t code : {127, 140, 179, 223, 250}) {
        EXPECT_EQ(produced.count(code), 0u);
        EXPECT_EQ(inverse().unicode(code), kNoGlyph) << int(code);
    }
}

TEST(CodePageInverse, EveryCodesInputTranscodesToItself) {
    for (unsigned code = 1; code < 256; ++code) {
        EXPECT_EQ(transcodeAll(inverse().input(static_cast<uint8_t>(code))), std::vector<uint8_t>{static_cast<uint8_t>(code)})
            << "code " << code << " input \"" << inverse().input(static_cast<uint8_t>(code)) << "\"";
    }
}

TEST(CodePageInverse, ShowsVietnameseAsWritten) {
    EXPECT_EQ(utf8({86, 105, 172, 116}), "Việt");
    EXPECT_EQ(utf8({75, 104, 147, 110, 103, 32, 98, 105, 137, 116}), "Không biết");
    EXPECT_EQ(utf8({128, 227, 135, 174, 173, 243, 251, 159, 232}), "Ấấ\u1EA6Đđơ\u01AFưă");
    // ASCII codes that the table gives to letters show the letters.
    EXPECT_EQ(utf8({95, 96, 123, 124, 125, 126}), "ÁÀẶẢÃẠ");
    EXPECT_EQ(utf8({72, 48, 64, 32, 47}), "H0@ /");
    EXPECT_EQ(inverse().unicode(13), U'\r');
    EXPECT_EQ(inverse().unicode(9), kNoGlyph);
}

TEST(CodePageInverse, CodesForTwoLettersShowTheChosenOne) {
    EXPECT_EQ(utf8({144}), "Ẩ");
    EXPECT_EQ(utf8({252}), "Ơ");
    EXPECT_EQ(utf8({255}), "Ỵ");
    EXPECT_EQ(utf8({205, 206, 207, 208, 209}), "ỚỜỞỠỢ");  // row 252 holds O with horn
    // Capital A with breve and a tone exists only through VNI.
    EXPECT_EQ(utf8({176, 177, 178}), "ẮẰẲ");
    EXPECT_EQ(inverse().input(176), "A\xC9");
    EXPECT_EQ(inverse().input(128), "A^'");
    EXPECT_EQ(inverse().input(174), "DD");
}

TEST(CodePageInverse, SpellingGivesTheCodesBackAfterAnyNeighbour) {
    // D followed by the VNI D with stroke: DDD would compose the first two.
    const std::vector<uint8_t> mixed = transcodeAll("D\xD1" "d\xF1" "a\xE0");
    const std::string spelled = joined(inverse().spell(mixed));
    EXPECT_EQ(transcodeAll(spelled), mixed);

    // Random VIQR, VNI and plain bytes, as lyrics arrive.
    const std::string alphabet = "aAeEoOuUyYiIdDnght '`?~.(^*\r\xC9\xD1\xF1\xD6\xF6\xE2\xE1\xF9\xEF\xD4\xF4";
    std::mt19937 random(99);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const size_t length = 1 + random() % 30;
        for (size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        const std::vector<uint8_t> codes = transcodeAll(text);
        ASSERT_EQ(transcodeAll(joined(inverse().spell(codes))), codes) << text;
    }
}

}  // namespace
}  // namespace zmr
