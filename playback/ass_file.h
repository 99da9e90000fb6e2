#pragma once
// The lyrics as Advanced SubStation Alpha subtitles with karaoke timing: one
// dialogue line per lyric line, from its time until the next line's, each
// character group led by {\kN}, N the hundredths of a second until the next
// group, so that a player that shows subtitles lights each group up at the
// time `zmrimage lyrics` gives it. A group whose time runs backwards within
// its line (after a tempo change) cannot be written so; it lights up with the
// group before it.

#include <string>

#include "playback/lyric_timeline.h"

namespace zmr {

std::string assFile(const LyricTimeline& lyrics);

}  // namespace zmr
