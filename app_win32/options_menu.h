#pragma once
// The menu "Options" of dialog/dialog_options.h on the resource menu's items;
// the choice is remembered between runs under HKEY_CURRENT_USER\Software\zmrimage.

#include <windows.h>

#include <string>

#include "app_win32/registry_settings_store.h"
#include "image/convert_options.h"

namespace zmr::win32 {

class OptionsMenu {
public:
    // Checks the items of `menu` as the choice kept under `key` (of
    // HKEY_CURRENT_USER) says.
    OptionsMenu(HMENU menu, std::wstring key);

    // Runs a command of the menu, checking its item and keeping the choice;
    // false for a command that is not the menu's.
    bool command(int id);
    // What "Create Image" passes to the compilation.
    const ConvertOptions& options() const { return options_; }

private:
    void show() const;

    HMENU menu_;
    RegistrySettingsStore store_;
    ConvertOptions options_;
};

}  // namespace zmr::win32
