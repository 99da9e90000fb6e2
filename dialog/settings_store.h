#pragma once
// Where a dialog remembers things between runs: QSettings for the Qt dialog,
// the registry under HKEY_CURRENT_USER for the Win32 one. Names are
// "group/name"; each store maps them to its own form.

#include <optional>
#include <string>
#include <string_view>

namespace zmr::dialog {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Nothing when the name was never stored (or holds another type).
    virtual std::optional<std::string> readText(std::string_view name) const = 0;
    virtual std::optional<bool> readSwitch(std::string_view name) const = 0;
    // A store that cannot be written keeps nothing; the value is in force for
    // this run all the same.
    virtual void writeText(std::string_view name, std::string_view value) = 0;
    virtual void writeSwitch(std::string_view name, bool on) = 0;
};

}  // namespace zmr::dialog
