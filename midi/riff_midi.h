#pragma once
// RIFF MIDI files ("RIFF", size, "RMID"): a Standard MIDI File wrapped in the
// `data` chunk of a RIFF form, as Windows collections often keep songs.

#include <cstdint>
#include <span>

#include "base/result.h"

namespace zmr {

// The bytes begin with "RIFF", a size and the form type "RMID".
bool isRiffMidi(std::span<const uint8_t> bytes);

// The Standard MIDI File inside: the bytes of the first `data` chunk, found by
// walking the RIFF chunks (a LIST chunk may come first; chunks are padded to
// even sizes), as many as the file holds. Fails when no data chunk begins
// inside the file; any bytes may be given, not only those isRiffMidi accepts.
Result<std::span<const uint8_t>> riffMidiData(std::span<const uint8_t> bytes);

}  // namespace zmr
