#pragma once
// What a song book says of each song, read back from the image: the title
// from the song's text header through the inverse code page (or from the song
// list when one is given, its line is readable and it respells the title: a
// line that reads as the image's title, or begins it as the list cuts long
// names, gives the image's whole title), the first lyric line, and the length
// from the last event record.

#include <optional>
#include <span>
#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"
#include "songbook/song_book.h"

namespace zmr {

// Fails naming the first song whose record cannot be read; `listTitles` as
// songListTitles gives them, empty when there is no song list.
Result<std::vector<SongBookEntry>> readSongBookEntries(std::span<const uint8_t> image,
                                                       std::span<const std::optional<std::string>> listTitles = {});

}  // namespace zmr
