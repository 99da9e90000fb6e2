#pragma once
// Runs one compilation on a thread of its own, so the dialog keeps painting
// and its progress bar moves while songs are converted. Every report reaches
// the dialog's window as one of its private messages (window_messages.h).

#include <windows.h>

#include <string>
#include <thread>

#include "image/compile_session.h"

namespace zmr::win32 {

// What kSongFailedMessage points to, valid while the message is handled.
struct SongFailure {
    std::string path;     // UTF-8, as the list holds it
    std::string message;  // the core's message
};

class CompileWorker {
public:
    explicit CompileWorker(HWND window) : window_(window) {}
    // Waits for a thread still running; only a dialog that is torn down
    // without having been closed leaves one.
    ~CompileWorker();
    CompileWorker(const CompileWorker&) = delete;
    CompileWorker& operator=(const CompileWorker&) = delete;

    // Runs the compilation session on `request`, exactly as the command line
    // does; the dialog's requests stop at the first song that fails.
    void start(CompileRequest request);
    // After kFinishedMessage: waits the moment the thread needs to end.
    void join();

private:
    HWND window_;
    std::thread thread_;
};

}  // namespace zmr::win32
