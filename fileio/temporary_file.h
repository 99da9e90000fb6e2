#pragma once
// One output file written whole or not at all: the bytes go to a hidden file
// beside it (".NAME.xxxxxx.tmp"), which is renamed over it once they are on
// the disk. Dropped unplaced, the temporary file is removed and the old file
// stays as it was.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string_view>

#include "codec/result.h"
#include "fileio/temporary_file_watcher.h"

namespace zmr {

// A hidden name beside `output` that no other writer picks:
// ".NAME.xxxxxx" followed by `ending`.
std::filesystem::path hiddenSibling(const std::filesystem::path& output, std::string_view ending);
// Creates a new file ".NAME.xxxxxx.tmp" beside `output`, for reading and
// writing, and names it in `created`; nullptr, with errno set, when it cannot.
std::FILE* createTemporaryBeside(const std::filesystem::path& output, std::filesystem::path& created);
// Flushes and gets the bytes onto the disk before a rename makes them the
// output, and lets all read it, as an ordinary file (temporary files are
// created private).
bool syncToDisk(std::FILE* file);

class TemporaryFile {
public:
    // `watcher` hears of the temporary file, as with the image writer.
    explicit TemporaryFile(std::filesystem::path output, TemporaryFileWatcher* watcher = nullptr);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    Status open();
    std::FILE* file() const { return file_; }
    Status write(std::span<const uint8_t> bytes);
    // Syncs, closes and renames over the output.
    Status place();
    void drop();

private:
    std::filesystem::path output_;
    TemporaryFileWatcher* watcher_;
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
};

}  // namespace zmr
