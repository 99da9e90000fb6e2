#include "app/options_menu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "app/control_ids.h"
#include "app/guarded_slot.h"
#include "app/qt_settings_store.h"
#include "dialog/dialog_options.h"

namespace zmr::gui {
namespace {

QAction* checkable(QMenu* menu, const char* text, int id, const QString& tip) {
    QAction* action = withId(menu->addAction(QObject::tr(text)), id);
    action->setCheckable(true);
    action->setToolTip(tip);
    return action;
}

}  // namespace

OptionsMenu::OptionsMenu(QMenuBar* menuBar) : QObject(menuBar), options_(dialog::loadOptions(QtSettingsStore())) {
    QMenu* menu = menuBar->addMenu(tr("Options"));
    menu->setToolTipsVisible(true);
    QMenu* encodingMenu = menu->addMenu(tr(dialog::kTextEncodingMenu));
    encodingMenu->setToolTipsVisible(true);
    auto* encodingGroup = new QActionGroup(this);
    for (const dialog::EncodingItem& item : dialog::kEncodingItems) {
        const std::string tip = dialog::encodingTip(item.encoding);
        actions_.push_back(checkable(encodingMenu, item.text, item.id, QString::fromStdString(tip)));
        encodingGroup->addAction(actions_.back());
    }
    for (const dialog::OptionItem& item : {dialog::kKarTextItem, dialog::kLenientItem})
        actions_.push_back(checkable(menu, item.text, item.id, tr(item.tip)));
    show();
    for (QAction* action : actions_) {
        const int id = action->property(kControlIdProperty).toInt();
        connect(action, &QAction::triggered, this, [this, id] { runGuarded([this, id] { command(id); }); });
    }
}

void OptionsMenu::command(int id) {
    const std::optional<ConvertOptions> changed = dialog::afterOptionCommand(options_, id);
    if (!changed) return;
    options_ = *changed;
    show();
    QtSettingsStore store;
    dialog::saveOptions(store, options_);
}

void OptionsMenu::show() {
    for (QAction* action : actions_)
        action->setChecked(dialog::optionChecked(options_, action->property(kControlIdProperty).toInt()));
}

}  // namespace zmr::gui
