#pragma once
// One song file to one framed song record and its song-list name.

#include <cstdint>
#include <string_view>
#include <vector>

#include "codec/result.h"
#include "image/convert_options.h"
#include "image/song_record.h"

namespace zmr {

// A pure function of the path's text (which gives the song title) and the
// file's bytes: nothing is written anywhere, so songs can be converted on any
// thread and a rejected song touches nothing. With the default options the
// song is read exactly as the player reads it.
Result<SongRecord> convertSong(std::string_view path, std::vector<uint8_t> fileBytes,
                               const ConvertOptions& options = {});

}  // namespace zmr
