#pragma once
// "Add Files...": what its file-open dialog offers, and which folder the path
// it returns stands for.

#include <array>
#include <string>
#include <string_view>

namespace zmr::dialog {

// The name filled in: a user who opens a folder and confirms it means every
// song there.
inline constexpr char kPrefilledName[] = "All file";

struct FileFilter {
    const char* description;
    const char* pattern;
};

// In this order, the first selected when the dialog opens.
inline constexpr std::array<FileFilter, 2> kSongFilters = {{
    {"Karaoke File (*.kar)", "*.kar"},
    {"MIDI File (*.mid)", "*.mid"},
}};

// The folder of a confirmed path (UTF-8), ending in its separator; empty for
// a bare name. Confirming the filled-in name gives the path less its 8
// characters, which is that folder; a user who picked a song instead means
// the song's folder too, not the path cut somewhere inside its name.
std::string folderOfConfirmedPath(std::string_view path);

}  // namespace zmr::dialog
