#pragma once
// An image's index read back: the header, the group table, the index
// blocks and where each song record lies. Nothing read is trusted: every
// offset is checked against the image before use, and whatever does not hold
// what the compiler writes becomes a problem naming the song and the byte.
//
// Records are found by walking each group from its index block, record after
// record, by the sizes that the records' own framing gives; the offset words
// are checked against that walk. Where the two disagree, the one beside which
// a record really lies is believed, so a single damaged word is blamed on its
// own song and the walk goes on.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "readback/record_framing.h"

namespace zmr {

struct ImageProblem {
    int32_t song = 0;     // song or index entry (from 1) it belongs to; 0 for the header and group table
    uint64_t offset = 0;  // byte in the image
    std::string message;
};

struct SongLocation {
    int32_t number = 0;  // from 1, in image order, as in the song list
    uint32_t group = 0;
    uint32_t entry = 0;  // within the group
    uint64_t indexBlockOffset = 0;
    uint32_t offsetWord = 0;  // as stored
    uint32_t sizeFigure = 0;  // as stored
    uint64_t recordOffset = 0;  // where the record lies (the stored word may be wrong)
    uint64_t recordSize = 0;    // 24 + C_t + C_e rounded up to 16
    RecordFraming framing;
    // False when the next record lies elsewhere than this framing says: its
    // sections are then not where the framing puts them.
    bool framingTrusted = true;
};

// The entry of a song whose conversion failed: the compiler stores its offset
// word, pointing at the end of the songs, beside a size figure of 0.
struct FailedSongEntry {
    int32_t entryNumber = 0;  // the number that song would have had
    uint64_t wordOffset = 0;
    uint32_t offsetWord = 0;
};

struct ImageIndex {
    uint64_t imageSize = 0;
    bool headerOk = false;
    uint32_t groupCount = 0;
    std::vector<SongLocation> songs;
    std::optional<FailedSongEntry> failedSong;
    std::vector<ImageProblem> problems;
    // False when some song could not be located; `songs` then holds those before it.
    bool complete = true;
};

ImageIndex readImageIndex(std::span<const uint8_t> image);

}  // namespace zmr
