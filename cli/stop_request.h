#pragma once
// Ctrl+C, SIGTERM, SIGHUP or SIGQUIT while a song plays (on Windows: Ctrl+C, Ctrl+Break
// or the console closing) asks the play to stop instead of ending the process
// at once, so that the sound stops and the terminal is restored first. Then
// the process ends by that signal, as it would have, so the shell sees what
// stopped it.

#include <atomic>

namespace zmr::cli {

class StopRequest {
public:
    StopRequest();
    ~StopRequest();
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    bool requested() const;
    // The play screen reads Ctrl+C and Ctrl+\ as keys: it asks to stop by
    // the signal they stand for, so the process ends as it would printing.
    void request(int signal);
    // Ends the process by the signal that asked to stop, if one did; returns
    // otherwise (and where a signal cannot be raised again, with its status).
    int endBySignal();
};

}  // namespace zmr::cli
