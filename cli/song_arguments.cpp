#include "cli/song_arguments.h"

#include <filesystem>
#include <system_error>

#include "fileio/native_path.h"
#include "image/song_order.h"

namespace zmr::cli {

Result<std::vector<std::string>> gatherSongs(const std::vector<std::string>& arguments) {
    std::vector<std::string> songs;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (std::filesystem::is_directory(nativePath(argument), error)) {
            Result<std::vector<std::string>> found = listSongFolder(argument);
            if (!found) return Failure{argument + ": " + found.message(), found.kind()};
            songs.insert(songs.end(), found->begin(), found->end());
        } else {
            songs.push_back(argument);
        }
    }
    sortSongPaths(songs);
    return songs;
}

}  // namespace zmr::cli
