#pragma once
// Melody notation: tokens separated by spaces.
//
//   5      scale degree 5 for an eighth note
//   1':4   degree 1 an octave up (' per octave; , per octave down) for four eighths
//   7#     a degree raised by a semitone
//   3_     a note sung on the previous syllable (a melisma), so it takes no lyric
//   r:2    a rest of two eighths
//   |      a bar line, checked against the time signature
//
// Every note that is neither a rest nor a melisma takes the next syllable.

#include <string>
#include <vector>

namespace zmr::examples {

struct MelodyNote {
    bool rest = false;
    int step = 0;      // scale steps from the tonic, see noteOfStep
    int semitone = 0;  // chromatic raise
    int eighths = 1;
    bool melisma = false;
};

// Throws std::runtime_error on a malformed token, or when a bar line does not
// fall on a bar of `eighthsPerBar`.
std::vector<MelodyNote> parseMelody(const std::string& text, int eighthsPerBar);

// Eighth notes of the whole melody.
int melodyLength(const std::vector<MelodyNote>& melody);

}  // namespace zmr::examples
