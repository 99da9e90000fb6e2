#pragma once
// How strictly a song file is read.

namespace zmr {

enum class MidiReading {
    // As the player reads: one header, then as many chunks as it claims, each
    // taken as a track whatever its id; an unknown meta type rejects the song.
    Strict,
    // What ordinary MIDI libraries also read: a RIFF RMID wrapper is unwrapped,
    // chunks other than MTrk are skipped and do not count as tracks, and a
    // meta event of an unknown type is skipped by its size.
    Lenient,
};

}  // namespace zmr
