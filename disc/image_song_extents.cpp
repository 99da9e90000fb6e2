#include "disc/image_song_extents.h"

#include <algorithm>

namespace zmr {

std::vector<SongExtent> imageSongExtents(const ImageScan& scan, std::span<const uint8_t> songList) {
    std::vector<SongExtent> extents;
    extents.reserve(scan.songs.size());
    size_t listEnd = 0;
    for (const SongLocation& song : scan.songs) {
        // The next line ends after its CR LF, or the list ends first.
        size_t next = listEnd;
        while (next < songList.size() && !(songList[next] == '\n' && next > 0 && songList[next - 1] == '\r')) ++next;
        listEnd = std::min(songList.size(), next + 1);
        extents.push_back({song.recordOffset + song.recordSize, listEnd});
    }
    return extents;
}

}  // namespace zmr
