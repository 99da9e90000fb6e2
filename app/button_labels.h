#pragma once
// The dialog template was drawn for a narrow 8-point font; in a wider
// platform font a label such as "Create Image" no longer fits its button and
// would be cut at both ends. The buttons keep their places and sizes, and
// their labels take a smaller size of the same font instead.

#include <QList>

class QPushButton;

namespace zmr::gui {

// Gives every button one font, the dialog's own or the largest smaller size
// (in half points, down to 6) in which each label fits inside its button.
void fitButtonLabels(const QList<QPushButton*>& buttons);

// The room a label has inside its button, frame and a little air taken off.
int labelRoom(const QPushButton& button);

}  // namespace zmr::gui
