#pragma once
// Chord notation: one token per bar, the scale degree of the chord's root.
// "5+" raises the third (the major dominant of a minor key); "4,5" splits the
// bar into two halves. Chords are the key's triads.

#include <string>
#include <vector>

#include "key.h"

namespace zmr::examples {

struct Chord {
    int root = 0;  // scale steps from the tonic, 0 to 6
    bool raisedThird = false;
};

using BarChords = std::vector<Chord>;  // one or two chords sharing the bar evenly

// Tone 0 is the root, 1 the third, 2 the fifth, 3 the root an octave up; in
// the melody's octave.
int chordTone(const Key& key, const Chord& chord, int tone);

// Throws std::runtime_error on a malformed token.
std::vector<BarChords> parseChords(const std::string& text);

}  // namespace zmr::examples
