#include "app/button_labels.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>

namespace zmr::gui {
namespace {

constexpr qreal kSmallestPointSize = 6.0;

bool labelsFit(const QList<QPushButton*>& buttons, const QFont& font) {
    const QFontMetrics metrics(font);
    for (const QPushButton* button : buttons)
        if (metrics.horizontalAdvance(button->text()) > labelRoom(*button)) return false;
    return true;
}

}  // namespace

int labelRoom(const QPushButton& button) {
    const int frame = button.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
    return button.width() - 2 * frame - 4;
}

void fitButtonLabels(const QList<QPushButton*>& buttons) {
    if (buttons.isEmpty()) return;
    QFont font = buttons.first()->font();
    // A font sized in pixels has no point size to step down; it stays.
    while (font.pointSizeF() > kSmallestPointSize && !labelsFit(buttons, font))
        font.setPointSizeF(font.pointSizeF() - 0.5);
    for (QPushButton* button : buttons) button->setFont(font);
}

}  // namespace zmr::gui
