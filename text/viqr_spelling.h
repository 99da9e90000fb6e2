#pragma once
// Unicode text spelled the way VIQR writes it, for the transcoder: each
// Vietnamese letter as its base letter followed by its vowel mark (^ ( *) and
// its tone (' ` ? ~ .), d with stroke as dd, and every other character that
// the player has no code for as '?'.

#include <cstdint>
#include <string_view>
#include <vector>

namespace zmr {

struct SpelledByte {
    uint8_t byte = 0;
    // The byte stands for itself or begins a letter: it never composes with
    // the code before it. Only the marks that the spelling adds compose.
    bool startsCharacter = false;
};

struct ViqrSpelling {
    std::vector<SpelledByte> bytes;
    int32_t uncoded = 0;  // characters spelled '?' because the player has no code for them
};

// `nfd` in canonical decomposition (a letter followed by its combining marks).
// ASCII stands for itself; U+0000 is left out.
ViqrSpelling spellViqr(std::u32string_view nfd);

}  // namespace zmr
