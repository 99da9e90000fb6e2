#pragma once
// The sizes an image and its song list had after each of their songs, read
// back from files already built: how many of their songs a smaller disc holds.

#include <span>
#include <vector>

#include "image/disc_capacity.h"
#include "readback/image_index.h"

namespace zmr {

// From the located songs and the song list's lines; a song without a line of
// its own counts the whole list.
std::vector<SongExtent> imageSongExtents(const ImageIndex& scan, std::span<const uint8_t> songList);

}  // namespace zmr
