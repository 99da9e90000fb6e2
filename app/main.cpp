#include "app/image_tool_app.h"

int main(int argc, char** argv) {
    zmr::gui::CImageToolApp app(argc, argv);
    return app.run();
}
