#pragma once
// What a preview window shows of a song's lyrics at a position, whatever
// draws it: the title, the current line split where the singing has got to,
// and the line after it.

#include <cstddef>
#include <string>

#include "playback/lyric_timeline.h"

namespace zmr {

struct KaraokeLines {
    std::string title;
    std::string sung;    // the current line's characters already sung, in UTF-8
    std::string unsung;  // the rest of the current line
    std::string next;
    size_t sungCharacters = 0;  // characters in `sung`, as the records count them

    bool operator==(const KaraokeLines&) const = default;
};

// Nothing without lyrics.
KaraokeLines karaokeLinesAt(const LyricTimeline* lyrics, PlaybackTime position);

}  // namespace zmr
