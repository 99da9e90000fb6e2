#pragma once
// The order of a song book: titles as a Vietnamese dictionary sorts them
// (a < ă < â, d < đ, e < ê, o < ô < ơ, u < ư, and among words that differ
// only in their tones: no mark, grave, hook above, tilde, acute, dot below;
// the platform's collation, songbook/vietnamese_collator.h); numbers inside a
// title by their value ("Bài 2" before "Bài 10"), alike on every platform;
// songs of one title by number.

#include <cstddef>
#include <span>
#include <vector>

#include "base/result.h"
#include "songbook/song_book.h"

namespace zmr {

// Positions into `songs`, in title order.
Result<std::vector<size_t>> orderByTitle(std::span<const SongBookEntry> songs);

}  // namespace zmr
