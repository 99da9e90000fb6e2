#include "text/viqr_spelling.h"

#include <optional>

namespace zmr {
namespace {

enum class MarkKind { Vowel, Tone };

struct Mark {
    MarkKind kind;
    char viqr;
};

// The combining marks of Vietnamese and the VIQR character for each.
std::optional<Mark> vietnameseMark(char32_t c) {
    switch (c) {
        case U'\u0302': return Mark{MarkKind::Vowel, '^'};  // circumflex
        case U'\u0306': return Mark{MarkKind::Vowel, '('};  // breve
        case U'\u031B': return Mark{MarkKind::Vowel, '*'};  // horn
        case U'\u0301': return Mark{MarkKind::Tone, '\''};  // acute
        case U'\u0300': return Mark{MarkKind::Tone, '`'};   // grave
        case U'\u0309': return Mark{MarkKind::Tone, '?'};   // hook above
        case U'\u0303': return Mark{MarkKind::Tone, '~'};   // tilde
        case U'\u0323': return Mark{MarkKind::Tone, '.'};   // dot below
        default: return std::nullopt;
    }
}

// Combining marks of every script, which NFD puts after the character they belong to.
bool isCombining(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

// The vowel marks each vowel takes in Vietnamese.
bool takesVowelMark(char32_t base, char mark) {
    switch (base | 0x20) {  // ASCII letters in lower case
        case U'a': return mark == '^' || mark == '(';
        case U'e': return mark == '^';
        case U'o': return mark == '^' || mark == '*';
        case U'u': return mark == '*';
        default: return false;
    }
}

bool isVowel(char32_t c) {
    switch (c | 0x20) {
        case U'a': case U'e': case U'i': case U'o': case U'u': case U'y': return true;
        default: return false;
    }
}

// The VIQR marks of a vowel with its combining marks, vowel mark first;
// nothing when the marks do not make a Vietnamese letter.
std::optional<std::string_view> vowelMarks(char32_t base, std::u32string_view marks, char (&out)[2]) {
    if (!isVowel(base) || marks.size() > 2) return std::nullopt;
    char vowel = 0, tone = 0;
    for (const char32_t c : marks) {
        const std::optional<Mark> mark = vietnameseMark(c);
        if (!mark) return std::nullopt;
        char& slot = mark->kind == MarkKind::Vowel ? vowel : tone;
        if (slot != 0) return std::nullopt;
        slot = mark->viqr;
    }
    if (vowel != 0 && !takesVowelMark(base, vowel)) return std::nullopt;
    size_t n = 0;
    if (vowel != 0) out[n++] = vowel;
    if (tone != 0) out[n++] = tone;
    return std::string_view(out, n);
}

void put(ViqrSpelling& spelling, char byte, bool startsCharacter) {
    spelling.bytes.push_back({static_cast<uint8_t>(byte), startsCharacter});
}

// One character: a code point and the combining marks after it.
void spellCharacter(char32_t base, std::u32string_view marks, ViqrSpelling& spelling) {
    if (marks.empty() && base < 0x80) {
        if (base != 0) put(spelling, static_cast<char>(base), true);
        return;
    }
    if (marks.empty() && (base == U'\u0111' || base == U'\u0110')) {  // d and D with stroke
        const char d = base == U'\u0111' ? 'd' : 'D';
        put(spelling, d, true);
        put(spelling, d, false);
        return;
    }
    char buffer[2];
    if (const std::optional<std::string_view> added = vowelMarks(base, marks, buffer)) {
        put(spelling, static_cast<char>(base), true);
        for (const char mark : *added) put(spelling, mark, false);
        return;
    }
    put(spelling, '?', true);
    ++spelling.uncoded;
}

}  // namespace

ViqrSpelling spellViqr(std::u32string_view nfd) {
    ViqrSpelling spelling;
    spelling.bytes.reserve(nfd.size());
    size_t i = 0;
    while (i < nfd.size()) {
        // Marks with nothing before them make a character of their own.
        size_t end = i + 1;
        while (end < nfd.size() && isCombining(nfd[end])) ++end;
        if (isCombining(nfd[i])) {
            spellCharacter(U'\uFFFD', nfd.substr(i, end - i), spelling);
        } else {
            spellCharacter(nfd[i], nfd.substr(i + 1, end - i - 1), spelling);
        }
        i = end;
    }
    return spelling;
}

}  // namespace zmr
