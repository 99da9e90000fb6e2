#include "app/guarded_slot.h"

#include <cstdio>

#include "app/image_tool_dlg.h"

namespace zmr::gui {

void reportSlotFailure(const char* what) noexcept {
    try {
        showErrorBox(QString::fromLocal8Bit(what), QString());
    } catch (...) {
        std::fprintf(stderr, "zmrimage-gui: %s\n", what);
    }
}

}  // namespace zmr::gui
