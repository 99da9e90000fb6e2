#include "bar_plan.h"

#include <stdexcept>

#include "melody.h"

namespace zmr::examples {

Timing timingOf(const Song& song) {
    const uint32_t beat = song.division;
    return Timing{beat / 2, beat, beat * static_cast<uint32_t>(song.beatsPerBar)};
}

std::vector<Bar> planBars(const Song& song) {
    const Timing timing = timingOf(song);
    std::vector<Bar> bars;
    uint32_t tick = 0;
    for (const Section& section : song.sections) {
        const std::vector<BarChords> chords = parseChords(section.chords);
        const int eighths = melodyLength(parseMelody(section.melody, song.beatsPerBar * 2));
        if (eighths != static_cast<int>(chords.size()) * song.beatsPerBar * 2)
            throw std::runtime_error("section '" + section.name + "' has " + std::to_string(eighths) +
                                     " eighths of melody for " + std::to_string(chords.size()) + " bars");
        for (size_t i = 0; i < chords.size(); ++i) {
            Bar bar{tick, timing.bar, {}, Key{song.key.tonic + section.transpose, song.key.minor},
                    section.dynamics, i == 0, i + 1 == chords.size()};
            const uint32_t share = timing.bar / static_cast<uint32_t>(chords[i].size());
            for (size_t c = 0; c < chords[i].size(); ++c)
                bar.chords.push_back(ChordSpan{tick + static_cast<uint32_t>(c) * share, share, chords[i][c]});
            bars.push_back(bar);
            tick += timing.bar;
        }
    }
    return bars;
}

uint32_t barStart(const std::vector<Bar>& bars, size_t bar) {
    if (bar < bars.size()) return bars[bar].start;
    return bars.empty() ? 0 : bars.back().start + bars.back().length;
}

}  // namespace zmr::examples
