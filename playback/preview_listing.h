#pragma once
// What a preview window lists of an image before any song is decoded: the
// image's bytes, where each song lies (the layout), and each song's title from
// the song list beside it. A song is decoded only when it is chosen
// (previewSongAt), so opening a large image costs one read of it, not the
// decoding of every song. Both dialogs run them off the window's thread; both
// turn anything thrown (out of memory) into a message, so neither can end the
// program.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"
#include "playback/preview_song.h"
#include "readback/image_index.h"

namespace zmr {

struct PreviewListing {
    std::shared_ptr<const std::vector<uint8_t>> image;
    std::vector<SongLocation> songs;
    // One per song, in UTF-8; empty where the song list gives no title (the
    // title then comes from the song itself once it is decoded).
    std::vector<std::string> titles;
    bool complete = true;  // false when some song could not be located
    std::string problem;   // why the image could not be read; empty when it was
};

// `songList` may be missing or unreadable: the titles then wait for the songs.
PreviewListing readPreviewListing(const std::filesystem::path& image, const std::filesystem::path& songList);

Result<PreviewSong> previewSongAt(const PreviewListing& listing, size_t index);

}  // namespace zmr
