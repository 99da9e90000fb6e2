#pragma once
// Reading a whole song file: the one place where the core touches a file of
// the user's, so that a failure names the system's reason.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"

namespace zmr {

// The largest song file read: 64 MiB. The largest real songs are a few
// hundred kilobytes, and a song's records are bounded by what the player
// holds long before this; a file past it is not a song (a video renamed
// .mid, say), and reading it whole on each of --jobs workers would take that
// many times its size.
inline constexpr size_t kLargestSongFile = size_t{64} << 20;
// The largest file read at all (an image): 2 GB.
inline constexpr size_t kLargestReadFile = 0x7FFFFFFFu;

// The whole file in one buffer. Fails with "cannot open: <reason>" or
// "cannot read: <reason>" (a folder named like a song fails here).
Result<std::vector<uint8_t>> readFileBytes(const std::string& path);

// The same, read into `buffer`, which keeps its size and memory from file to
// file (it only grows): the result is the part of it that holds the file.
// A file larger than `largest` fails with "cannot read: the file is larger
// than 64 MiB, far more than a song holds" (or its size).
Result<std::span<const uint8_t>> readFileInto(const std::string& path, std::vector<uint8_t>& buffer,
                                              size_t largest = kLargestSongFile);

// Reads the file into `buffer` as readFileInto does, but only if nothing can
// block: the path is a regular file, both before it is opened and once it is
// open (opened without waiting, so a FIFO swapped in between cannot hold it).
// Nothing otherwise: a FIFO, a device, a path that fails to open or read are
// all left for readFileInto in their turn, which also gives their messages.
std::optional<std::span<const uint8_t>> readRegularFileAhead(const std::string& path, std::vector<uint8_t>& buffer,
                                                            size_t largest = kLargestSongFile);
// After a song: a buffer that an outlier grew past a few mebibytes goes, so
// that each worker keeps only what ordinary songs need.
void releaseOutlierBuffer(std::vector<uint8_t>& buffer);

// Why `path` cannot be read as a file, in words for its message: "no such
// file", "is a folder", "is a FIFO (named pipe), not a file", ..., or the
// system's reason when it cannot be looked at; nothing for a regular file
// (symbolic links followed). Waits on nothing, unlike opening a FIFO.
std::optional<std::string> regularFileProblem(const std::filesystem::path& path);

// "<what>: <the system's reason for errno>", with a plain word for a full disk.
std::string systemMessage(const std::string& what, int error);

}  // namespace zmr
