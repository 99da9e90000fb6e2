#pragma once
// The lyrics of a playing song printed as they come, for output that is not
// a terminal with colours: the title, then each line when its time comes,
// after its time as `zmrimage lyrics` prints it.

#include <cstdio>

#include "playback/lyric_timeline.h"

namespace zmr::cli {

class LyricPrinter {
public:
    // Starting at `from`: the lines before the one showing there are left out.
    LyricPrinter(std::FILE* out, const LyricTimeline& lyrics, PlaybackTime from);

    // Prints every line whose time has come by `position`, in order.
    void printUntil(PlaybackTime position);

private:
    std::FILE* out_;
    const LyricTimeline& lyrics_;
    size_t next_ = 0;
};

}  // namespace zmr::cli
