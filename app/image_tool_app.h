#pragma once
// The application: shows the dialog and ends the process when it closes,
// whichever way it was closed.

#include <QApplication>
#include <QStringList>

#include "fileio/temporary_file_watcher.h"

namespace zmr::gui {

// Steps a script asks for on the command line, run once the dialog shows.
struct ScriptSteps {
    QStringList addFolders;    // as if "Add Files..." were confirmed in each
    bool createImage = false;  // then press "Create Image"
    int previewSong = 0;       // then open "Preview..." and play this song (from 1)
};

class CImageToolApp {
public:
    // `watcher` hears of the compilations' temporary files.
    CImageToolApp(int& argc, char** argv, TemporaryFileWatcher* watcher = nullptr);

    // Reads the command line (exiting on --help or a wrong option), shows the
    // dialog until it is closed, and gives the process's exit status: 0.
    int run();

private:
    ScriptSteps readCommandLine();

    QApplication application_;
    TemporaryFileWatcher* watcher_;
};

}  // namespace zmr::gui
