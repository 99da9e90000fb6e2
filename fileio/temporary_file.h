#pragma once
// One output file written whole or not at all: the bytes go to a hidden file
// beside it (".NAME.xxxxxx.tmp"), which is renamed over it once they are on
// the disk. Dropped unplaced, the temporary file is removed and the old file
// stays as it was.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

#include "base/result.h"
#include "fileio/temporary_file_watcher.h"

namespace zmr {

// A hidden name beside `output` that no other writer picks:
// ".NAME.xxxxxx" followed by `ending`.
std::filesystem::path hiddenSibling(const std::filesystem::path& output, std::string_view ending);

class TemporaryFile {
public:
    // `watcher` hears of the temporary file from before it exists until it is
    // gone or placed.
    explicit TemporaryFile(std::filesystem::path output, TemporaryFileWatcher* watcher = nullptr);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates the hidden file, for reading and writing, with the permissions
    // the user's umask gives. A `bufferSize` gathers writes into stdio writes
    // of that many bytes.
    Status open(size_t bufferSize = 0);
    std::FILE* file() const { return file_; }
    // Every few mebibytes the system is asked to start writing the file back,
    // so that finish() does not wait for all of it at once.
    Status write(std::span<const uint8_t> bytes);
    // Gets the bytes onto the disk and closes the file; it stays hidden.
    Status finish();
    // Finishes, renames the file over the output and syncs the folder.
    Status place();
    // Closes and removes the file, if there is one.
    void drop();

    const std::filesystem::path& output() const { return output_; }
    // The hidden file; empty when there is none.
    const std::filesystem::path& path() const { return path_; }
    TemporaryFileWatcher* watcher() const { return watcher_; }
    // The file was renamed away (by whoever places it): there is nothing left to remove.
    void markPlaced();
    // "cannot write OUTPUT: <the system's reason for `error`>".
    Failure writeFailure(int error) const;

private:
    std::filesystem::path output_;
    TemporaryFileWatcher* watcher_;
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;  // stdio's, when asked for
    size_t unsynced_ = 0;             // bytes written since write-back last started
};

}  // namespace zmr
