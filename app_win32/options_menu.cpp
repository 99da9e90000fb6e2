#include "app_win32/options_menu.h"

#include "dialog/dialog_options.h"

namespace zmr::win32 {

OptionsMenu::OptionsMenu(HMENU menu, std::wstring key)
    : menu_(menu), store_(std::move(key)), options_(dialog::loadOptions(store_)) {
    show();
}

bool OptionsMenu::command(int id) {
    const std::optional<ConvertOptions> changed = dialog::afterOptionCommand(options_, id);
    if (!changed) return false;
    options_ = *changed;
    show();
    dialog::saveOptions(store_, options_);
    return true;
}

void OptionsMenu::show() const {
    for (const dialog::EncodingItem& item : dialog::kEncodingItems) {
        if (dialog::optionChecked(options_, item.id))
            CheckMenuRadioItem(menu_, ID_TEXT_VIQR_VNI, ID_TEXT_AUTO, static_cast<UINT>(item.id), MF_BYCOMMAND);
    }
    for (const int id : {ID_KAR_TEXT, ID_LENIENT})
        CheckMenuItem(menu_, static_cast<UINT>(id), MF_BYCOMMAND | (dialog::optionChecked(options_, id) ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace zmr::win32
