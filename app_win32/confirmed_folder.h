#pragma once
// Which folder "Add Files..." takes from the path the file dialog returns.

#include <string>

namespace zmr::win32 {

inline constexpr wchar_t kPrefilledName[] = L"All file";

// The file dialog opens with the 8-character name "All file" filled in: a user
// who opens a folder and confirms it means every song there, and the folder is
// the returned path less those 8 characters. A user who picks a song instead
// (a name of another length) means that song's folder, not the path cut
// somewhere inside its name. The folder ends in its separator.
std::wstring folderOfConfirmedPath(const std::wstring& path);

}  // namespace zmr::win32
