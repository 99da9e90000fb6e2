#pragma once
// How songs are read beyond the player's own reading. Every option is off by
// default, and then every song converts to exactly the player's bytes.

#include "midi/midi_reading.h"
#include "text/song_text.h"
#include "text/text_encoding.h"

namespace zmr {

struct ConvertOptions {
    TextEncoding textEncoding = TextEncoding::ViqrVni;
    // Soft Karaoke lyrics from text events, for a song without lyric events.
    bool karText = false;
    // RIFF wrappers, chunks other than MTrk, unknown meta types.
    bool lenient = false;

    TextReading textReading() const { return {textEncoding, karText}; }
    MidiReading midiReading() const { return lenient ? MidiReading::Lenient : MidiReading::Strict; }
    bool operator==(const ConvertOptions&) const = default;
};

}  // namespace zmr
