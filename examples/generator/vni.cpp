#include "vni.h"

#include <cctype>
#include <stdexcept>
#include <string_view>

namespace zmr::examples {
namespace {

constexpr std::string_view kTones = "'`?~.";  // acute, grave, hook above, tilde, dot below

// Mark bytes indexed by tone (none, then kTones order); 0 where VNI has none.
struct MarkSeries {
    unsigned char tone[6];
    unsigned char circumflex[6];
    unsigned char breve[6];
    unsigned char iLetter[6];  // i with a tone is a single byte
    unsigned char uHorn;       // single bytes for u and o with horn
    unsigned char oHorn;
    unsigned char dStroke;
};

constexpr MarkSeries kSmall{{0, 249, 248, 251, 245, 239},
                            {226, 225, 224, 229, 227, 228},
                            {234, 233, 232, 250, 252, 235},
                            {'i', 237, 236, 230, 243, 242},
                            246, 244, 241};
constexpr MarkSeries kCapital{{0, 217, 216, 219, 213, 207},
                              {194, 193, 192, 197, 195, 196},
                              {202, 201, 200, 218, 0, 203},
                              {'I', 205, 204, 198, 211, 210},
                              214, 212, 209};

bool isVowel(char c) { return std::string_view("aeiouyAEIOUY").find(c) != std::string_view::npos; }

std::string spellVowel(char letter, char vowelMark, int tone, const MarkSeries& series) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    auto fail = [&]() -> std::string {
        throw std::runtime_error(std::string("VNI has no bytes for ") + letter + vowelMark);
    };
    auto withTone = [&](char base) {
        std::string out(1, base);
        if (tone > 0) out += static_cast<char>(series.tone[tone]);
        return out;
    };
    switch (vowelMark) {
        case '^':
            if (lower != 'a' && lower != 'e' && lower != 'o') return fail();
            return std::string(1, letter) + static_cast<char>(series.circumflex[tone]);
        case '(':
            if (lower != 'a' || series.breve[tone] == 0) return fail();
            return std::string(1, letter) + static_cast<char>(series.breve[tone]);
        case '*':
            if (lower == 'u') return withTone(static_cast<char>(series.uHorn));
            if (lower == 'o') return withTone(static_cast<char>(series.oHorn));
            return fail();
        default:
            if (lower == 'i') return std::string(1, static_cast<char>(series.iLetter[tone]));
            return withTone(letter);
    }
}

}  // namespace

std::string viqrToVni(const std::string& viqr) {
    std::string out;
    for (size_t i = 0; i < viqr.size(); ++i) {
        const char c = viqr[i];
        const bool capital = std::isupper(static_cast<unsigned char>(c)) != 0;
        const MarkSeries& series = capital ? kCapital : kSmall;
        const char next = i + 1 < viqr.size() ? viqr[i + 1] : '\0';
        if ((c == 'd' && next == 'd') || (c == 'D' && (next == 'D' || next == 'd'))) {
            out += static_cast<char>(series.dStroke);
            ++i;
            continue;
        }
        if (!isVowel(c)) {
            out += c;
            continue;
        }
        char vowelMark = 0;
        if (i + 1 < viqr.size() && std::string_view("^(*").find(viqr[i + 1]) != std::string_view::npos)
            vowelMark = viqr[++i];
        int tone = 0;
        if (i + 1 < viqr.size() && kTones.find(viqr[i + 1]) != std::string_view::npos)
            tone = static_cast<int>(kTones.find(viqr[++i])) + 1;
        out += spellVowel(c, vowelMark, tone, series);
    }
    return out;
}

}  // namespace zmr::examples
