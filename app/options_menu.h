#pragma once
// The menu "Options": how songs are read, as the command line's
// --text-encoding, --kar-text and --lenient. Every item is off (the encoding
// "VIQR or VNI") until the user turns it on; the choice is remembered between
// runs.

#include <QObject>
#include <array>

#include "image/convert_options.h"

class QAction;
class QActionGroup;
class QMenuBar;

namespace zmr::gui {

class OptionsMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to `menuBar` with the choice saved last.
    explicit OptionsMenu(QMenuBar* menuBar);

    // What "Create Image" passes to the compilation.
    ConvertOptions options() const;

private:
    void load();
    void save() const;

    std::array<QAction*, 4> encodings_{};  // in the order of kEncodings
    QActionGroup* encodingGroup_ = nullptr;
    QAction* karText_ = nullptr;
    QAction* lenient_ = nullptr;
};

}  // namespace zmr::gui
