#include <algorithm>

#include "humanizer.h"
#include "parts.h"

namespace zmr::examples {
namespace {

// The chord's tones an octave below the melody.
int voice(const Bar& bar, const ChordSpan& span, int tone) { return chordTone(bar.key, span.chord, tone) - 12; }

void strike(Timeline& track, const Bar& bar, const ChordSpan& span, uint32_t tick, uint32_t length,
            Humanizer& humanizer, int base) {
    for (int tone = 0; tone < 3; ++tone)
        track.note(tick, length, kChordChannel, static_cast<uint8_t>(voice(bar, span, tone)),
                   humanizer.velocity(base + bar.dynamics, 4));
}

// A broken chord of eighth notes, each held into the next, as a guitar or piano plays a ballad.
void arpeggiate(Timeline& track, const Bar& bar, const ChordSpan& span, uint32_t eighth, Humanizer& humanizer) {
    constexpr int kPattern[8] = {0, 2, 3, 1, 2, 3, 1, 2};
    for (uint32_t i = 0; i * eighth < span.length; ++i) {
        const int tone = kPattern[i % 8];
        const int pitch = tone == 3 ? voice(bar, span, 0) + 12 : voice(bar, span, tone) + (i % 4 == 3 ? 12 : 0);
        track.note(span.start + i * eighth, 2 * eighth - eighth / 4, kChordChannel, static_cast<uint8_t>(pitch),
                   humanizer.velocity(58 + bar.dynamics + (i == 0 ? 8 : 0), 5));
    }
}

}  // namespace

void addChordPart(const Song& song, const std::vector<Bar>& bars, Timeline& track) {
    const Timing timing = timingOf(song);
    const uint32_t gap = timing.eighth / 4;
    Humanizer humanizer(song.seed * 7 + 2);
    for (const Bar& bar : bars) {
        if (bar.sectionStart)  // expression follows the section's dynamics
            track.controller(bar.start, kChordChannel, 11, static_cast<uint8_t>(std::clamp(100 + 2 * bar.dynamics, 0, 127)));
        for (const ChordSpan& span : bar.chords) {
            switch (song.groove) {
                case Groove::Ballad:
                    arpeggiate(track, bar, span, timing.eighth, humanizer);
                    break;
                case Groove::Festive:  // short chords on the off-beats
                    for (uint32_t t = timing.eighth; t < span.length; t += timing.beat)
                        strike(track, bar, span, span.start + t, timing.eighth / 2, humanizer, 70);
                    break;
                case Groove::Pop:  // a chord every two beats
                    for (uint32_t t = 0; t < span.length; t += 2 * timing.beat)
                        strike(track, bar, span, span.start + t, std::min(2 * timing.beat, span.length - t) - gap,
                               humanizer, 62);
                    break;
                case Groove::Waltz:  // the "pah pah" after the bass's "oom"
                    for (uint32_t t = timing.beat; t < span.length; t += timing.beat)
                        strike(track, bar, span, span.start + t, timing.beat - gap, humanizer, 50);
                    break;
            }
        }
    }
}

}  // namespace zmr::examples
