#pragma once
// One song as the player stores it: the compressed text section and the
// compressed event section, each behind its compressed length, its
// uncompressed length and a reserved zero word, padded to a multiple of 16.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zmr {

inline constexpr uint32_t kSongRecordAlignment = 16;

struct SongRecord {
    std::vector<uint8_t> bytes;  // the framed record, ready to append to the image
    std::string name;            // the song-list name: title, tab, first lyric bytes
    int32_t uncodedCharacters = 0;  // of text read from Unicode, written as '?' for want of a code
};

std::vector<uint8_t> frameSongRecord(std::span<const uint8_t> compressedText, uint32_t textLength,
                                     std::span<const uint8_t> compressedEvents, uint32_t eventLength);

// Compresses both streams straight into their places in `record`, whose old
// contents are replaced and whose memory is reused: the same bytes as
// frameSongRecord of the two compressed streams, without buffers between.
void compressSongRecord(std::span<const uint8_t> text, std::span<const uint8_t> events, std::vector<uint8_t>& record);

}  // namespace zmr
