#pragma once
// A Standard MIDI File held whole in memory: the header's track count and
// division, and each track chunk's event bytes as a slice of the file. It
// only views the file's bytes: whoever read them keeps them (one buffer can
// then serve song after song).

#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"
#include "midi/midi_reading.h"

namespace zmr {

struct TrackChunk {
    uint32_t offset = 0;  // of the first event byte within the file
    uint32_t length = 0;  // event bytes the file really holds (may be fewer than claimed)
};

class SongFile {
public:
    uint16_t trackCount = 0;       // as the header claims
    uint16_t division = 0;         // ticks per quarter note
    uint32_t totalTrackBytes = 0;  // sum of the track lengths actually present
    std::vector<TrackChunk> tracks;  // one per track the file holds a chunk header for
    std::span<const uint8_t> bytes;  // the whole file, owned by the caller

    std::span<const uint8_t> trackBytes(size_t index) const {
        const TrackChunk& t = tracks[index];
        return bytes.subspan(t.offset, t.length);
    }
};

// Splits a whole file's bytes into the header and its track chunks; the
// bytes must outlive the song. Nothing is allocated from a count that the
// file claims beyond what it holds.
// Fails with "Invalid MIDI file\n" for fewer than 14 bytes and with
// "Invalid MIDI division 0\n" for a division of 0. A lenient reading first
// unwraps a RIFF RMID file (the song then views the MIDI file inside it), and
// walks the chunks from offset 14 taking only those with the id MTrk as tracks
// (the header's track count counts them alone) and skipping every other chunk
// by its length.
Result<SongFile> loadSongFile(std::span<const uint8_t> bytes, MidiReading reading = MidiReading::Strict);
// A temporary would leave the song viewing freed bytes.
Result<SongFile> loadSongFile(std::vector<uint8_t>&& bytes, MidiReading reading = MidiReading::Strict) = delete;

}  // namespace zmr
