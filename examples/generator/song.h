#pragma once
// What an example song is made of: a key, a tempo map, a groove for the
// accompaniment and sections of melody, chords and lyrics written as text.

#include <cstdint>
#include <string>
#include <vector>

#include "key.h"

namespace zmr::examples {

// How the lyric events spell Vietnamese: the source text is always VIQR.
// UTF-8 serves the Unicode copies that zmr_make_examples --utf8 writes.
enum class LyricEncoding { Viqr, Vni, Utf8 };

// Karaoke files end a line either with a carriage return after its last
// syllable or with a carriage return event of its own.
enum class LineBreak { EndOfSyllable, OwnEvent };

// The accompaniment pattern of the bass, chord and drum tracks.
enum class Groove { Ballad, Festive, Pop, Waltz };

struct Instruments {
    uint8_t melody = 0;  // General MIDI programs, counted from 0
    uint8_t chords = 0;
    uint8_t bass = 32;
};

struct Section {
    std::string name;      // written as a marker
    std::string chords;    // chord notation, see chords.h: one token per bar
    std::string melody;    // melody notation, see melody.h
    std::string lyrics;    // VIQR, see lyrics.h; empty for an instrumental section
    int dynamics = 0;      // added to every velocity of the section
    int transpose = 0;     // semitones above the song's key
};

struct TempoChange {
    int bar = 0;  // counted from 0
    double beatsPerMinute = 120;
};

struct Song {
    std::string fileName;
    std::string title;  // ASCII, for track names and karaoke headers
    std::string viqrTitle;  // the title with its marks, naming the song's Unicode copy; empty for none
    uint16_t division = 480;
    int beatsPerBar = 4;  // quarter-note beats
    Key key;
    std::vector<TempoChange> tempi;  // the first one at bar 0
    Groove groove = Groove::Pop;
    Instruments instruments;
    LyricEncoding encoding = LyricEncoding::Viqr;
    LineBreak lineBreak = LineBreak::EndOfSyllable;
    bool karaokeText = false;    // '@' headers and text events in a Words track, as .kar files carry
    bool runningStatus = false;  // running status, and note-ons of velocity 0 to end notes
    uint32_t seed = 1;           // velocity variation: fixed, so every run writes the same bytes
    std::vector<Section> sections;
};

}  // namespace zmr::examples
