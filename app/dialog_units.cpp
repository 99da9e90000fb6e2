#include "app/dialog_units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>

namespace zmr::gui {

DialogUnits DialogUnits::of(const QFont& font) {
    const QFontMetrics metrics(font);
    return DialogUnits(metrics.averageCharWidth(), metrics.height());
}

int DialogUnits::scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

QRect DialogUnits::toPixels(const QRect& units) const {
    return QRect(toPixelsX(units.x()), toPixelsY(units.y()), toPixelsX(units.width()), toPixelsY(units.height()));
}

QFont templateFont() {
    // Only a real family counts: font substitution would hand back some
    // other face under the old name, with other metrics.
    if (QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive))
        return QFont(QStringLiteral("MS Sans Serif"), 8);
    return QApplication::font("QDialog");
}

}  // namespace zmr::gui
