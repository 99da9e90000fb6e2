#include "app_win32/options_menu.h"

#include <array>
#include <optional>

#include "app_win32/resource_ids.h"
#include "fileio/wide_text.h"

namespace zmr::win32 {
namespace {

struct EncodingItem {
    TextEncoding encoding;
    int id;
};

constexpr std::array<EncodingItem, 4> kEncodings = {{
    {TextEncoding::ViqrVni, ID_TEXT_VIQR_VNI},
    {TextEncoding::Utf8, ID_TEXT_UTF8},
    {TextEncoding::Cp1258, ID_TEXT_CP1258},
    {TextEncoding::Auto, ID_TEXT_AUTO},
}};

constexpr wchar_t kEncodingValue[] = L"textEncoding";
constexpr wchar_t kKarTextValue[] = L"karText";
constexpr wchar_t kLenientValue[] = L"lenient";

std::optional<std::wstring> readText(const std::wstring& key, const wchar_t* value) {
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

bool readSwitch(const std::wstring& key, const wchar_t* value) {
    DWORD on = 0;
    DWORD size = sizeof on;
    return RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, &on, &size) == ERROR_SUCCESS &&
           on != 0;
}

}  // namespace

OptionsMenu::OptionsMenu(HMENU menu, std::wstring key) : menu_(menu), key_(std::move(key)) {
    load();
    show();
}

bool OptionsMenu::command(int id) {
    bool known = true;
    if (id == ID_KAR_TEXT) {
        options_.karText = !options_.karText;
    } else if (id == ID_LENIENT) {
        options_.lenient = !options_.lenient;
    } else {
        known = false;
        for (const EncodingItem& item : kEncodings) {
            if (item.id != id) continue;
            options_.textEncoding = item.encoding;
            known = true;
        }
    }
    if (!known) return false;
    show();
    save();
    return true;
}

void OptionsMenu::load() {
    if (const std::optional<std::wstring> name = readText(key_, kEncodingValue))
        options_.textEncoding = parseTextEncoding(utf8FromWide(*name)).value_or(TextEncoding::ViqrVni);
    options_.karText = readSwitch(key_, kKarTextValue);
    options_.lenient = readSwitch(key_, kLenientValue);
}

void OptionsMenu::save() const {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;  // not remembered, but in force for this run
    const std::wstring name = wideFromUtf8(textEncodingName(options_.textEncoding));
    RegSetValueExW(key, kEncodingValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
    for (const auto& [value, on] : {std::pair{kKarTextValue, options_.karText}, std::pair{kLenientValue, options_.lenient}}) {
        const DWORD data = on ? 1 : 0;
        RegSetValueExW(key, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    }
    RegCloseKey(key);
}

void OptionsMenu::show() const {
    for (const EncodingItem& item : kEncodings) {
        if (item.encoding == options_.textEncoding)
            CheckMenuRadioItem(menu_, ID_TEXT_VIQR_VNI, ID_TEXT_AUTO, static_cast<UINT>(item.id), MF_BYCOMMAND);
    }
    CheckMenuItem(menu_, ID_KAR_TEXT, MF_BYCOMMAND | (options_.karText ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu_, ID_LENIENT, MF_BYCOMMAND | (options_.lenient ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace zmr::win32
