#include "image/temporary_file.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "image/file_bytes.h"
#include "image/native_path.h"

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

TemporaryFile::TemporaryFile(fs::path output, TemporaryFileWatcher* watcher)
    : output_(std::move(output)), watcher_(watcher) {}

TemporaryFile::~TemporaryFile() { drop(); }

Status TemporaryFile::open() {
    drop();
    const fs::path folder = output_.parent_path().empty() ? fs::path(".") : output_.parent_path();
    for (int attempt = 0; attempt < 16; ++attempt) {
        path_ = folder / nativePath("." + pathText(output_.filename()) + "." + randomSuffix() + ".tmp");
        errno = 0;
        file_ = createNewFile(path_);
        if (file_) {
            if (watcher_) watcher_->created(path_);
            return success();
        }
        if (errno != EEXIST) break;
    }
    const int error = errno;
    path_.clear();
    return Failure{systemMessage("cannot write " + pathText(output_), error)};
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
    bool ok = std::fflush(file_) == 0;
#ifndef _WIN32
    ok = ok && ::fsync(::fileno(file_)) == 0;
    ::fchmod(::fileno(file_), 0644);  // temporary files are created private
#endif
    const int error = errno;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok) return Failure{systemMessage("cannot write " + pathText(output_), error != 0 ? error : EIO)};
    if (watcher_) watcher_->placing();
    std::error_code renameError;
    fs::rename(path_, output_, renameError);
    if (!renameError) {
        if (watcher_) watcher_->gone(path_);
        path_.clear();
    }
    if (watcher_) watcher_->placed();
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
