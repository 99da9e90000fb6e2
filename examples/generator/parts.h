#pragma once
// The tracks of a song's arrangement, each added to its own timeline.

#include <vector>

#include "bar_plan.h"
#include "song.h"
#include "timeline.h"

namespace zmr::examples {

// General MIDI channels: the drums are on channel 10, index 9.
inline constexpr uint8_t kMelodyChannel = 0;
inline constexpr uint8_t kChordChannel = 1;
inline constexpr uint8_t kBassChannel = 2;
inline constexpr uint8_t kDrumChannel = 9;

// The melody with its lyric events (into `lyrics`, which may be `melody`
// itself) and, for karaoke files, the same words as text events into `words`.
// Throws std::runtime_error when a section's syllables and notes do not pair up.
void addMelodyPart(const Song& song, const std::vector<Bar>& bars, Timeline& melody, Timeline& lyrics,
                   Timeline* words);
void addChordPart(const Song& song, const std::vector<Bar>& bars, Timeline& track);
void addBassPart(const Song& song, const std::vector<Bar>& bars, Timeline& track);
void addDrumPart(const Song& song, const std::vector<Bar>& bars, Timeline& track);

// Program, volume, pan and reverb at the start of an instrument track.
void addChannelSetup(Timeline& track, uint8_t channel, uint8_t program, uint8_t volume, uint8_t pan);

}  // namespace zmr::examples
