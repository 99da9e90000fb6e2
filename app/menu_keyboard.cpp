#include "app/menu_keyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace zmr::gui {

MenuKeyboard::MenuKeyboard(QWidget* window, QMenuBar* menuBar)
    : QObject(window), window_(window), menuBar_(menuBar) {
    // Key events go to the focused control, so the filter sits on the application
    // and keeps to this window's events.
    qApp->installEventFilter(this);
}

bool MenuKeyboard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_ || !menuBar_->isEnabled()) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (type == QEvent::KeyPress) return keyPressed(key);
    if (key.key() == Qt::Key_Alt && altDown_) altTapped_ = true;
    altDown_ = false;
    return false;
}

bool MenuKeyboard::keyPressed(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Alt) {
        altDown_ = !key.isAutoRepeat() || altDown_;
        return false;
    }
    const bool tapped = altTapped_;
    altDown_ = false;
    altTapped_ = false;
    if (key.key() == Qt::Key_F10 && key.modifiers() == Qt::NoModifier) {
        openMenuAt(0);
        return true;
    }
    const bool altHeld = key.modifiers() == Qt::AltModifier;
    if ((altHeld || (tapped && key.modifiers() == Qt::NoModifier)) && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return openMenuFor(QChar(u'A' + (key.key() - Qt::Key_A)));
    return false;
}

bool MenuKeyboard::openMenuFor(QChar letter) {
    const QList<QAction*> menus = menuBar_->actions();
    for (int i = 0; i < menus.size(); ++i) {
        const QString text = menus[i]->text();
        if (!text.isEmpty() && text.front().toUpper() == letter) {
            openMenuAt(i);
            return true;
        }
    }
    return false;
}

void MenuKeyboard::openMenuAt(int index) {
    const QList<QAction*> menus = menuBar_->actions();
    if (index >= menus.size() || !menus[index]->menu()) return;
    QMenu* menu = menus[index]->menu();
    menuBar_->setActiveAction(menus[index]);  // opens it below its title
    if (!menu->actions().isEmpty()) menu->setActiveAction(menu->actions().front());
}

}  // namespace zmr::gui
