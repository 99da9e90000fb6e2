#pragma once
// A song of an image turned back into a Standard MIDI File that any MIDI
// player plays and that compiles again to the same streams: the event
// records as channel messages in one track, the lyric records as lyric meta
// events in a track of their own, written in VIQR.
//
// One tick is one time unit: division 1 and a set-tempo of 17,000
// microseconds per quarter note at tick 0 give the tick factor
// 17000 * (the float nearest 1/17000), which rounds to exactly 1.0f, so the
// compiler reads every tick back as the same number of time units.
//
// What cannot come back: a duration is kept modulo 256 units, so a longer
// note comes back shorter; a note never closed comes back with duration 0;
// records more than 255 units apart lost the multiples of 256 from their
// delta; data bytes with the high bit set are cut to 7 bits (a velocity that
// becomes 0 is made 1); lyric times are kept modulo 65536 and a lyric time
// earlier than the one before it is moved up to it; a note that lasts past
// the next note-on of its key and channel comes back ended there, as the
// compiler ends it there.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "readback/event_records.h"
#include "readback/text_records.h"
#include "text/code_page_inverse.h"

namespace zmr {

inline constexpr uint16_t kExtractDivision = 1;
inline constexpr uint32_t kExtractTempo = 17000;  // microseconds per quarter note

struct ExtractedSong {
    std::vector<uint8_t> midi;
    size_t skippedRecords = 0;  // records whose byte 2 names no channel message
    size_t cutDataBytes = 0;    // data bytes with the high bit set
    size_t overlappedNotes = 0; // notes lasting past the next note-on of their key
    size_t movedLyrics = 0;     // lyric records whose time had to move up
    size_t changedCodes = 0;    // lyric codes that would not compile back the same
};

ExtractedSong extractSong(std::span<const EventRecord> events, std::span<const TextRecord> lyrics,
                          const CodePageInverse& inverse = CodePageInverse::standard());

}  // namespace zmr
