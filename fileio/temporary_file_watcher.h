#pragma once
// Told of each temporary file as it appears and goes, so that a process
// stopped by a signal can remove what it would leave behind.

#include <filesystem>

namespace zmr {

class TemporaryFileWatcher {
public:
    virtual ~TemporaryFileWatcher() = default;
    virtual void created(const std::filesystem::path& file) = 0;
    virtual void gone(const std::filesystem::path& file) = 0;
    // While the folder is locked, nothing is removed: a temporary file is
    // created and registered, or renamed over the output and forgotten,
    // without a signal cutting in between, so that no file is left behind
    // and the old files never end up half replaced.
    virtual void lockFolder() = 0;
    virtual void unlockFolder() = 0;
};

// Locks the watcher's folder for as long as it lives; no watcher, no lock.
class FolderLock {
public:
    explicit FolderLock(TemporaryFileWatcher* watcher) : watcher_(watcher) {
        if (watcher_) watcher_->lockFolder();
    }
    ~FolderLock() {
        if (watcher_) watcher_->unlockFolder();
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    TemporaryFileWatcher* watcher_;
};

}  // namespace zmr
