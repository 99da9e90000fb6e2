#include <stdexcept>

#include "humanizer.h"
#include "lyrics.h"
#include "melody.h"
#include "parts.h"
#include "vni.h"

namespace zmr::examples {
namespace {

// Karaoke text events mark a new page with '\' and a new line with '/'.
std::string karaokeWordText(const LyricLine& line, size_t syllable, bool firstLine, const Song& song) {
    std::string text = line[syllable];
    if (syllable == 0) text = (firstLine ? "\\" : "/") + text;
    if (syllable + 1 < line.size()) text += ' ';
    return song.encoding == LyricEncoding::Vni ? viqrToVni(text) : text;
}

struct Syllable {
    size_t line;
    size_t index;
};

std::vector<Syllable> syllablesOf(const std::vector<LyricLine>& lines) {
    std::vector<Syllable> all;
    for (size_t l = 0; l < lines.size(); ++l)
        for (size_t s = 0; s < lines[l].size(); ++s) all.push_back({l, s});
    return all;
}

size_t sungNotes(const std::vector<MelodyNote>& melody) {
    size_t count = 0;
    for (const MelodyNote& note : melody) count += (!note.rest && !note.melisma) ? 1 : 0;
    return count;
}

}  // namespace

void addMelodyPart(const Song& song, const std::vector<Bar>& bars, Timeline& melody, Timeline& lyrics,
                   Timeline* words) {
    const Timing timing = timingOf(song);
    Humanizer humanizer(song.seed * 7 + 1);
    size_t firstBar = 0;
    for (const Section& section : song.sections) {
        const Bar& bar = bars[firstBar];
        const std::vector<MelodyNote> notes = parseMelody(section.melody, song.beatsPerBar * 2);
        const std::vector<LyricLine> lines = parseLyrics(section.lyrics);
        const std::vector<Syllable> syllables = syllablesOf(lines);
        if (!syllables.empty() && syllables.size() != sungNotes(notes))
            throw std::runtime_error("section '" + section.name + "' has " + std::to_string(syllables.size()) +
                                     " syllables for " + std::to_string(sungNotes(notes)) + " notes");
        uint32_t tick = bar.start;
        size_t next = 0;
        bool lineOpen = false;  // a line's last syllable is sung and its own line break is still due
        for (const MelodyNote& note : notes) {
            const uint32_t length = static_cast<uint32_t>(note.eighths) * timing.eighth;
            if (lineOpen && !note.melisma) {
                lyrics.meta(tick, 0x05, lineBreakEventText());
                lineOpen = false;
            }
            if (!note.rest) {
                const bool downbeat = (tick - bar.start) % timing.bar == 0;
                const int pitch = noteOfStep(bars[firstBar].key, note.step) + note.semitone;
                melody.note(tick, length - timing.eighth / 4, kMelodyChannel, static_cast<uint8_t>(pitch),
                            humanizer.velocity(90 + section.dynamics + (downbeat ? 6 : 0), 5));
            }
            if (!note.rest && !note.melisma && !syllables.empty()) {
                const Syllable s = syllables[next++];
                lyrics.meta(tick, 0x05, lyricEventText(lines[s.line], s.index, song));
                if (words) words->meta(tick, 0x01, karaokeWordText(lines[s.line], s.index, s.line == 0, song));
                lineOpen = song.lineBreak == LineBreak::OwnEvent && s.index + 1 == lines[s.line].size();
            }
            tick += length;
        }
        if (lineOpen) lyrics.meta(tick, 0x05, lineBreakEventText());
        firstBar += parseChords(section.chords).size();
    }
}

}  // namespace zmr::examples
