#include "app_win32/song_file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <array>

#include "dialog/song_file_choice.h"
#include "fileio/wide_text.h"

namespace zmr::win32 {

std::optional<std::wstring> askForSongPath(HWND owner) {
    // Description and pattern of each entry, each ended by a zero, and one
    // more zero after the last (the string's own).
    std::wstring filter;
    for (const dialog::FileFilter& entry : dialog::kSongFilters)
        filter += wideFromUtf8(entry.description) + L'\0' + wideFromUtf8(entry.pattern) + L'\0';
    std::array<wchar_t, 256> name{};
    const std::wstring prefilled = wideFromUtf8(dialog::kPrefilledName);
    std::copy(prefilled.begin(), prefilled.end(), name.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return std::wstring(name.data());
}

}  // namespace zmr::win32
