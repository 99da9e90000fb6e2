#pragma once
// A best guess at how a piece of text is written, from its bytes alone: for
// telling a collection's owner which reading its songs need.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "text/text_encoding.h"

namespace zmr {

// The guess for a song's text, one of kGuessedEncodings, given as pieces (the title, or each lyric
// event, each read on its own):
// - only ASCII bytes: viqr when at least two marks in four words read as
//   VIQR marks (^ ( * after a vowel, or ' ` ? ~ . between a vowel and a
//   letter), otherwise ascii;
// - every piece valid UTF-8: utf8;
// - otherwise whichever of VNI and Windows-1258 leaves fewer bytes that are
//   not part of a Vietnamese letter (VNI on a tie): VNI letters are a letter
//   followed by a mark byte that composes with it, or one of its single-byte
//   letters; Windows-1258 letters are decoded as the code page says.
TextEncoding guessTextEncoding(std::span<const std::span<const uint8_t>> pieces);

}  // namespace zmr
