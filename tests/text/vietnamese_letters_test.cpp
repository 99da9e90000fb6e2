// Every Vietnamese letter, in both cases, read from UTF-8 (NFC and NFD) and
// from Windows-1258, gives the records of its VIQR spelling. The letters come
// from Unicode's own data through ICU: each vowel of VIQR with each tone is
// composed by ICU's NFC, and its Windows-1258 bytes are ICU's; the expected
// records come from the VIQR spelling through the player's own reading.

#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <set>
#include <string>
#include <vector>

#include "text/text_stream.h"

namespace zmr {
namespace {

struct Letter {
    icu::UnicodeString nfc;  // one code point
    std::string viqr;
    icu::UnicodeString windows1258Form;  // the vowel with its vowel mark, then the tone as a combining mark
};

// VIQR's marks and the combining marks they write.
struct MarkPair {
    char viqr;
    char16_t combining;
};
constexpr MarkPair kVowelMarks[] = {{0, 0}, {'^', u'\u0302'}, {'(', u'\u0306'}, {'*', u'\u031B'}};
constexpr MarkPair kTones[] = {{0, 0}, {'\'', u'\u0301'}, {'`', u'\u0300'}, {'?', u'\u0309'}, {'~', u'\u0303'}, {'.', u'\u0323'}};
// The vowels of Vietnamese as VIQR writes them.
const std::vector<std::string> kVowels = {"a", "a(", "a^", "e", "e^", "i", "o", "o^", "o*", "u", "u*", "y"};

const icu::Normalizer2& nfc() {
    UErrorCode error = U_ZERO_ERROR;
    return *icu::Normalizer2::getNFCInstance(error);
}

const icu::Normalizer2& nfd() {
    UErrorCode error = U_ZERO_ERROR;
    return *icu::Normalizer2::getNFDInstance(error);
}

icu::UnicodeString composed(icu::UnicodeString text) {
    UErrorCode error = U_ZERO_ERROR;
    return nfc().normalize(text, error);
}

std::vector<Letter> vietnameseLetters() {
    std::vector<Letter> letters;
    for (const bool capital : {false, true}) {
        for (const std::string& vowel : kVowels) {
            icu::UnicodeString base(static_cast<UChar>(capital ? vowel[0] - 32 : vowel[0]));
            for (const MarkPair& mark : kVowelMarks) {
                if (vowel.size() > 1 && vowel[1] == mark.viqr) base.append(mark.combining);
            }
            for (const MarkPair& tone : kTones) {
                icu::UnicodeString decomposed = base;
                std::string viqr = std::string(1, static_cast<char>(base.charAt(0))) + vowel.substr(1);
                if (tone.viqr != 0) {
                    decomposed.append(tone.combining);
                    viqr += tone.viqr;
                }
                icu::UnicodeString windows = composed(base);
                if (tone.viqr != 0) windows.append(tone.combining);
                letters.push_back({composed(decomposed), viqr, windows});
            }
        }
        letters.push_back({icu::UnicodeString(static_cast<UChar>(capital ? 0x0110 : 0x0111)), capital ? "DD" : "dd",
                           icu::UnicodeString(static_cast<UChar>(capital ? 0x0110 : 0x0111))});
    }
    return letters;
}

std::vector<uint8_t> utf8(const icu::UnicodeString& text) {
    std::string bytes;
    text.toUTF8String(bytes);
    return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> windows1258(const icu::UnicodeString& text) {
    UErrorCode error = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("windows-1258", &error);
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    char bytes[16];
    const int32_t length = ucnv_fromUChars(converter, bytes, sizeof bytes, text.getBuffer(), text.length(), &error);
    ucnv_close(converter);
    EXPECT_TRUE(U_SUCCESS(error)) << u_errorName(error);
    return U_SUCCESS(error) ? std::vector<uint8_t>(bytes, bytes + length) : std::vector<uint8_t>{};
}

// The whole text stream of a song whose one lyric event holds `bytes`.
std::vector<uint8_t> streamOf(std::span<const uint8_t> bytes, TextEncoding encoding,
                              int32_t* uncoded = nullptr) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("x.kar", name);
    stream.addLyric(bytes, 300, encoding);
    stream.endTextStream();
    if (uncoded) *uncoded = stream.uncodedCharacters();
    return {stream.bytes().begin(), stream.bytes().end()};
}

std::span<const uint8_t> bytesOf(const std::string& text) { return {reinterpret_cast<const uint8_t*>(text.data()), text.size()}; }

TEST(VietnameseLetters, EachReadFromUnicodeOrWindows1258GivesItsViqrSpelling) {
    const std::vector<Letter> letters = vietnameseLetters();
    ASSERT_EQ(letters.size(), 146u);  // 12 vowels with 6 tones and d with stroke, in both cases
    for (const Letter& letter : letters) {
        ASSERT_EQ(letter.nfc.countChar32(), 1) << letter.viqr << ": Unicode has no such letter";
        const std::vector<uint8_t> expected = streamOf(bytesOf(letter.viqr), TextEncoding::ViqrVni);
        UErrorCode error = U_ZERO_ERROR;
        const icu::UnicodeString decomposed = nfd().normalize(letter.nfc, error);
        int32_t uncoded = -1;
        EXPECT_EQ(streamOf(utf8(letter.nfc), TextEncoding::Utf8, &uncoded), expected) << letter.viqr << " (NFC)";
        EXPECT_EQ(uncoded, 0) << letter.viqr;
        EXPECT_EQ(streamOf(utf8(decomposed), TextEncoding::Utf8), expected) << letter.viqr << " (NFD)";
        EXPECT_EQ(streamOf(windows1258(letter.windows1258Form), TextEncoding::Cp1258), expected)
            << letter.viqr << " (Windows-1258)";
    }
}

// Every other letter of the Latin blocks has no code on the player.
TEST(VietnameseLetters, EveryOtherLatinLetterBecomesAQuestionMark) {
    std::set<UChar32> vietnamese;
    for (const Letter& letter : vietnameseLetters()) vietnamese.insert(letter.nfc.char32At(0));
    const std::vector<uint8_t> questionMark = streamOf(bytesOf("?"), TextEncoding::ViqrVni);
    int checked = 0;
    for (UChar32 c = 0xC0; c <= 0x1EFF; ++c) {
        if ((c > 0x24F && c < 0x1E00) || !u_isalpha(c) || vietnamese.contains(c)) continue;
        int32_t uncoded = 0;
        EXPECT_EQ(streamOf(utf8(icu::UnicodeString(c)), TextEncoding::Utf8, &uncoded), questionMark) << std::hex << c;
        EXPECT_EQ(uncoded, 1) << std::hex << c;
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

}  // namespace
}  // namespace zmr
