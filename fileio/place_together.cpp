#include "fileio/place_together.h"

#include <string>
#include <utility>

#include "fileio/disk_sync.h"
#include "fileio/file_bytes.h"
#include "fileio/native_path.h"

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

Status placeTogether(TemporaryFile& first, TemporaryFile& second, FileSteps& steps) {
    const FolderLock lock(first.watcher());
    TemporaryFile* early = &first;  // renamed first
    TemporaryFile* late = &second;
    fs::path kept;  // the old file of `early`, when it had one
    if (present(first.output())) {
        if (const std::error_code firstError = keep(first.output(), kept, steps)) {
            if (present(second.output()) && keep(second.output(), kept, steps))
                return Failure{"cannot replace " + pathText(first.output()) +
                               ": cannot keep the old files while the new ones are put in place: " + firstError.message()};
            std::swap(early, late);
        }
    }

    if (const std::error_code error = steps.rename(early->path(), early->output())) {
        if (!kept.empty()) steps.remove(kept);
        return Failure{cannotReplace(*early, error)};
    }
    early->markPlaced();
    if (const std::error_code error = steps.rename(late->path(), late->output())) {
        std::string message = cannotReplace(*late, error);
        // The old file back, or the new one away where there was none.
        const std::error_code undone = kept.empty() ? steps.remove(early->output()) : steps.rename(kept, early->output());
        if (!undone && !kept.empty()) setHidden(early->output(), false);
        if (undone) {
            message += "; the new " + pathText(early->output().filename()) + " stays, as it could not be taken back (" +
                       undone.message() + ")";
            if (!kept.empty()) message += "; the old one is " + pathText(kept);
        }
        return Failure{message};
    }
    late->markPlaced();
    if (!kept.empty()) steps.remove(kept);
    if (const std::error_code error = steps.syncFolder(first.output().parent_path()))
        return Failure{systemMessage("cannot write " + pathText(first.output()), error.value())};
    return success();
}

Status placeTogether(TemporaryFile& first, TemporaryFile& second) {
    FileSteps steps;
    return placeTogether(first, second, steps);
}

}  // namespace zmr
