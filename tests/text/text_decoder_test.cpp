// The same cases for every platform's decoder (ICU, the Windows API): both
// must give the same code points, bad input included.

#include "text/text_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace zmr {
namespace {

std::u32string decode(std::string_view bytes, TextEncoding encoding) {
    return decodeToNfd(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), encoding);
}

struct DecodeCase {
    const char* name;
    std::string_view bytes;
    std::u32string nfd;
};

void expectAll(TextEncoding encoding, std::initializer_list<DecodeCase> cases) {
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::u32string got = decode(c.bytes, encoding);
        EXPECT_EQ(std::vector<char32_t>(got.begin(), got.end()), std::vector<char32_t>(c.nfd.begin(), c.nfd.end()));
    }
}

TEST(TextDecoder, Utf8ComesOutDecomposedWhateverItsForm) {
    expectAll(TextEncoding::Utf8, {
        {"empty", "", U""},
        {"ASCII", "Xuan ve", U"Xuan ve"},
        {"composed", "Xu\xC3\xA2n v\xE1\xBB\x81", U"Xua\u0302n ve\u0302\u0300"},
        {"decomposed", "Xua\xCC\x82n ve\xCC\x82\xCC\x80", U"Xua\u0302n ve\u0302\u0300"},
        // Dot below sorts before the circumflex, whatever order the text has.
        {"marks reordered", "Vie\xCC\x82\xCC\xA3t", U"Vie\u0323\u0302t"},
        {"outside the BMP", "\xF0\x9F\x8E\xA4!", U"\U0001F3A4!"},
        {"a real U+FFFD stays", "a\xEF\xBF\xBD" "b", U"a\uFFFDb"},
    });
}

TEST(TextDecoder, IllFormedUtf8BecomesOneQuestionMarkPerMaximalPiece) {
    expectAll(TextEncoding::Utf8, {
        {"lone continuation", "a\x80" "b", U"a?b"},
        {"truncated at the end", "a\xE1\x80", U"a?"},
        {"truncated before ASCII", "x\xE1\x80y", U"x?y"},
        {"overlong two bytes", "\xC0\x80", U"??"},
        {"overlong three bytes", "\xE0\x80\x80", U"???"},
        {"encoded surrogate", "\xED\xA0\x80", U"???"},
        {"beyond U+10FFFF", "\xF5\x80", U"??"},
        {"bytes never valid", "\xFE\xFF", U"??"},
        {"bad byte then a real U+FFFD", "\xE0\xEF\xBF\xBD", U"?\uFFFD"},
    });
}

TEST(TextDecoder, Windows1258TakesItsCombiningToneMarks) {
    expectAll(TextEncoding::Cp1258, {
        {"empty", "", U""},
        {"ASCII", "Que huong", U"Que huong"},
        // e-circumflex (EA) then the combining dot below (F2).
        {"tone mark byte", "Vi\xEA\xF2t", U"Vie\u0323\u0302t"},
        {"all five tone marks", "a\xCC" "a\xEC" "a\xD2" "a\xDE" "a\xF2",
         U"a\u0300a\u0301a\u0309a\u0303a\u0323"},
        {"precomposed letters", "\xE0\xD5\xDD\xC3", U"a\u0300O\u031BU\u031BA\u0306"},
        {"d with stroke and the euro", "\xD0\x80", U"\u0110\u20AC"},
        {"undefined byte", "\x81", U"\u0081"},
    });
}

}  // namespace
}  // namespace zmr
