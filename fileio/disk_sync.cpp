#include "fileio/disk_sync.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zmr {

bool syncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) {
        errno = GetLastError() == ERROR_DISK_FULL ? ENOSPC : EIO;
        return false;
    }
#else
    if (::fsync(::fileno(file)) != 0) return false;
#endif
    return true;
}

bool startWriteBack(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef __linux__
    // The whole file (a length of 0 reaches its end): pages already under
    // write-back or clean are passed over.
    (void)::sync_file_range(::fileno(file), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
    return true;
}

std::error_code syncFolder([[maybe_unused]] const std::filesystem::path& folder) {
#ifndef _WIN32
    const std::filesystem::path name = folder.empty() ? std::filesystem::path(".") : folder;
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return {};
    int error = 0;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EROFS) error = errno;
    ::close(fd);
    if (error != 0) return std::error_code(error, std::generic_category());
#endif
    return {};
}

}  // namespace zmr
