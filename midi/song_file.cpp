#include "midi/song_file.h"

#include <algorithm>
#include <limits>

#include "codec/byte_order.h"

namespace zmr {

namespace {

constexpr size_t kHeaderSize = 14;
constexpr size_t kChunkHeaderSize = 8;

// Takes the chunks back to back from offset 14, as many as the header claims
// and the file holds. A chunk header the file does not hold whole ends the
// list: that track and all later ones are empty, which the merge treats the
// same as chunks of length 0.
void splitTracks(SongFile& song) {
    // Offsets are 32-bit; bytes past 4 GiB are never reached.
    const size_t size = std::min<size_t>(song.bytes.size(), std::numeric_limits<uint32_t>::max());
    size_t offset = kHeaderSize;
    for (uint32_t i = 0; i < song.trackCount; ++i) {
        if (size - offset < kChunkHeaderSize) break;
        const uint32_t claimed = loadBigEndian32(song.bytes.data() + offset + 4);
        offset += kChunkHeaderSize;
        // A chunk cut short holds only the bytes present.
        const uint32_t length = static_cast<uint32_t>(std::min<size_t>(claimed, size - offset));
        song.tracks.push_back({static_cast<uint32_t>(offset), length});
        song.totalTrackBytes += length;
        offset += length;
    }
}

}  // namespace

Result<SongFile> loadSongFile(std::span<const uint8_t> bytes) {
    if (bytes.size() < kHeaderSize) return Failure{"Invalid MIDI file\n"};

    SongFile song;
    // Chunk id, header length and format are not examined.
    song.trackCount = loadBigEndian16(bytes.data() + 10);
    song.division = loadBigEndian16(bytes.data() + 12);
    // A zero division would make the tick factor infinite and a tempo divide by zero.
    if (song.division == 0) return Failure{"Invalid MIDI division 0\n"};

    song.bytes = bytes;
    splitTracks(song);
    return song;
}

}  // namespace zmr
