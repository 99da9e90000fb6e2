#pragma once
// Song files as they turn up in old collections and downloads: cut short,
// lying about their sizes, or not MIDI at all. Shared by the hardening tests.

#include <cstdint>
#include <random>
#include <vector>

#include "support/midi_writer.h"

namespace zmr::test {

using Bytes = std::vector<uint8_t>;

// One note with a lyric: the honest song that the hostile ones are made from.
inline Bytes honestSong() { return oneNoteSong("La"); }

// A song of one track holding `events` after a note-on (so a rejection is
// visibly not about the first event).
inline Bytes songWithEvents(std::initializer_list<uint8_t> events, std::optional<uint32_t> claimedLength = std::nullopt) {
    TrackWriter track;
    track.noteOn(0, 0, 60, 100).raw(events);
    return MidiFile(96).add(track, claimedLength).bytes();
}

// An honest song of `notes` notes whose pitches and velocities follow a seed,
// so that it compresses poorly and fills a disk quickly.
inline Bytes noisySong(uint32_t seed, int notes) {
    std::mt19937 generator(seed);
    TrackWriter track;
    track.lyric(0, "Noise");
    for (int i = 0; i < notes; ++i) {
        const auto note = static_cast<uint8_t>(generator() % 128);
        track.noteOn(generator() % 7, 0, note, static_cast<uint8_t>(1 + generator() % 127)).noteOff(generator() % 30, 0, note);
    }
    return MidiFile(96).add(track.endOfTrack()).bytes();
}

inline Bytes randomBytes(size_t size, uint32_t seed) {
    std::mt19937 generator(seed);
    Bytes bytes(size);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(generator());
    return bytes;
}

}  // namespace zmr::test
