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

#include "base/result.h"
#include "fileio/temporary_file_watcher.h"
#include "image/iso_writer.h"

namespace zmr {


// Writes through a hidden temporary file beside `output`, renamed over it only
// when complete: on any failure the old file stays as it was. `watcher` hears
// of the temporary file, as with the image writer.
Result<IsoWritten> writeIsoImage(const IsoContents& contents, const std::filesystem::path& output,
                                 TemporaryFileWatcher* watcher = nullptr);

// The same, for a compilation that asks for its disc.
class LibisofsWriter : public IsoWriter {
public:
    Result<IsoWritten> write(const IsoContents& contents, const std::filesystem::path& output,
                             TemporaryFileWatcher* watcher) const override {
        return writeIsoImage(contents, output, watcher);
    }
};

}  // namespace zmr
