#pragma once
// Getting written files onto the disk, so that a power cut after "written"
// cannot lose them: a file's bytes before a rename makes it the output, and
// the folder's new names after the rename.

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace zmr {

// Writes back what stdio holds and has the system write the file through
// (fsync; FlushFileBuffers on Windows). False, with errno set, when it cannot.
bool syncToDisk(std::FILE* file);

// Has the system start writing back what `file` holds so far, without
// waiting for it: a large file then reaches the disk while it is still being
// written, and syncToDisk at its end waits only for the last of it. Only a
// hint (Linux); a failure shows in syncToDisk. False when stdio's own buffer
// could not be written out.
bool startWriteBack(std::FILE* file);

// After renames in `folder`: the folder itself, so that the names survive.
// A folder that cannot be opened, or a file system that does not sync
// folders, gives no error: only a failed write-back does. Nothing to do on
// Windows, where the file system journals the renames itself.
std::error_code syncFolder(const std::filesystem::path& folder);

}  // namespace zmr
