#pragma once
// The way back from the player's code page: which Vietnamese letter a code
// shows, and which input bytes the transcoder turns into that code again.
// Everything is derived by running the letters' spellings through the
// composition table, so the way back cannot drift from the way there.
//
// Where the table gives one code to two letters, one is chosen:
//   144 shows capital A with circumflex and hook above (also A^~),
//   252 shows capital O with horn (also capital A with breve),
//   255 shows capital Y with dot below (VNI also gives it Y with tilde).
// Capital A with breve and acute, grave, hook above or dot below (176, 177,
// 178, 123) cannot be written in VIQR, since row 252 holds the O-with-horn
// pairs; they come back in VNI, which composes them.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/composition_table.h"

namespace zmr {

// Shown for a code that is neither a letter nor printable ASCII.
inline constexpr char32_t kNoGlyph = 0xFFFD;

class CodePageInverse {
public:
    explicit CodePageInverse(const CompositionTable& table);

    // Derived from CompositionTable::standard() once and shared read-only.
    static const CodePageInverse& standard();

    // What the player shows for `code`: a Vietnamese letter, printable ASCII,
    // U+000D for the line end 13, and kNoGlyph for anything else.
    char32_t unicode(uint8_t code) const { return unicode_[code]; }

    // Bytes that the transcoder turns into exactly `code` when nothing is
    // pending: VIQR for letters (VNI for the four that VIQR cannot write),
    // the byte itself for every other code.
    std::string_view input(uint8_t code) const { return input_[code]; }

    // Transcoder input that yields `codes` again: one spelling per code, in
    // order. A code whose spelling would compose with the code before it (D
    // followed by the VNI byte for D with stroke, say) is spelled with its VNI
    // single byte instead.
    std::vector<std::string> spell(std::span<const uint8_t> codes) const;

private:
    void derive();
    uint8_t codeOf(std::string_view input) const;
    void assign(std::u32string_view letters, std::string_view viqr);

    const CompositionTable* table_;
    std::array<char32_t, 256> unicode_{};
    std::array<std::string, 256> input_;
};

// Appends `code` in UTF-8.
void appendUtf8(std::string& out, char32_t code);

// The codes as the player shows them, in UTF-8.
std::string codesToUtf8(std::span<const uint8_t> codes, const CodePageInverse& inverse = CodePageInverse::standard());

}  // namespace zmr
