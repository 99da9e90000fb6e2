#pragma once
// One picture of the play screen, as text for a terminal that takes ANSI
// escape sequences: the song's number and title, the current lyric line with
// the characters already sung highlighted, the next line dimmed, the
// position against the length, and the keys.
//
//    song 3 · Hanh Trinh Dai
//
//      Sáng nay tôi đi trên đường xa        (sung part: bold yellow)
//      Bầu trời xanh ngắt mây trắng bay     (dim)
//
//    ▶ 01:12 / 03:50
//    Space pause · ←/→ 10 s · q quit
//    FluidSynth through PulseAudio, SoundFont /usr/share/sounds/sf2/default-GM.sf2

#include <string>

#include "playback/lyric_timeline.h"
#include "playback/transport.h"

namespace zmr::cli {

inline constexpr char kSungStart[] = "\x1b[1;33m";  // bold yellow
inline constexpr char kNextStart[] = "\x1b[2m";     // dim
inline constexpr char kPlainStyle[] = "\x1b[0m";
inline constexpr char kScreenHome[] = "\x1b[H";

struct KaraokeFrame {
    int32_t song = 0;
    const LyricTimeline* lyrics = nullptr;
    Transport::State state;
    PlaybackTime length{0};
    std::string sound;  // what plays, or why nothing does
    int columns = 80;
    int rows = 24;
};

// The whole screen, from its top left corner; each row clears what is left
// of it, so a picture drawn over another leaves nothing of it behind. On a
// terminal of fewer rows than the picture has, the least needed rows are left
// out (blank rows, the sound, the keys, the title), so that the picture never
// scrolls the screen.
std::string drawKaraokeFrame(const KaraokeFrame& frame);

}  // namespace zmr::cli
