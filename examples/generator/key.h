#pragma once
// Scale degrees to MIDI notes, and the key signature that names the key.

#include <cstdint>

namespace zmr::examples {

struct Key {
    int tonic = 60;      // MIDI note of degree 1 in the melody's octave
    bool minor = false;  // natural minor
};

// `step` counts scale steps from the tonic: 0 is degree 1, 7 the octave above,
// -1 the seventh degree below.
int noteOfStep(const Key& key, int step);

// The key signature meta event's sharps (negative: flats) for the key moved
// up by `transpose` semitones.
int8_t keySignatureSharps(const Key& key, int transpose);

}  // namespace zmr::examples
