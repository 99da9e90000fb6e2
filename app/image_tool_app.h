#pragma once
// The application: shows the dialog and ends the process when it closes,
// whichever way it was closed.

#include <QApplication>

#include "dialog/script_steps.h"
#include "fileio/temporary_file_watcher.h"

namespace zmr::gui {

class CImageToolApp {
public:
    // `watcher` hears of the compilations' temporary files.
    CImageToolApp(int& argc, char** argv, TemporaryFileWatcher* watcher = nullptr);

    // Reads the command line (exiting on --help or a wrong option), shows the
    // dialog until it is closed, and gives the process's exit status: 0.
    int run();

private:
    dialog::ScriptSteps readCommandLine();

    QApplication application_;
    TemporaryFileWatcher* watcher_;
};

}  // namespace zmr::gui
