#pragma once
// The disc to burn: an ISO 9660 image holding the image file as DADEDA00.DEZ
// and the song list as SongList.txt in its root folder, laid out by libisofs.
//
// The player reads the plain ISO 9660 tree, level 1: 8.3 names in capitals
// with the version ";1" that every mastering program writes after them, so the
// player finds the name DADEDA00.DEZ exactly as on any disc it was made for.
// The Joliet tree beside it gives computers the song list's own spelling,
// "SongList.txt", without a version.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "codec/result.h"
#include "image/file_image_writer.h"

namespace zmr {

struct IsoContents {
    std::filesystem::path image;     // goes in as DADEDA00.DEZ
    std::filesystem::path songList;  // goes in as SongList.txt
    std::string volumeId;            // already normalised (normaliseVolumeId)
    // Refuse to write an ISO image of more sectors than this.
    std::optional<uint64_t> maxSectors;
};

struct IsoWritten {
    uint64_t sectors = 0;  // of 2,048 bytes
};

// Writes through a hidden temporary file beside `output`, renamed over it only
// when complete: on any failure the old file stays as it was. `watcher` hears
// of the temporary file, as with the image writer.
Result<IsoWritten> writeIsoImage(const IsoContents& contents, const std::filesystem::path& output,
                                 TemporaryFileWatcher* watcher = nullptr);

}  // namespace zmr
