#include "fileio/place_together.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>

#include "fileio/disk_sync.h"
#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
#include "fileio/placing_journal.h"
#include "fileio/write_failure.h"

namespace zmr {
namespace fs = std::filesystem;

namespace {

bool present(const fs::path& file) {
    std::error_code ignored;
    return fs::symlink_status(file, ignored).type() != fs::file_type::not_found;
}

// Keeps `output` under a hidden name beside it, given in `kept`.
std::error_code keep(const fs::path& output, fs::path& kept, FileSteps& steps) {
    kept = hiddenSibling(output, ".old");
    if (!steps.link(output, kept)) return {};
    const std::error_code error = steps.copy(output, kept);
    if (!error) {
        setHidden(kept, true);  // a copy is a file of its own: hidden as its name says (a link shares the output's)
        return {};
    }
    steps.remove(kept);  // a copy cut short
    kept.clear();
    return error;
}

std::string cannotReplace(const TemporaryFile& file, const std::error_code& error) {
    return "cannot replace " + pathText(file.output()) + ": " + error.message();
}

}  // namespace

std::error_code FileSteps::link(const fs::path& existing, const fs::path& name) {
    std::error_code error;
    fs::create_hard_link(existing, name, error);
    return error;
}

std::error_code FileSteps::copy(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::copy_file(from, to, error);
    return error;
}

std::error_code FileSteps::rename(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    return error;
}

std::error_code FileSteps::remove(const fs::path& file) {
    std::error_code error;
    fs::remove(file, error);
    return error;
}

std::error_code FileSteps::syncFolder(const fs::path& folder) { return zmr::syncFolder(folder); }

std::error_code FileSteps::writeFile(const fs::path& file, std::string_view text) {
    errno = 0;
    std::FILE* out = openFile(file, "wb");
    if (!out) return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    errno = 0;
    bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size() && syncToDisk(out);
    int error = errno;
    if (std::fclose(out) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written) return {};
    return std::error_code(error != 0 ? error : EIO, std::generic_category());
}

Result<PlacedTogether> placeTogether(TemporaryFile& first, TemporaryFile& second, FileSteps& steps) {
    const FolderLock lock(first.watcher());
    TemporaryFile* early = &first;  // renamed first
    TemporaryFile* late = &second;
    fs::path kept;  // the old file of `early`, when it had one
    if (present(first.output())) {
        if (const std::error_code firstError = keep(first.output(), kept, steps)) {
            if (present(second.output()) && keep(second.output(), kept, steps))
                return Failure{"cannot replace " + pathText(first.output()) +
                               ": cannot keep the old files while the new ones are put in place: " + firstError.message(),
                               writeFailureKind(firstError)};
            std::swap(early, late);
        }
    }

    // The journal is on the disk, its name in the folder, before anything is renamed.
    const fs::path folder = first.output().parent_path().empty() ? fs::path(".") : first.output().parent_path();
    const fs::path journal = journalPath(first.output());
    const PlacingRecord record{kept.filename(), early->path().filename(), early->output().filename(), late->path().filename(),
                               late->output().filename()};
    std::error_code journalError = steps.writeFile(journal, journalText(record));
    if (!journalError) journalError = steps.syncFolder(folder);
    if (journalError) {
        steps.remove(journal);
        if (!kept.empty()) steps.remove(kept);
        return Failure{"cannot replace " + pathText(first.output()) + ": cannot write " + pathText(journal) + ": " +
                       journalError.message(), writeFailureKind(journalError)};
    }

    if (const std::error_code error = steps.rename(early->path(), early->output())) {
        if (!kept.empty()) steps.remove(kept);
        steps.remove(journal);
        return Failure{cannotReplace(*early, error), writeFailureKind(error)};
    }
    early->markPlaced();
    if (const std::error_code error = steps.rename(late->path(), late->output())) {
        std::string message = cannotReplace(*late, error);
        // The old file back, or the new one away where there was none.
        const std::error_code undone = kept.empty() ? steps.remove(early->output()) : steps.rename(kept, early->output());
        if (!undone && !kept.empty()) setHidden(early->output(), false);
        if (undone) {
            // The journal and the new file stay: the next run in the folder finishes the replacement.
            late->markPlaced();
            message += "; the new " + pathText(early->output().filename()) + " stays, as it could not be taken back (" +
                       undone.message() + "); the next zmrimage run in " + pathText(folder) + " puts the new " +
                       pathText(late->output().filename()) + " beside it";
        } else {
            steps.remove(journal);
        }
        return Failure{message, writeFailureKind(error)};
    }
    late->markPlaced();
    PlacedTogether placed;
    if (!kept.empty()) {
        if (const std::error_code error = steps.remove(kept))
            placed.warning = "cannot remove the old " + pathText(early->output().filename()) + " kept as " + pathText(kept) +
                             ": " + error.message();
    }
    if (const std::error_code error = steps.syncFolder(folder))
        return Failure{systemMessage("cannot write " + pathText(first.output()), error.value()), writeFailureKind(error)};
    if (const std::error_code error = steps.remove(journal)) {
        if (!placed.warning.empty()) placed.warning += "; ";
        placed.warning += "cannot remove " + pathText(journal) + ": " + error.message();
    }
    return placed;
}

Result<PlacedTogether> placeTogether(TemporaryFile& first, TemporaryFile& second) {
    FileSteps steps;
    return placeTogether(first, second, steps);
}

}  // namespace zmr
