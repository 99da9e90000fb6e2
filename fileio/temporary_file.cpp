#include "fileio/temporary_file.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "fileio/disk_sync.h"
#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
#include "fileio/write_failure.h"

namespace zmr {
namespace fs = std::filesystem;

namespace {

std::string randomSuffix() {
    std::random_device device;
    char text[16];
    std::snprintf(text, sizeof text, "%06x", std::uniform_int_distribution<uint32_t>(0, 0xFFFFFF)(device));
    return text;
}

// Large enough that the system writes whole runs of sectors, small enough
// that little is left for the final sync of a disc image.
constexpr size_t kWriteBackStep = size_t{4} << 20;

}  // namespace

fs::path hiddenSibling(const fs::path& output, std::string_view ending) {
    const fs::path folder = output.parent_path().empty() ? fs::path(".") : output.parent_path();
    return folder / nativePath("." + pathText(output.filename()) + "." + randomSuffix() + std::string(ending));
}

TemporaryFile::TemporaryFile(fs::path output, TemporaryFileWatcher* watcher)
    : output_(std::move(output)), watcher_(watcher) {}

TemporaryFile::~TemporaryFile() { drop(); }

Failure TemporaryFile::writeFailure(int error) const {
    return zmr::writeFailure("cannot write " + pathText(output_), error != 0 ? error : EIO);
}

Status TemporaryFile::open(size_t bufferSize) {
    drop();
    // The name is registered before the file can exist, and a signal's
    // clean-up waits until both are done: whatever stops the process, the
    // file it leaves is known and removed.
    const FolderLock lock(watcher_);
    for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
        path_ = hiddenSibling(output_, ".tmp");
        if (watcher_) watcher_->created(path_);
        errno = 0;
        file_ = createNewFile(path_);
        if (file_) break;
        const int error = errno;
        if (watcher_) watcher_->gone(path_);
        path_.clear();
        if (error != EEXIST) return writeFailure(error);
    }
    if (!file_) return writeFailure(EEXIST);
    if (bufferSize > 0) {
        if (!buffer_) buffer_.reset(new char[bufferSize]);  // left unfilled: pages are touched as used
        std::setvbuf(file_, buffer_.get(), _IOFBF, bufferSize);
    }
    return success();
}

Status TemporaryFile::write(std::span<const uint8_t> bytes) {
    if (!file_) return Failure{"cannot write " + pathText(output_) + ": not open", FailureKind::WriteFailed};
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) return writeFailure(errno);
    unsynced_ += bytes.size();
    if (unsynced_ >= kWriteBackStep) {
        unsynced_ = 0;
        if (!startWriteBack(file_)) return writeFailure(errno);
    }
    return success();
}

Status TemporaryFile::finish() {
    if (!file_) return Failure{"cannot write " + pathText(output_) + ": not open", FailureKind::WriteFailed};
    // Hidden while it is written (on Windows); the output it becomes is not.
    if (!setHidden(path_, false))
        return Failure{"cannot write " + pathText(output_) + ": cannot make " + pathText(path_) + " visible",
                       FailureKind::WriteFailed};
    errno = 0;
    const bool synced = syncToDisk(file_);
    const int syncError = errno;
    errno = 0;
    const bool closed = std::fclose(file_) == 0;
    const int closeError = errno;
    file_ = nullptr;
    if (!synced) return writeFailure(syncError);
    if (!closed) return writeFailure(closeError);
    return success();
}

Status TemporaryFile::place() {
    if (Status s = finish(); !s) return s;
    std::error_code renameError;
    {
        const FolderLock lock(watcher_);
        fs::rename(path_, output_, renameError);
        if (!renameError) markPlaced();
    }
    if (renameError)
        return Failure{"cannot replace " + pathText(output_) + ": " + renameError.message(), writeFailureKind(renameError)};
    if (const std::error_code error = syncFolder(output_.parent_path()))
        return Failure{systemMessage("cannot write " + pathText(output_), error.value()), writeFailureKind(error)};
    return success();
}

void TemporaryFile::markPlaced() {
    if (watcher_) watcher_->gone(path_);
    path_.clear();
}

void TemporaryFile::drop() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove(path_, ignored);
    if (watcher_) watcher_->gone(path_);
    path_.clear();
}

}  // namespace zmr
