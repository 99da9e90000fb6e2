#include "render_song.h"

#include "bar_plan.h"
#include "conductor_track.h"
#include "karaoke_headers.h"
#include "parts.h"

namespace zmr::examples {
namespace {

Timeline instrumentTrack(const Song& song, const std::string& name, uint8_t channel, uint8_t program, uint8_t volume,
                         uint8_t pan) {
    Timeline track(song.runningStatus);
    track.meta(0, 0x03, name);
    track.meta(0, 0x21, std::string(1, '\0'));  // MIDI port 0
    addChannelSetup(track, channel, program, volume, pan);
    return track;
}

}  // namespace

std::vector<uint8_t> renderSong(const Song& song) {
    const std::vector<Bar> bars = planBars(song);
    const uint32_t end = barStart(bars, bars.size());

    Timeline words;
    if (song.karaokeText) addKaraokeHeaders(song, words);
    Timeline melody = instrumentTrack(song, "Melody", kMelodyChannel, song.instruments.melody, 110, 64);
    Timeline chords = instrumentTrack(song, "Chords", kChordChannel, song.instruments.chords, 84, 40);
    Timeline bass = instrumentTrack(song, "Bass", kBassChannel, song.instruments.bass, 96, 72);
    Timeline drums(song.runningStatus);
    drums.meta(0, 0x03, "Drums");
    drums.meta(0, 0x21, std::string(1, '\0'));
    drums.controller(0, kDrumChannel, 7, 92);

    addMelodyPart(song, bars, melody, song.karaokeText ? words : melody, song.karaokeText ? &words : nullptr);
    addChordPart(song, bars, chords);
    addBassPart(song, bars, bass);
    addDrumPart(song, bars, drums);

    zmr::test::MidiFile file(song.division, 1);
    file.add(conductorTrack(song, bars).write(false, end));
    if (song.karaokeText) file.add(words.write(false, end));
    for (const Timeline* track : {&melody, &chords, &bass, &drums}) file.add(track->write(song.runningStatus, end));
    return file.bytes();
}

}  // namespace zmr::examples
