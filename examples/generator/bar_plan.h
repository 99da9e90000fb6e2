#pragma once
// The song laid out bar by bar in ticks: where each bar starts, its chords,
// its key and dynamics. The accompaniment parts play from this plan.

#include <cstdint>
#include <vector>

#include "chords.h"
#include "key.h"
#include "song.h"

namespace zmr::examples {

struct ChordSpan {
    uint32_t start = 0;
    uint32_t length = 0;
    Chord chord;
};

struct Bar {
    uint32_t start = 0;
    uint32_t length = 0;
    std::vector<ChordSpan> chords;
    Key key;  // transposed for the bar's section
    int dynamics = 0;
    bool sectionStart = false;
    bool sectionEnd = false;
};

struct Timing {
    uint32_t eighth;  // ticks
    uint32_t beat;
    uint32_t bar;
};

Timing timingOf(const Song& song);

// Throws std::runtime_error when a section's melody does not fill its bars.
std::vector<Bar> planBars(const Song& song);

// The tick at which `bar` starts; past the last bar, the end of the song.
uint32_t barStart(const std::vector<Bar>& bars, size_t bar);

}  // namespace zmr::examples
