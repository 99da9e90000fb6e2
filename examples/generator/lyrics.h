#pragma once
// Lyrics notation: VIQR text, lines separated by '/', syllables by spaces,
// e.g. "Xin cha`o / Vie^.t Nam". Each syllable becomes one lyric event.

#include <string>
#include <vector>

#include "song.h"

namespace zmr::examples {

using LyricLine = std::vector<std::string>;  // its syllables, in VIQR

std::vector<LyricLine> parseLyrics(const std::string& text);

// The lyric event bytes of one syllable: a space after it inside a line, a
// carriage return after the last one when lines end that way, spelt in the
// song's encoding. Throws std::runtime_error when they reach 16 bytes, the
// length from which the player no longer shows a lyric.
std::string lyricEventText(const LyricLine& line, size_t syllable, const Song& song);

// The carriage return that ends a line as an event of its own.
std::string lineBreakEventText();

}  // namespace zmr::examples
