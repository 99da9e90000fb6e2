#pragma once
// Dialog templates place controls in dialog units, which follow the dialog's
// font: across, a quarter of its average character width; down, an eighth of
// its height. The same template thus grows with a larger font.

#include <QFont>
#include <QRect>

namespace zmr::gui {

class DialogUnits {
public:
    DialogUnits(int averageCharWidth, int fontHeight) : baseX_(averageCharWidth), baseY_(fontHeight) {}
    static DialogUnits of(const QFont& font);

    int toPixelsX(int units) const { return scale(units, baseX_, 4); }
    int toPixelsY(int units) const { return scale(units, baseY_, 8); }
    QRect toPixels(const QRect& units) const;

private:
    // Rounded to the nearest pixel, halves away from zero, as the platform's
    // dialog manager does.
    static int scale(int units, int base, int divisor);

    int baseX_;
    int baseY_;
};

// The template's font, 8-point "MS Sans Serif", where it exists; elsewhere the
// platform's own dialog font.
QFont templateFont();

}  // namespace zmr::gui
