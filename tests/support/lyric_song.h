#pragma once
// A short song with three lyric lines at known times, for the tests of what
// a preview shows when. One tick is one 17 ms time unit (division 1 at
// 17,000 microseconds per quarter note), so the times below are the records'.
//
//   line 1  "Em yêu ấm"  E, m at 50; the space, y, ê, u at 100; the rest at 150
//   line 2  "Đi tươi"    Đ, i at 200 (3.40 s); the space and "tươi" at 260
//   line 3  "Việt Nam"   from 700 (11.90 s)
// The notes run to 1000 units (17 s), none more than 255 units apart.

#include <cstdint>
#include <vector>

#include "support/midi_writer.h"

namespace zmr::test {

inline std::vector<uint8_t> lyricSong() {
    TrackWriter music;
    music.tempo(0, 17000).programChange(0, 0, 19);
    uint32_t last = 0;
    for (const uint32_t start : {0u, 200u, 400u, 600u, 800u, 900u}) {
        music.noteOn(start - last, 0, 60, 100).noteOff(100, 0, 60);
        last = start + 100;
    }
    music.endOfTrack();
    TrackWriter words;
    uint32_t at = 0;
    const auto lyric = [&](uint32_t time, const char* text) {
        words.lyric(time - at, text);
        at = time;
    };
    lyric(50, "Em ");
    lyric(100, "ye^u ");
    lyric(150, "a^'m\r");
    lyric(200, "DDi ");
    lyric(260, "tu*o*i\r");
    lyric(700, "Vie^.t ");
    lyric(760, "Nam\r");
    words.endOfTrack();
    return MidiFile(1).add(music).add(words).bytes();
}

}  // namespace zmr::test
