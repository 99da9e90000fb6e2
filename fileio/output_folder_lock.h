#pragma once
// One build at a time in an output folder: a second build into the same
// folder would otherwise put one build's image beside the other's song list,
// and its start-up recovery could take the first one's hidden files for
// leftovers. The lock is advisory and ends with the process, however it ends:
// flock on the folder itself on POSIX, so that it leaves no file behind;
// LockFileEx on Windows, on a hidden lock file that is deleted when the last
// handle to it closes.

#include <filesystem>
#include <string>

namespace zmr {

class OutputFolderLock {
public:
    enum class State {
        Held,         // this object holds the lock
        Busy,         // another build holds it
        Unsupported,  // the folder cannot be locked here (no lock on this file system): go on without
    };

    // Tries once, without waiting.
    explicit OutputFolderLock(const std::filesystem::path& folder);
    ~OutputFolderLock();
    OutputFolderLock(const OutputFolderLock&) = delete;
    OutputFolderLock& operator=(const OutputFolderLock&) = delete;

    State state() const { return state_; }
    // Nobody else is working in the folder: held, or nothing to hold.
    bool mayWork() const { return state_ != State::Busy; }
    // "another zmrimage is writing into FOLDER; ..." for a build refused.
    static std::string busyMessage(const std::filesystem::path& folder);

private:
    State state_ = State::Unsupported;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int descriptor_ = -1;
#endif
};

}  // namespace zmr
