#include "fileio/output_folder_lock.h"

#include "fileio/native_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace zmr {

#ifndef _WIN32
OutputFolderLock::OutputFolderLock(const std::filesystem::path& folder) {
    const std::filesystem::path name = folder.empty() ? std::filesystem::path(".") : folder;
    descriptor_ = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor_ < 0) return;  // nothing to lock: whatever comes next names the reason
    int result;
    do {
        result = ::flock(descriptor_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        state_ = State::Held;
        return;
    }
    state_ = errno == EWOULDBLOCK ? State::Busy : State::Unsupported;
    ::close(descriptor_);
    descriptor_ = -1;
}

OutputFolderLock::~OutputFolderLock() {
    if (descriptor_ >= 0) ::close(descriptor_);  // the lock goes with the descriptor
}
#else
OutputFolderLock::OutputFolderLock(const std::filesystem::path& folder) {
    const std::filesystem::path name = (folder.empty() ? std::filesystem::path(".") : folder) / L".zmrimage.lock";
    // Shared opening, so that a second build gets as far as the lock and is
    // told it is busy; deleted when the last handle closes, even on a crash.
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // A lock file that another build is deleting as it ends refuses new handles for that moment.
        state_ = GetLastError() == ERROR_ACCESS_DENIED && GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES
                     ? State::Busy
                     : State::Unsupported;
        return;
    }
    OVERLAPPED whole{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        handle_ = file;
        state_ = State::Held;
        return;
    }
    state_ = GetLastError() == ERROR_LOCK_VIOLATION ? State::Busy : State::Unsupported;
    CloseHandle(file);
}

OutputFolderLock::~OutputFolderLock() {
    if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}
#endif

std::string OutputFolderLock::busyMessage(const std::filesystem::path& folder) {
    return "another zmrimage is writing into " + pathText(folder.empty() ? std::filesystem::path(".") : folder) +
           "; try again when it has ended";
}

}  // namespace zmr
