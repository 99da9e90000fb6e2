#pragma once
// The song book as one self-contained HTML file: no fonts, styles or scripts
// fetched from elsewhere. Its print styles lay it out like the PDF (A4, two
// columns, page numbers where the browser prints page-margin boxes), so a
// browser prints it where the PDF writer is not built.

#include <cstddef>
#include <span>
#include <string>

#include "songbook/song_book.h"

namespace zmr {

// `byTitle` holds positions into book.songs in title order.
std::string songBookHtml(const SongBook& book, std::span<const size_t> byTitle);

}  // namespace zmr
