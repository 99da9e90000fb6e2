#include "app/image_tool_app.h"
#include "fileio/interrupt_cleanup.h"

int main(int argc, char** argv) {
    // Before Qt starts its threads, which inherit the signals it blocks:
    // Ctrl+C in the terminal removes a compilation's temporary files.
    zmr::InterruptCleanup cleanup;
    zmr::gui::CImageToolApp app(argc, argv, &cleanup);
    return app.run();
}
