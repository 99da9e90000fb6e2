#pragma once
// The compilation's reports carried to the dialog's thread: each becomes one
// of the window's private messages (window_messages.h), in the order the
// compilation made them.

#include <windows.h>

#include <string>

#include "dialog/compile_worker.h"

namespace zmr::win32 {

// What kSongFailedMessage points to, valid while the message is handled.
struct SongFailure {
    std::string path;     // UTF-8, as the list holds it
    std::string message;  // the core's message
};

class QueuedSinks : public dialog::CompileReports {
public:
    explicit QueuedSinks(HWND window) : window_(window) {}

    void setRange(int32_t low, int32_t high) override;
    void setPosition(int32_t position) override;
    void stateChanged(CompileState state) override;
    // Sent: the worker waits until the window has shown it.
    void songFailed(std::string_view path, std::string_view message) override;
    // Without a result (lParam 0) when not even that could be made.
    void finished(Result<CompileOutcome> result) noexcept override;

private:
    HWND window_;
};

}  // namespace zmr::win32
