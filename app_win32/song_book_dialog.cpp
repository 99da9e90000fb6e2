#include "app_win32/song_book_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace zmr::win32 {

std::optional<std::wstring> askForSongBookPath(HWND owner, const std::wstring& suggested) {
    static constexpr wchar_t kFilter[] = L"HTML (*.html)\0*.html\0";
    std::vector<wchar_t> name(std::max<size_t>(suggested.size() + 1, 1024), L'\0');
    std::copy(suggested.begin(), suggested.end(), name.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrDefExt = L"html";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    return std::wstring(name.data());
}

}  // namespace zmr::win32
