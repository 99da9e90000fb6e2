#pragma once
// The song book as a PDF, drawn with cairo and laid out with pango, which
// shapes the Vietnamese letters with their marks: an A4 title page, then the
// songs by title and by number, two columns a page, page numbers below.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"
#include "songbook/song_book.h"

namespace zmr {

inline constexpr char kSongBookFont[] = "DejaVu Sans";  // holds every Vietnamese letter

struct SongBookPdf {
    std::vector<uint8_t> bytes;
    int pages = 0;
};

// `byTitle` holds positions into book.songs in title order.
Result<SongBookPdf> songBookPdf(const SongBook& book, std::span<const size_t> byTitle);

}  // namespace zmr
