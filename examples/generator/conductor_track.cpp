#include "conductor_track.h"

#include <cmath>
#include <string>

namespace zmr::examples {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int value : values) out += static_cast<char>(value);
    return out;
}

void keySignature(Timeline& track, uint32_t tick, const Song& song, int transpose) {
    track.meta(tick, 0x59, bytes({keySignatureSharps(song.key, transpose), song.key.minor ? 1 : 0}));
}

}  // namespace

uint32_t tempoOf(double beatsPerMinute) { return static_cast<uint32_t>(std::lround(60'000'000.0 / beatsPerMinute)); }

Timeline conductorTrack(const Song& song, const std::vector<Bar>& bars) {
    Timeline track;
    if (song.karaokeText) track.meta(0, 0x01, "@KMIDI KARAOKE FILE");
    track.meta(0, 0x03, song.title);
    track.meta(0, 0x02, "Free to use: an example song of the zmrimage project");
    // General MIDI on: the player and any synthesizer start from the same sounds.
    track.add(0, Order::Meta, [](zmr::test::TrackWriter& w, uint32_t delta) { w.sysex(delta, {0x7E, 0x7F, 0x09, 0x01, 0xF7}); });
    // Beats per bar, a quarter-note beat, 24 clocks per click, 8 thirty-seconds per quarter.
    track.meta(0, 0x58, bytes({song.beatsPerBar, 2, 24, 8}));
    for (const TempoChange& change : song.tempi) {
        const uint32_t tempo = tempoOf(change.beatsPerMinute);
        track.meta(barStart(bars, static_cast<size_t>(change.bar)), 0x51,
                   bytes({static_cast<int>(tempo >> 16), static_cast<int>((tempo >> 8) & 0xFF), static_cast<int>(tempo & 0xFF)}));
    }
    size_t bar = 0;
    int transpose = 0;
    for (size_t i = 0; i < song.sections.size(); ++i) {
        const Section& section = song.sections[i];
        const uint32_t tick = barStart(bars, bar);
        if (i == 0 || section.transpose != transpose) keySignature(track, tick, song, section.transpose);
        transpose = section.transpose;
        track.meta(tick, 0x06, section.name);
        bar += parseChords(section.chords).size();
    }
    return track;
}

}  // namespace zmr::examples
