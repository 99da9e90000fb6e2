#include "text/code_page_inverse.h"

#include "text/transcoder.h"

namespace zmr {

namespace {

// A letter and one way of writing it for the transcoder.
struct Spelling {
    std::u32string_view letter;
    std::string_view input;
};

// Where two letters compose to one code, the one spelled here is shown.
constexpr Spelling kSharedCodeChoices[] = {
    {U"Ẩ", "A^?"},  // 144, also A^~
    {U"Ơ", "O*"},   // 252, also A(
    {U"Ỵ", "Y."},   // 255, also Y with tilde in VNI
};

// Each vowel with its vowel mark as VIQR writes it, and the six letters it
// makes with no tone, acute, grave, hook above, tilde and dot below.
struct VowelRow {
    std::string_view viqr;
    std::u32string_view letters;
};

constexpr VowelRow kVowelRows[] = {
    {"a", U"aáàảãạ"}, {"a(", U"ăắằẳẵặ"}, {"a^", U"âấầẩẫậ"}, {"e", U"eéèẻẽẹ"},  {"e^", U"êếềểễệ"},
    {"i", U"iíìỉĩị"}, {"o", U"oóòỏõọ"},  {"o^", U"ôốồổỗộ"}, {"o*", U"ơớờởỡợ"}, {"u", U"uúùủũụ"},
    {"u*", U"ưứừửữự"}, {"y", U"yýỳỷỹỵ"}, {"A", U"AÁÀẢÃẠ"},  {"A(", U"ĂẮẰẲẴẶ"}, {"A^", U"ÂẤẦẨẪẬ"},
    {"E", U"EÉÈẺẼẸ"}, {"E^", U"ÊẾỀỂỄỆ"}, {"I", U"IÍÌỈĨỊ"},  {"O", U"OÓÒỎÕỌ"},  {"O^", U"ÔỐỒỔỖỘ"},
    {"O*", U"ƠỚỜỞỠỢ"}, {"U", U"UÚÙỦŨỤ"}, {"U*", U"ƯỨỪỬỮỰ"}, {"Y", U"YÝỲỶỸỴ"},
};

constexpr std::string_view kToneMarks[] = {"", "'", "`", "?", "~", "."};

constexpr Spelling kStrokeLetters[] = {{U"đ", "dd"}, {U"Đ", "DD"}};

// VIQR cannot write these (A( composes to 252, whose row holds the O-with-horn
// pairs), VNI can: A followed by its capital breve-and-tone mark byte.
constexpr Spelling kVniOnlyLetters[] = {
    {U"Ắ", "A\xC9"}, {U"Ằ", "A\xC8"}, {U"Ẳ", "A\xDA"}, {U"Ặ", "A\xCB"},
};

constexpr uint8_t kLineEnd = 13;

}  // namespace

CodePageInverse::CodePageInverse(const CompositionTable& table) : table_(&table) { derive(); }

const CodePageInverse& CodePageInverse::standard() {
    static const CodePageInverse inverse(CompositionTable::standard());
    return inverse;
}

// The one code that `input` transcodes to, or 0 when it yields none or several.
uint8_t CodePageInverse::codeOf(std::string_view input) const {
    const std::vector<uint8_t> codes = transcodeText(input, *table_);
    return codes.size() == 1 ? codes[0] : 0;
}

// The first letter to claim a code keeps it.
void CodePageInverse::assign(std::u32string_view letter, std::string_view input) {
    const uint8_t code = codeOf(input);
    if (code == 0 || unicode_[code] != 0) return;
    unicode_[code] = letter[0];
    input_[code] = std::string(input);
}

void CodePageInverse::derive() {
    for (const Spelling& s : kSharedCodeChoices) assign(s.letter, s.input);
    for (const VowelRow& row : kVowelRows) assign(row.letters.substr(0, 1), row.viqr);
    for (const VowelRow& row : kVowelRows) {
        // A tone composes onto the code of the vowel with its vowel mark; when
        // that code shows another letter (A( gives the 252 of O with horn), so
        // do the toned codes, and they are that letter's.
        if (row.viqr.size() > 1 && unicode_[codeOf(row.viqr)] != row.letters[0]) continue;
        for (size_t tone = 1; tone < std::size(kToneMarks); ++tone) {
            assign(row.letters.substr(tone, 1), std::string(row.viqr) + std::string(kToneMarks[tone]));
        }
    }
    for (const Spelling& s : kStrokeLetters) assign(s.letter, s.input);
    for (const Spelling& s : kVniOnlyLetters) assign(s.letter, s.input);

    // Every other code shows itself when it is printable ASCII; bytes that
    // compose with nothing pass the transcoder unchanged, so each is its own input.
    for (unsigned code = 1; code < 256; ++code) {
        if (unicode_[code] != 0) continue;
        const bool printable = code >= 0x20 && code < 0x7F;
        unicode_[code] = code == kLineEnd ? char32_t{kLineEnd} : printable ? char32_t{code} : kNoGlyph;
        input_[code] = std::string(1, static_cast<char>(code));
    }
    unicode_[0] = kNoGlyph;
}

std::vector<std::string> CodePageInverse::spell(std::span<const uint8_t> codes) const {
    std::vector<std::string> spellings;
    spellings.reserve(codes.size());
    uint8_t previous = 0;
    for (const uint8_t code : codes) {
        const std::string& spelling = input_[code];
        const auto first = static_cast<uint8_t>(spelling.empty() ? 0 : spelling[0]);
        const bool joins = previous != 0 && table_->compose(previous, remapSingleByte(first)) != 0;
        uint8_t single = 0;
        if (joins && table_->compose(previous, code) == 0) {
            // A VNI single byte is remapped to the code itself before the lookup.
            for (unsigned byte = 128; byte < 256 && single == 0; ++byte) {
                if (remapSingleByte(static_cast<uint8_t>(byte)) == code) single = static_cast<uint8_t>(byte);
            }
        }
        spellings.push_back(single != 0 ? std::string(1, static_cast<char>(single)) : spelling);
        previous = code;
    }
    return spellings;
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string codesToUtf8(std::span<const uint8_t> codes, const CodePageInverse& inverse) {
    std::string out;
    for (const uint8_t code : codes) appendUtf8(out, inverse.unicode(code));
    return out;
}

}  // namespace zmr
