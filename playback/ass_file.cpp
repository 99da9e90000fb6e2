#include "playback/ass_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "midi/time_units.h"

namespace zmr {
namespace {

// How long the last line stays, and the shortest any line stays after its
// last group lights up.
constexpr int64_t kLastLineCentis = 300;
constexpr int64_t kShortestTailCentis = 50;

// Hundredths of a second, rounded down as minutesSecondsCentis rounds them.
int64_t centisOf(uint16_t units) { return static_cast<int64_t>(units) * kMillisecondsPerUnit / 10; }

std::string assTime(int64_t centis) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", static_cast<long long>(centis / 360000),
                  static_cast<long long>(centis / 6000 % 60), static_cast<long long>(centis / 100 % 60),
                  static_cast<long long>(centis % 100));
    return text;
}

// Braces would start an override block.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '{' || c == '}') out += '\\';
        out += c;
    }
    return out;
}

constexpr char kHeader[] =
    "ScriptType: v4.00+\n"
    "PlayResX: 1280\n"
    "PlayResY: 720\n"
    "WrapStyle: 2\n"
    "ScaledBorderAndShadow: yes\n"
    "\n"
    "[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, "
    "Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
    "MarginV, Encoding\n"
    // Sung text turns from white (secondary) to gold (primary), colours as &HAABBGGRR.
    "Style: Default,DejaVu Sans,64,&H0000D7FF,&H00FFFFFF,&H00000000,&H80000000,-1,0,0,0,100,100,0,0,1,3,1,2,40,40,"
    "60,1\n"
    "\n"
    "[Events]\n"
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";

}  // namespace

std::string assFile(const LyricTimeline& lyrics) {
    std::string out = "[Script Info]\nTitle: " + lyrics.title() + "\n" + kHeader;
    const std::vector<TimedLine>& lines = lyrics.lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::vector<CharacterGroup> groups = characterGroups(lines[i]);
        if (groups.empty()) continue;
        const int64_t start = centisOf(lines[i].units);
        std::vector<int64_t> times;
        for (const CharacterGroup& g : groups) times.push_back(std::max(centisOf(g.units), times.empty() ? start : times.back()));
        const int64_t lastLit = times.back();
        int64_t end = i + 1 < lines.size() ? centisOf(lines[i + 1].units) : lastLit + kLastLineCentis;
        end = std::max(end, lastLit + kShortestTailCentis);

        // The line starts with its first record, which is its first group.
        std::string text;
        for (size_t g = 0; g < groups.size(); ++g) {
            const int64_t until = g + 1 < groups.size() ? times[g + 1] : end;
            text += "{\\k" + std::to_string(until - times[g]) + "}" + escaped(groups[g].text);
        }
        out += "Dialogue: 0," + assTime(start) + "," + assTime(end) + ",Default,,0,0,0,," + text + "\n";
    }
    return out;
}

}  // namespace zmr
