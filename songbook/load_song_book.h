#pragma once
// Gathers a song book from the files on disk: the image, and the song list
// when there is one. The date is the image's: the day its file was written.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "songbook/song_book.h"

namespace zmr {

struct SongBookSource {
    std::filesystem::path image;
    std::optional<std::filesystem::path> songList;
    std::string volumeId;
};

// A song list that cannot be read adds a warning and the titles come from
// the image; an image that cannot be read fails.
Result<SongBook> loadSongBook(const SongBookSource& source, std::vector<std::string>& warnings);

}  // namespace zmr
