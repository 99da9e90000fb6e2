#include "app_win32/confirmed_folder.h"

namespace zmr::win32 {

std::wstring folderOfConfirmedPath(const std::wstring& path) {
    constexpr size_t kPrefilledLength = sizeof kPrefilledName / sizeof kPrefilledName[0] - 1;
    const size_t separator = path.find_last_of(L"\\/");
    const size_t nameStart = separator == std::wstring::npos ? 0 : separator + 1;
    if (path.size() - nameStart == kPrefilledLength) return path.substr(0, path.size() - kPrefilledLength);
    return path.substr(0, nameStart);
}

}  // namespace zmr::win32
