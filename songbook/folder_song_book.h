#pragma once
// The song book of the image a compilation wrote into a folder, as both
// dialogs make it: DADEDA00.DEZ and, when it is there, SongList.txt beside it,
// with the default volume name.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zmr {

struct FolderSongBook {
    std::optional<std::string> problem;  // why no book was written, or nothing
    std::vector<std::string> warnings;   // what the book could not take from the song list
};

// Writes the book to `book`, as .pdf or .html by its extension.
FolderSongBook writeFolderSongBook(const std::filesystem::path& folder, const std::filesystem::path& book);

}  // namespace zmr
