#include "disc/image_song_extents.h"

#include "image/song_list.h"

namespace zmr {

std::vector<SongExtent> imageSongExtents(const ImageIndex& scan, std::span<const uint8_t> songList) {
    const SongList list = parseSongList(songList);
    std::vector<SongExtent> extents;
    extents.reserve(scan.songs.size());
    for (size_t i = 0; i < scan.songs.size(); ++i) {
        const SongLocation& song = scan.songs[i];
        extents.push_back({song.recordOffset + song.recordSize, i < list.lines.size() ? list.lines[i].end : songList.size()});
    }
    return extents;
}

}  // namespace zmr
