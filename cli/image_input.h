#pragma once
// What the commands that read an image back share: reading the file, finding
// its songs, picking song N, and showing times.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "playback/preview_song.h"
#include "readback/image_scan.h"

namespace zmr::cli {

// The image cannot be read as far as the command needs, or (verify) is not sound.
inline constexpr int kExitBadImage = 1;

// The file's bytes; on failure prints "zmrimage: PATH: reason" and gives nothing.
std::optional<std::vector<uint8_t>> readImageFile(const std::string& path);

// The layout with every song located; otherwise prints the first problem that
// stops it and gives nothing. Other problems are left to verify.
std::optional<ImageScan> readImageLayout(std::span<const uint8_t> image, const std::string& path);

// Song `number` (from 1); prints what the image holds when there is no such song.
const SongLocation* findSong(const ImageScan& scan, int64_t number, const std::string& path);

// Song `number` of the image at `path`, read for play and render; otherwise
// prints why not and sets `status` to the exit status to give.
std::optional<PreviewSong> readPreviewSong(const std::string& path, int64_t number, int& status);


}  // namespace zmr::cli
