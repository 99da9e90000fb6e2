#include "midi/song_file.h"

#include <algorithm>
#include <limits>

#include "codec/byte_order.h"
#include "midi/riff_midi.h"

namespace zmr {

namespace {

constexpr size_t kHeaderSize = 14;
constexpr size_t kChunkHeaderSize = 8;

bool isTrackChunk(const uint8_t* id) { return id[0] == 'M' && id[1] == 'T' && id[2] == 'r' && id[3] == 'k'; }

// Takes the chunks back to back from offset 14, as many as the header claims
// and the file holds. A chunk header the file does not hold whole ends the
// list: that track and all later ones are empty, which the merge treats the
// same as chunks of length 0.
// A lenient reading passes over chunks whose id is not MTrk: they are not
// tracks and do not count against the header's track count.
void splitTracks(SongFile& song, MidiReading reading) {
    // Offsets are 32-bit; bytes past 4 GiB are never reached.
    const size_t size = std::min<size_t>(song.bytes.size(), std::numeric_limits<uint32_t>::max());
    size_t offset = kHeaderSize;
    while (song.tracks.size() < song.trackCount) {
        if (size - offset < kChunkHeaderSize) break;
        const bool track = reading == MidiReading::Strict || isTrackChunk(song.bytes.data() + offset);
        const uint32_t claimed = loadBigEndian32(song.bytes.data() + offset + 4);
        offset += kChunkHeaderSize;
        // A chunk cut short holds only the bytes present.
        const uint32_t length = static_cast<uint32_t>(std::min<size_t>(claimed, size - offset));
        if (track) {
            song.tracks.push_back({static_cast<uint32_t>(offset), length});
            song.totalTrackBytes += length;
        }
        offset += length;
    }
}

// The file itself, or under a lenient reading the MIDI file inside a RIFF wrapper.
Result<std::span<const uint8_t>> unwrap(std::span<const uint8_t> bytes, MidiReading reading) {
    if (reading == MidiReading::Strict || !isRiffMidi(bytes)) return bytes;
    return riffMidiData(bytes);
}

}  // namespace

Result<SongFile> loadSongFile(std::span<const uint8_t> fileBytes, MidiReading reading) {
    Result<std::span<const uint8_t>> unwrapped = unwrap(fileBytes, reading);
    if (!unwrapped) return unwrapped.failure();
    const std::span<const uint8_t> bytes = *unwrapped;
    if (bytes.size() < kHeaderSize) return Failure{"Invalid MIDI file\n", FailureKind::BadSong};

    SongFile song;
    // Chunk id, header length and format are not examined.
    song.trackCount = loadBigEndian16(bytes.data() + 10);
    song.division = loadBigEndian16(bytes.data() + 12);
    // A zero division would make the tick factor infinite and a tempo divide by zero.
    if (song.division == 0) return Failure{"Invalid MIDI division 0\n", FailureKind::BadSong};

    song.bytes = bytes;
    splitTracks(song, reading);
    return song;
}

}  // namespace zmr
