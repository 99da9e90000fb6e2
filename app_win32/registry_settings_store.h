#pragma once
// The dialog's settings in the registry, under a key of HKEY_CURRENT_USER: a
// name "group/name" is the value `name` of the subkey `group`, a name without
// a group a value of the key itself. Texts are REG_SZ, switches REG_DWORD.

#include <windows.h>

#include <string>

#include "dialog/settings_store.h"

namespace zmr::win32 {

inline constexpr wchar_t kSettingsKey[] = L"Software\\zmrimage";

class RegistrySettingsStore : public dialog::SettingsStore {
public:
    explicit RegistrySettingsStore(std::wstring key) : key_(std::move(key)) {}

    std::optional<std::string> readText(std::string_view name) const override;
    std::optional<bool> readSwitch(std::string_view name) const override;
    void writeText(std::string_view name, std::string_view value) override;
    void writeSwitch(std::string_view name, bool on) override;

private:
    struct Place {
        std::wstring key;
        std::wstring value;
    };
    Place placeOf(std::string_view name) const;
    void write(std::string_view name, DWORD type, const void* data, DWORD size);

    std::wstring key_;
};

}  // namespace zmr::win32
