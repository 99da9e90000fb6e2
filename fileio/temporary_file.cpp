#include "fileio/temporary_file.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "fileio/file_bytes.h"
#include "fileio/native_path.h"

namespace zmr {
namespace fs = std::filesystem;

namespace {

std::string randomSuffix() {
    std::random_device device;
    char text[16];
    std::snprintf(text, sizeof text, "%06x", std::uniform_int_distribution<uint32_t>(0, 0xFFFFFF)(device));
    return text;
}

}  // namespace

fs::path hiddenSibling(const fs::path& output, std::string_view ending) {
    const fs::path folder = output.parent_path().empty() ? fs::path(".") : output.parent_path();
    return folder / nativePath("." + pathText(output.filename()) + "." + randomSuffix() + std::string(ending));
}

std::FILE* createTemporaryBeside(const fs::path& output, fs::path& created) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        created = hiddenSibling(output, ".tmp");
        errno = 0;
        if (std::FILE* file = createNewFile(created)) return file;
        if (errno != EEXIST) break;
    }
    const int error = errno;
    created.clear();
    errno = error;
    return nullptr;
}

bool syncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifndef _WIN32
    if (::fsync(::fileno(file)) != 0) return false;
    ::fchmod(::fileno(file), 0644);
#endif
    return true;
}

TemporaryFile::TemporaryFile(fs::path output, TemporaryFileWatcher* watcher)
    : output_(std::move(output)), watcher_(watcher) {}

TemporaryFile::~TemporaryFile() { drop(); }

Status TemporaryFile::open() {
    drop();
    file_ = createTemporaryBeside(output_, path_);
    if (!file_) {
        const int error = errno;
        return Failure{systemMessage("cannot write " + pathText(output_), error)};
    }
    if (watcher_) watcher_->created(path_);
    return success();
}

Status TemporaryFile::write(std::span<const uint8_t> bytes) {
    errno = 0;
    if (!file_) return Failure{"cannot write " + pathText(output_) + ": not open"};
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        return Failure{systemMessage("cannot write " + pathText(output_), errno != 0 ? errno : EIO)};
    return success();
}

Status TemporaryFile::place() {
    if (!file_) return Failure{"cannot write " + pathText(output_) + ": not open"};
    errno = 0;
    bool ok = syncToDisk(file_);
    const int error = errno;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok) return Failure{systemMessage("cannot write " + pathText(output_), error != 0 ? error : EIO)};
    if (watcher_) watcher_->lockFolder();
    std::error_code renameError;
    fs::rename(path_, output_, renameError);
    if (!renameError) {
        if (watcher_) watcher_->gone(path_);
        path_.clear();
    }
    if (watcher_) watcher_->unlockFolder();
    if (renameError) return Failure{"cannot replace " + pathText(output_) + ": " + renameError.message()};
    return success();
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
