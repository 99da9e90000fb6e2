#include "songbook/song_list_titles.h"

#include "image/song_list.h"

namespace zmr {

ListedTitles songListTitles(std::span<const uint8_t> songList) {
    ListedTitles listed;
    for (const SongListLine& line : parseSongList(songList).lines) {
        if (std::optional<std::string> problem = songListNumberProblem(line)) {
            listed.problems.push_back("line " + std::to_string(line.lineNumber) + ": " + *problem);
            listed.titles.emplace_back();
        } else {
            listed.titles.emplace_back(line.title);
        }
    }
    return listed;
}

}  // namespace zmr
