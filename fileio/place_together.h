#pragma once
// Two finished temporary files put in place of their outputs, in one folder,
// as one step: afterwards the folder holds both old files or both new ones.
//
// Renames go one file at a time, so the old file of the one renamed first is
// kept under a hidden third name (a hard link, or a copy where the file
// system has no hard links) until both new files are in place, and put back
// if the second rename fails. The first file's old one (the image) is kept
// when it can be; otherwise the second's (the song list, small enough to copy
// on a nearly full disk), which is then renamed first. When neither can be
// kept, nothing is replaced.
//
// A journal written and synced before the first rename, and removed last,
// names the kept file and the new ones (fileio/placing_journal.h): a process
// killed between the renames leaves what the next run in the folder needs to
// complete the replacement or put the old pair back.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "base/result.h"
#include "fileio/temporary_file.h"

namespace zmr {

// The file-system operations of the step, one call each, so that tests can
// make any of them fail.
class FileSteps {
public:
    virtual ~FileSteps() = default;
    virtual std::error_code link(const std::filesystem::path& existing, const std::filesystem::path& name);
    virtual std::error_code copy(const std::filesystem::path& from, const std::filesystem::path& to);
    virtual std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to);
    virtual std::error_code remove(const std::filesystem::path& file);
    virtual std::error_code syncFolder(const std::filesystem::path& folder);
    // Creates or empties `file`, writes `text` and gets it onto the disk.
    virtual std::error_code writeFile(const std::filesystem::path& file, std::string_view text);
};

// Placed; the warning says what was left behind (a kept old file or the
// journal that could not be removed), empty when nothing was.
struct PlacedTogether {
    std::string warning;
};

// Both files must be finished (TemporaryFile::finish), with outputs in one
// folder; the watcher of `first` keeps the clean-up away meanwhile. On
// failure the temporary files that were not placed are left to their owners,
// but for a new file that the journal needs to complete a replacement that
// could be neither finished nor undone. The caller holds the folder's
// OutputFolderLock.
Result<PlacedTogether> placeTogether(TemporaryFile& first, TemporaryFile& second, FileSteps& steps);
Result<PlacedTogether> placeTogether(TemporaryFile& first, TemporaryFile& second);

}  // namespace zmr
