#include "app/app_icon.h"

#include <QPixmap>

namespace zmr::gui {
namespace {

// The images are XPM text, which is also C: compiled in, they need no
// resource file and no start-up registration in a static library.
#include "app/icons/app_icon_16.xpm"
#include "app/icons/app_icon_32.xpm"

}  // namespace

QIcon applicationIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(app_icon_32_xpm));
    icon.addPixmap(QPixmap(app_icon_16_xpm));
    return icon;
}

}  // namespace zmr::gui
