#pragma once
// What a song file holds and how it would compile, without compiling it: for
// looking over a collection before building its image.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "text/encoding_guess.h"
#include "text/song_text.h"

namespace zmr {

struct SongScan {
    bool compiles = false;         // with no option, as the player reads it
    std::string message;           // why it does not
    bool lenientCompiles = false;  // with --lenient
    // The facts below come from the reading that compiles (the lenient one when
    // only it does); a song that compiles neither way has none.
    bool read = false;
    LyricSource lyrics = LyricSource::None;  // Soft Karaoke text events when it has no lyric events
    TextEncoding encoding = TextEncoding::Ascii;   // of its lyrics, or of its title when it has none
    TextEncoding titleEncoding = TextEncoding::Ascii;
    int32_t uncoded = 0;       // characters without a code on the player, read as guessed
    int64_t lengthUnits = 0;   // time of the last event record, in 17 ms units
    // The song's record and song-list name as a build with the options that
    // suit it would write them, for the estimate of the disc it fills.
    uint64_t recordBytes = 0;
    uint64_t songListNameBytes = 0;
};

SongScan scanSong(std::string_view path, std::span<const uint8_t> bytes);

// Reads the file first; a file that cannot be read does not compile either way.
SongScan scanSongFile(const std::string& path);

}  // namespace zmr
