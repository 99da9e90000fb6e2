#pragma once
// Titles from the song list written beside an image: its lines are
// "number TAB title TAB first lyric bytes CR LF", the title spelt as in the
// song's file name (VIQR or VNI), which the transcoder turns into the
// player's codes as it did for the image. A user may have respelt the titles
// there (a file named "Mua Xuan Ve" listed as "Mu`a Xua^n Ve^`") for the book.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zmr {

// Entry n-1 holds the codes of song n's title, or nothing where line n does
// not carry the number n and a tab.
std::vector<std::optional<std::vector<uint8_t>>> songListTitles(std::span<const uint8_t> songList);

}  // namespace zmr
