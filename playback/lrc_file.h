#pragma once
// The lyrics as enhanced LRC: a line per lyric line, stamped [mm:ss.cc] with
// the time of its first record, and each character group inside it led by
// <mm:ss.cc>, the times that `zmrimage lyrics` prints.

#include <string>

#include "playback/lyric_timeline.h"

namespace zmr {

std::string lrcFile(const LyricTimeline& lyrics);

}  // namespace zmr
