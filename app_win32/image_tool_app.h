#pragma once
// The application: reads the command line, shows the dialog, and ends the
// process when the dialog closes, whichever way it was closed.

#include <windows.h>

namespace zmr::win32 {

class CImageToolApp {
public:
    explicit CImageToolApp(HINSTANCE instance) : instance_(instance) {}

    // Reads the command line (ending at --help, --version or a wrong option),
    // shows the dialog until it is closed, and gives the process's exit
    // status: 0, or 2 for a wrong option.
    int run();

private:
    HINSTANCE instance_;
};

}  // namespace zmr::win32
