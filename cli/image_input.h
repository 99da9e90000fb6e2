#pragma once
// What the commands that read an image back share: reading the file, finding
// its songs, picking song N, and showing times.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "playback/preview_song.h"
#include "readback/image_index.h"

namespace zmr::cli {

// The image cannot be read as far as the command needs, or (verify) is not sound.
inline constexpr int kExitBadImage = 1;

// Before an image is read: a build stopped in `folder` while putting its
// files in place is completed or undone, and its hidden files removed, with a
// line on stderr saying so; nothing while another build works there.
void recoverImageFolder(const std::filesystem::path& folder);
// The same for the folder of the image at `imagePath`.
void recoverFolderOfImage(const std::string& imagePath);

// A file that a command reads or writes besides its output, in words: "the
// image the build writes".
struct NamedFile {
    std::filesystem::path path;
    const char* what;
};

// Whether `output` (given as `option`) names one of `files`; prints
// "zmrimage: OPTION OUTPUT is WHAT; ..." when it does. Checked before
// anything is written.
bool outputNamesAnother(const char* option, const std::string& output, std::initializer_list<NamedFile> files);

// The file's bytes; on failure prints "zmrimage: PATH: reason" and gives nothing.
std::optional<std::vector<uint8_t>> readImageFile(const std::string& path);

// The index with every song located; otherwise prints the first problem that
// stops it and gives nothing. Other problems are left to verify.
std::optional<ImageIndex> loadImageIndex(std::span<const uint8_t> image, const std::string& path);

// Song `number` (from 1); prints what the image holds when there is no such song.
const SongLocation* findSong(const ImageIndex& scan, int64_t number, const std::string& path);

// An image read whole with one of its songs located.
struct ImageSong {
    std::vector<uint8_t> image;
    SongLocation song;
};

// Song `number` (from 1) of the image at `path`: what lyrics, extract, play
// and render start from. Otherwise prints why not and sets `status` to the
// exit status to give.
std::optional<ImageSong> openImageSong(const std::string& path, int64_t number, int& status);

// Song `number` of the image at `path`, read for play and render; otherwise
// prints why not and sets `status` to the exit status to give.
std::optional<PreviewSong> readPreviewSong(const std::string& path, int64_t number, int& status);


}  // namespace zmr::cli
