#include "playback/lyric_timeline.h"

#include <algorithm>

#include "playback/playback_time.h"
#include "text/code_page_inverse.h"

namespace zmr {
namespace {

std::string characterText(uint8_t code) {
    std::string text;
    appendUtf8(text, CodePageInverse::standard().unicode(code));
    return text;
}

}  // namespace

LyricTimeline::LyricTimeline(const TextStreamParts& text) : title_(codesToUtf8(text.titleCodes)) {
    for (const std::span<const TextRecord> records : splitLyricLines(text.lyrics())) {
        TimedLine& line = lines_.emplace_back(TimedLine{records.front().time, {}});
        for (const TextRecord& r : records)
            if (!r.endsLine()) line.characters.push_back(TimedCharacter{characterText(r.code), r.time});
    }
    if (!text.lyrics().empty()) lastUnits_ = text.lyrics().back().time;
}

LyricView LyricTimeline::at(PlaybackTime position) const {
    LyricView view;
    if (lines_.empty()) return view;
    size_t current = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (unitsToTime(lines_[i].units) <= position) current = i;
    }
    view.line = current;
    const std::vector<TimedCharacter>& characters = lines_[current].characters;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (unitsToTime(characters[i].units) <= position) view.sung = i + 1;
    }
    if (current + 1 < lines_.size()) view.next = current + 1;
    return view;
}

std::string LyricTimeline::text(size_t line, size_t from, size_t to) const {
    std::string out;
    const std::vector<TimedCharacter>& characters = lines_.at(line).characters;
    for (size_t i = from; i < std::min(to, characters.size()); ++i) out += characters[i].text;
    return out;
}

std::vector<CharacterGroup> characterGroups(const TimedLine& line) {
    std::vector<CharacterGroup> groups;
    for (const TimedCharacter& c : line.characters) {
        if (groups.empty() || groups.back().units != c.units) groups.push_back(CharacterGroup{c.units, {}});
        groups.back().text += c.text;
    }
    return groups;
}

}  // namespace zmr
