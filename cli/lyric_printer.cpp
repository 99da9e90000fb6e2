#include "cli/lyric_printer.h"

#include "midi/time_units.h"
#include "playback/playback_time.h"

namespace zmr::cli {

LyricPrinter::LyricPrinter(std::FILE* out, const LyricTimeline& lyrics, PlaybackTime from)
    : out_(out), lyrics_(lyrics), next_(lyrics.at(from).line.value_or(0)) {
    std::fprintf(out_, "Title: %s\n", lyrics_.title().c_str());
    std::fflush(out_);
}

void LyricPrinter::printUntil(PlaybackTime position) {
    const std::vector<TimedLine>& lines = lyrics_.lines();
    bool printed = false;
    while (next_ < lines.size() && unitsToTime(lines[next_].units) <= position) {
        std::fprintf(out_, "%s  %s\n", minutesSecondsCentis(lines[next_].units).c_str(), lyrics_.text(next_).c_str());
        ++next_;
        printed = true;
    }
    if (printed) std::fflush(out_);
}

}  // namespace zmr::cli
