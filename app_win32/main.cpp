#include <windows.h>

#include "app_win32/image_tool_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    zmr::win32::CImageToolApp app(instance);
    return app.run();
}
