#include "dialog/output_folder.h"

#include <system_error>

#include "fileio/native_path.h"
#include "image/image_layout.h"
#include "image/song_order.h"

namespace zmr::dialog {
namespace {

std::filesystem::path absoluteFolder(const std::filesystem::path& folder) {
    std::error_code error;
    // An empty name is the current directory, as a file dialog's bare name means.
    std::filesystem::path full = std::filesystem::absolute(folder.empty() ? "." : folder, error);
    if (error || full.empty()) full = folder;
    full = full.lexically_normal();
    if (!full.empty() && full.has_filename()) full += std::filesystem::path::preferred_separator;
    return full;
}

}  // namespace

std::filesystem::path outputFolder() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::filesystem::path(".") : folder;
}

std::filesystem::path imageInOutputFolder() { return outputFolder() / kImageFileName; }

bool outputFolderHasImage() {
    std::error_code error;
    return std::filesystem::is_regular_file(imageInOutputFolder(), error);
}

Result<SongFolder> enterSongFolder(const std::filesystem::path& folder) {
    SongFolder entered{absoluteFolder(folder), {}};
    std::error_code ignored;  // a folder that cannot be entered cannot be listed either, which is told
    std::filesystem::current_path(entered.folder, ignored);
    Result<std::vector<std::string>> songs = listSongFolder(pathText(entered.folder));
    if (!songs) return Failure{pathText(entered.folder) + ": " + songs.message(), songs.kind()};
    entered.songs = std::move(songs).value();
    return entered;
}

std::string refusedSongsMessage(size_t refused, const std::filesystem::path& folder) {
    return std::to_string(refused) + " of the songs in " + pathText(folder) + " could not be added: the list has no more room";
}

}  // namespace zmr::dialog
