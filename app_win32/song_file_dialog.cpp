#include "app_win32/song_file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <array>

#include "app_win32/confirmed_folder.h"

namespace zmr::win32 {

std::optional<std::wstring> askForSongPath(HWND owner) {
    // Description and pattern of each entry, each ended by a zero, and one
    // more zero after the last.
    static constexpr wchar_t kFilter[] = L"Karaoke File (*.kar)\0*.kar\0MIDI File (*.mid)\0*.mid\0";
    std::array<wchar_t, 256> name{};
    std::copy(std::begin(kPrefilledName), std::end(kPrefilledName), name.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return std::wstring(name.data());
}

}  // namespace zmr::win32
