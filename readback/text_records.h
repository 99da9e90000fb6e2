#pragma once
// Reading a song's text stream back: its 4-byte records, the title line of
// its header, its lyric records and their lines, and whatever departs from
// the shape that the text stream writer gives every song.

#include <cstdint>
#include <span>
#include <vector>

#include "readback/stream_problem.h"

namespace zmr {

struct TextRecord {
    static constexpr uint8_t kLineEnd = 13;

    uint8_t code = 0;
    uint8_t lineFeed = 0;  // 10 exactly when the code is 13
    uint16_t time = 0;     // time units, low 16 bits

    bool endsLine() const { return code == kLineEnd; }
};

struct TextStreamParts {
    std::vector<TextRecord> records;  // every whole record of the stream
    // The codes of the header's third line after its '@'; empty when the
    // header cannot be found.
    std::vector<uint8_t> titleCodes;
    // Lyric records are records[lyricsBegin, lyricsEnd): after the header,
    // before the two closing records.
    size_t lyricsBegin = 0;
    size_t lyricsEnd = 0;
    bool headerFound = false;
    std::vector<StreamProblem> problems;

    std::span<const TextRecord> lyrics() const {
        return std::span<const TextRecord>(records).subspan(lyricsBegin, lyricsEnd - lyricsBegin);
    }
};

TextStreamParts readTextStream(std::span<const uint8_t> stream);

// The lyric records cut into the player's lines: each line's records up to and
// with its line end; the last line may have none. Every line has a record.
std::vector<std::span<const TextRecord>> splitLyricLines(std::span<const TextRecord> lyrics);

// One line as the player shows it: the codes up to a line end (13), stamped
// with the time of its first record.
struct LyricLine {
    uint16_t time = 0;
    std::vector<uint8_t> codes;
};

std::vector<LyricLine> lyricLines(std::span<const TextRecord> lyrics);

// Lyric records other than line ends.
size_t lyricCharacterCount(std::span<const TextRecord> lyrics);

}  // namespace zmr
