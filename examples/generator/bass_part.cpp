#include "humanizer.h"
#include "parts.h"

namespace zmr::examples {
namespace {

// The chord's root two octaves below the melody, folded into one octave so the line stays low.
int bassRoot(const Bar& bar, const ChordSpan& span) {
    int note = chordTone(bar.key, span.chord, 0) - 24;
    if (note > bar.key.tonic - 24 + 7) note -= 12;
    return note;
}

int bassFifth(const Bar& bar, const ChordSpan& span) {
    return bassRoot(bar, span) + chordTone(bar.key, span.chord, 2) - chordTone(bar.key, span.chord, 0);
}

}  // namespace

void addBassPart(const Song& song, const std::vector<Bar>& bars, Timeline& track) {
    const Timing timing = timingOf(song);
    const uint32_t e = timing.eighth;
    const uint32_t gap = e / 4;
    Humanizer humanizer(song.seed * 7 + 3);
    for (const Bar& bar : bars) {
        for (const ChordSpan& span : bar.chords) {
            const uint8_t root = static_cast<uint8_t>(bassRoot(bar, span));
            const uint8_t fifth = static_cast<uint8_t>(bassFifth(bar, span));
            const int base = 84 + bar.dynamics;
            switch (song.groove) {
                case Groove::Ballad:  // root, then the fifth halfway through a long chord
                    if (span.length >= 2 * timing.beat * 2) {
                        track.note(span.start, span.length / 2 - gap, kBassChannel, root, humanizer.velocity(base, 4));
                        track.note(span.start + span.length / 2, span.length / 2 - gap, kBassChannel, fifth,
                                   humanizer.velocity(base - 6, 4));
                    } else {
                        track.note(span.start, span.length - gap, kBassChannel, root, humanizer.velocity(base, 4));
                    }
                    break;
                case Groove::Festive:  // root and octave in running eighths
                    for (uint32_t t = 0, i = 0; t < span.length; t += e, ++i)
                        track.note(span.start + t, e - gap, kBassChannel, static_cast<uint8_t>(root + (i % 2) * 12),
                                   humanizer.velocity(base - (i % 2) * 10, 5));
                    break;
                case Groove::Pop:  // root on the beats, the fifth leading into the next chord
                    for (uint32_t t = 0; t < span.length; t += timing.beat)
                        track.note(span.start + t, (t + timing.beat < span.length ? timing.beat : e) - gap,
                                   kBassChannel, root, humanizer.velocity(base - (t == 0 ? 0 : 8), 5));
                    track.note(span.start + span.length - e, e - gap, kBassChannel, fifth, humanizer.velocity(base - 10, 5));
                    break;
                case Groove::Waltz:  // the "oom" on the first beat
                    track.note(span.start, timing.beat - gap, kBassChannel, root, humanizer.velocity(base - 10, 4));
                    break;
            }
        }
    }
}

}  // namespace zmr::examples
