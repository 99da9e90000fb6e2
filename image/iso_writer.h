#pragma once
// The disc to burn, as a compilation asks for it once its files are in place:
// an ISO 9660 image holding the image file and the song list. disc/ writes it
// with libisofs where the build has that library; the core only knows this
// interface, so it stays free of libisofs and of the builds that lack it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/result.h"
#include "fileio/temporary_file_watcher.h"

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

class IsoWriter {
public:
    virtual ~IsoWriter() = default;
    // Writes through a hidden temporary file beside `output`, renamed over it
    // only when complete: on any failure the old file stays as it was.
    // `watcher` hears of the temporary file.
    virtual Result<IsoWritten> write(const IsoContents& contents, const std::filesystem::path& output,
                                     TemporaryFileWatcher* watcher) const = 0;
};

}  // namespace zmr
