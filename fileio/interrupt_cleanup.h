#pragma once
// Ctrl+C, SIGTERM or SIGHUP during a build (on Windows: Ctrl+C, Ctrl+Break or
// the console window closing): the temporary files that the writer has made
// are removed before the process ends, and the old image and song list stay
// as they were. The process still ends as it would have, so the shell sees
// what stopped it. A signal that the process was started ignoring (nohup,
// a script's background job) stays ignored.

#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#ifndef _WIN32
#include <signal.h>
#endif

#include "fileio/temporary_file_watcher.h"

namespace zmr {

#ifdef _WIN32
// The console output code page that a Ctrl+C ending the process puts back
// first, as the program found it (the command line writes UTF-8 for its
// run); 0 for none. A Ctrl+C during a build ends the process at once, past
// the destructor that would put it back.
void restoreCodePageOnInterrupt(unsigned codePage);
#endif

class InterruptCleanup : public TemporaryFileWatcher {
public:
    // Construct before any other thread starts: the threads started later
    // inherit the blocked signals, and only this object's thread takes them.
    InterruptCleanup();
    ~InterruptCleanup() override;
    InterruptCleanup(const InterruptCleanup&) = delete;
    InterruptCleanup& operator=(const InterruptCleanup&) = delete;

    void created(const std::filesystem::path& file) override;
    void gone(const std::filesystem::path& file) override;
    void lockFolder() override;
    void unlockFolder() override;

private:
#ifndef _WIN32
    void waitForSignal();
#else
    friend struct ConsoleControl;  // the console's handler, on a thread of its own
#endif

    // Recursive: the writer reports files gone while it holds the lock for its renames.
    std::recursive_mutex mutex_;
    std::set<std::filesystem::path> files_;
#ifndef _WIN32
    sigset_t watched_;  // the stopping signals the process does not ignore
    bool active_ = false;
    std::thread thread_;
#endif
};

}  // namespace zmr
