#include "app_win32/registry_settings_store.h"

#include "fileio/wide_text.h"

namespace zmr::win32 {

RegistrySettingsStore::Place RegistrySettingsStore::placeOf(std::string_view name) const {
    const size_t slash = name.rfind('/');
    if (slash == std::string_view::npos) return {key_, wideFromUtf8(name)};
    std::wstring group = wideFromUtf8(name.substr(0, slash));
    for (wchar_t& c : group)
        if (c == L'/') c = L'\\';
    return {key_ + L"\\" + group, wideFromUtf8(name.substr(slash + 1))};
}

std::optional<std::string> RegistrySettingsStore::readText(std::string_view name) const {
    const Place place = placeOf(name);
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, place.key.c_str(), place.value.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return utf8FromWide(text);
}

std::optional<bool> RegistrySettingsStore::readSwitch(std::string_view name) const {
    const Place place = placeOf(name);
    DWORD on = 0;
    DWORD size = sizeof on;
    if (RegGetValueW(HKEY_CURRENT_USER, place.key.c_str(), place.value.c_str(), RRF_RT_REG_DWORD, nullptr, &on, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return on != 0;
}

void RegistrySettingsStore::write(std::string_view name, DWORD type, const void* data, DWORD size) {
    const Place place = placeOf(name);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, place.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;  // not remembered, but in force for this run
    RegSetValueExW(key, place.value.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void RegistrySettingsStore::writeText(std::string_view name, std::string_view value) {
    const std::wstring text = wideFromUtf8(value);
    write(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void RegistrySettingsStore::writeSwitch(std::string_view name, bool on) {
    const DWORD data = on ? 1 : 0;
    write(name, REG_DWORD, &data, sizeof data);
}

}  // namespace zmr::win32
