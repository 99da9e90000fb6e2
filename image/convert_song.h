#pragma once
// One song file to one framed song record and its song-list name.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "image/convert_options.h"
#include "image/song_record.h"
#include "midi/event_stream.h"
#include "text/text_stream.h"

namespace zmr {

// What one thread keeps from song to song, so that converting a song costs no
// allocation once these have grown to the largest song. Nothing of one song
// survives into the next: converting with used buffers or fresh ones gives the
// same bytes.
struct ConversionBuffers {
    std::vector<uint8_t> file;    // for the caller to read the song file into
    EventStream events;
    TextStream text;
    std::vector<uint8_t> record;  // the record is built here and moved out; a caller done writing it may hand it back
};

// A pure function of the path's text (which gives the song title) and the
// file's bytes: nothing is written anywhere, so songs can be converted on any
// thread and a rejected song touches nothing. With the default options the
// song is read exactly as the player reads it.
Result<SongRecord> convertSong(std::string_view path, std::span<const uint8_t> fileBytes, ConversionBuffers& buffers,
                               const ConvertOptions& options = {});

// The same with buffers of its own, for a single song.
Result<SongRecord> convertSong(std::string_view path, std::span<const uint8_t> fileBytes,
                               const ConvertOptions& options = {});

}  // namespace zmr
