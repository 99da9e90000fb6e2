#include "playback/lrc_file.h"

#include "midi/time_units.h"

namespace zmr {

std::string lrcFile(const LyricTimeline& lyrics) {
    std::string out = "[ti:" + lyrics.title() + "]\n";
    for (const TimedLine& line : lyrics.lines()) {
        out += "[" + minutesSecondsCentis(line.units) + "]";
        for (const CharacterGroup& group : characterGroups(line)) {
            out += "<" + minutesSecondsCentis(group.units) + ">" + group.text;
        }
        out += "\n";
    }
    return out;
}

}  // namespace zmr
