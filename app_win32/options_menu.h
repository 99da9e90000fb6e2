#pragma once
// The menu "Options": how songs are read, as the command line's
// --text-encoding, --kar-text and --lenient. Every item is off (the encoding
// "VIQR or VNI") until the user turns it on; the choice is remembered between
// runs under HKEY_CURRENT_USER\Software\zmrimage.

#include <windows.h>

#include <string>

#include "image/convert_options.h"

namespace zmr::win32 {

inline constexpr wchar_t kSettingsKey[] = L"Software\\zmrimage";

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
    void load();
    void save() const;
    void show() const;

    HMENU menu_;
    std::wstring key_;
    ConvertOptions options_;
};

}  // namespace zmr::win32
