#pragma once
// Titles from the song list written beside an image: its lines are
// "number TAB title TAB first lyric bytes CR LF", the title the bytes of the
// song's file name (VIQR or VNI, or UTF-8 or Windows-1258 where the build read
// names so). A user may have respelt the titles there (a file named "Mua Xuan
// Ve" listed as "Mu`a Xua^n Ve^`") for the book.

#include <cstdint>
#include <optional>
#include <string>
#include <span>
#include <vector>

namespace zmr {

// Entry n-1 holds the bytes of song n's title, or nothing where line n does
// not carry the number n and a tab.
std::vector<std::optional<std::string>> songListTitles(std::span<const uint8_t> songList);

}  // namespace zmr
