#include "text/encoding_guess.h"

#include <algorithm>

#include "text/composition_table.h"
#include "text/text_decoder.h"
#include "text/transcoder.h"
#include "text/utf8.h"
#include "text/viqr_spelling.h"

namespace zmr {
namespace {

bool isVowel(uint8_t c) {
    switch (c | 0x20) {
        case 'a': case 'e': case 'i': case 'o': case 'u': case 'y': return true;
        default: return false;
    }
}

bool isLetter(uint8_t c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

struct ViqrCount {
    size_t marks = 0;
    size_t words = 0;
};

// Marks that only VIQR puts there: a vowel mark after a vowel, or a tone
// between a vowel (or its vowel mark) and a letter, as in "vie^.t" or "ca'c".
void countViqr(std::span<const uint8_t> text, ViqrCount& count) {
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t c = text[i];
        if (isLetter(c) && (i == 0 || !isLetter(text[i - 1]))) ++count.words;
        if (i == 0) continue;
        const uint8_t before = text[i - 1];
        const bool afterVowel = isVowel(before) || ((before == '^' || before == '(' || before == '*') && i >= 2 &&
                                                    isVowel(text[i - 2]));
        if ((c == '^' || c == '(' || c == '*') && isVowel(before)) {
            ++count.marks;
        } else if ((c == '\'' || c == '`' || c == '?' || c == '~' || c == '.') && afterVowel &&
                   i + 1 < text.size() && isLetter(text[i + 1])) {
            ++count.marks;
        }
    }
}

// Non-ASCII bytes that are neither a VNI single-byte letter nor a mark byte
// composing with the letter before it.
size_t vniMisses(std::span<const uint8_t> text) {
    const CompositionTable& table = CompositionTable::standard();
    size_t misses = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t c = text[i];
        if (c < 0x80 || remapSingleByte(c) != c) continue;
        if (i > 0 && table.compose(remapSingleByte(text[i - 1]), c) != 0) continue;
        ++misses;
    }
    return misses;
}

size_t cp1258Misses(std::span<const uint8_t> text) {
    return static_cast<size_t>(spellViqr(decodeToNfd(text, TextEncoding::Cp1258)).uncoded);
}

}  // namespace

TextEncoding guessTextEncoding(std::span<const std::span<const uint8_t>> pieces) {
    const bool ascii = std::all_of(pieces.begin(), pieces.end(), [](auto piece) { return isAscii(piece); });
    if (ascii) {
        ViqrCount count;
        for (const auto piece : pieces) countViqr(piece, count);
        return count.marks >= 2 && count.marks * 4 >= count.words ? TextEncoding::Viqr : TextEncoding::Ascii;
    }
    if (std::all_of(pieces.begin(), pieces.end(), [](auto piece) { return isValidUtf8(piece); })) return TextEncoding::Utf8;
    size_t vni = 0, cp1258 = 0;
    for (const auto piece : pieces) {
        if (isAscii(piece)) continue;
        vni += vniMisses(piece);
        cp1258 += cp1258Misses(piece);
    }
    return cp1258 < vni ? TextEncoding::Cp1258 : TextEncoding::Vni;
}

}  // namespace zmr
