#pragma once
// Titles from the song list written beside an image: the title is the bytes
// of the song's file name (VIQR or VNI, or UTF-8 or Windows-1258 where the
// build read names so). A user may have respelt the titles there (a file named
// "Mua Xuan Ve" listed as "Mu`a Xua^n Ve^`") for the book, and saved the list
// with another editor's line ends or byte-order mark.

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zmr {

struct ListedTitles {
    // Entry n-1 holds the bytes of song n's title, or nothing where line n
    // does not carry the number n and a tab.
    std::vector<std::optional<std::string>> titles;
    // "line 7: ..." for each line that gives no title.
    std::vector<std::string> problems;
};

ListedTitles songListTitles(std::span<const uint8_t> songList);

}  // namespace zmr
