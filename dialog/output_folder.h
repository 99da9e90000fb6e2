#pragma once
// The output folder: where "Create Image" writes and where "Song Book..."
// and "Preview..." find the image. It is the process's current directory,
// which adding a folder of songs sets, so the files land beside the songs
// last added (or where the program was started).

#include <filesystem>
#include <string>
#include <vector>

#include "base/result.h"

namespace zmr::dialog {

std::filesystem::path outputFolder();
// The image a compilation wrote into the output folder.
std::filesystem::path imageInOutputFolder();
// Whether there is one: "Song Book..." and "Preview..." need it.
bool outputFolderHasImage();

struct SongFolder {
    std::filesystem::path folder;    // absolute, ending in its separator
    std::vector<std::string> songs;  // its .mid and .kar files, as the song list takes them
};

// What a confirmed "Add Files..." does with its folder: made absolute before
// it becomes the current directory (which would change what a relative name
// points to), then its songs listed. Fails, naming the folder, when it cannot
// be listed.
Result<SongFolder> enterSongFolder(const std::filesystem::path& folder);

// The list widget had no room for `refused` of the songs of `folder`.
std::string refusedSongsMessage(size_t refused, const std::filesystem::path& folder);

}  // namespace zmr::dialog
