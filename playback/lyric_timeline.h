#pragma once
// A song's lyrics as the player shows them in time: the text in lines (a
// line ends at a carriage return record), each character with the time of
// its record, and what shows at a position: the current line, how much of it
// is sung, and the line after it.
//
// A record carries the time of the lyric event whose byte completed it, so
// the last letter of a syllable often lights up with the next syllable: the
// player shows it so, and so does this. Times are the records' own, modulo
// 65536 units as stored; where a tempo change made them run backwards, they
// are kept as they are, as `zmrimage lyrics` prints them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "playback/playback_clock.h"
#include "readback/text_records.h"

namespace zmr {

struct TimedCharacter {
    std::string text;  // one character in UTF-8
    uint16_t units = 0;
};

struct TimedLine {
    uint16_t units = 0;  // the time of its first record, as `zmrimage lyrics` shows it
    std::vector<TimedCharacter> characters;
};

// Characters of a line in a row that share one time: a syllable, as the
// player lights it up at once.
struct CharacterGroup {
    uint16_t units = 0;
    std::string text;
};

struct LyricView {
    std::optional<size_t> line;  // nothing when the song has no lyrics
    size_t sung = 0;             // characters of it already sung
    std::optional<size_t> next;
};

class LyricTimeline {
public:
    LyricTimeline() = default;
    // The title line of the header and the lyric records.
    explicit LyricTimeline(const TextStreamParts& text);

    const std::string& title() const { return title_; }
    const std::vector<TimedLine>& lines() const { return lines_; }
    // The time of the last lyric record; 0 without lyrics.
    uint16_t lastUnits() const { return lastUnits_; }

    // What shows at `position`: the last line whose time has come (before the
    // first, the first, nothing sung yet), the characters up to the last one
    // whose time has come, and the line after it.
    LyricView at(PlaybackTime position) const;

    // The text of line `line`, from character `from` to character `to`.
    std::string text(size_t line, size_t from = 0, size_t to = SIZE_MAX) const;

private:
    std::string title_;
    std::vector<TimedLine> lines_;
    uint16_t lastUnits_ = 0;
};

std::vector<CharacterGroup> characterGroups(const TimedLine& line);

}  // namespace zmr
