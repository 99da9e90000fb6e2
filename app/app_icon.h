#pragma once
// The application's icon: a disc with a note, drawn at 32 x 32 and at 16 x 16
// pixels in 16 colours, for the window's big and small icon.

#include <QIcon>

namespace zmr::gui {

QIcon applicationIcon();

}  // namespace zmr::gui
