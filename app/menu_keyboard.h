#pragma once
// Keyboard access to the menu bar as on Windows, where the dialog comes from:
// F10 opens the first menu, and so does Alt followed by a menu's first letter
// (held together or one after the other). The menu texts stay as they are, so
// Qt's own mnemonics ('&') do not apply.

#include <QObject>

class QKeyEvent;
class QMenuBar;
class QWidget;

namespace zmr::gui {

class MenuKeyboard : public QObject {
    Q_OBJECT
public:
    // Watches the key events of `window` and its children.
    MenuKeyboard(QWidget* window, QMenuBar* menuBar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(const QKeyEvent& key);
    bool openMenuFor(QChar letter);
    void openMenuAt(int index);

    QWidget* window_;
    QMenuBar* menuBar_;
    bool altDown_ = false;  // Alt pressed with no other key since
    bool altTapped_ = false;  // Alt pressed and released alone: the next letter picks a menu
};

}  // namespace zmr::gui
