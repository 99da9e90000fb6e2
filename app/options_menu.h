#pragma once
// The menu "Options" of dialog/dialog_options.h, as Qt actions: the choice
// stored last is checked, and each click is stored again.

#include <QObject>
#include <vector>

#include "image/convert_options.h"

class QAction;
class QMenuBar;

namespace zmr::gui {

class OptionsMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to `menuBar` with the choice saved last.
    explicit OptionsMenu(QMenuBar* menuBar);

    // What "Create Image" passes to the compilation.
    const ConvertOptions& options() const { return options_; }

private:
    void command(int id);
    void show();

    std::vector<QAction*> actions_;
    ConvertOptions options_;
};

}  // namespace zmr::gui
