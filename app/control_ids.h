#pragma once
// Each widget and menu action carries its id (dialog/dialog_ids.h, the ids
// the Win32 dialog has too) as the property kControlIdProperty, so tests and
// users' scripts find a control by its id whatever its text.

#include <QObject>

#include "dialog/dialog_ids.h"

namespace zmr::gui {

inline constexpr char kControlIdProperty[] = "controlId";

template <class Control>
Control* withId(Control* control, int id) {
    control->setProperty(kControlIdProperty, id);
    return control;
}

}  // namespace zmr::gui
