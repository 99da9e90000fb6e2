#pragma once
// The play screen at work: keys move the transport (Space pauses and
// resumes, the left and right arrows seek 10 seconds, q, Ctrl+C and
// Ctrl+\ end, Ctrl+Z pauses while the process is stopped), and
// every turn draws the screen at the transport's position. The clock is the
// transport's, so a test that moves its own clock sees the screen at any
// moment of the song.

#include <chrono>
#include <optional>
#include <string>

#include "cli/terminal.h"
#include "playback/preview_song.h"
#include "playback/transport.h"

namespace zmr::cli {

// How long a play goes on after the song has ended, for the last notes to ring out.
inline constexpr PlaybackTime kRingOut(1000);
inline constexpr PlaybackTime kSeekStep(10000);

class KaraokeTerminal {
public:
    // Everything given must outlive this object.
    KaraokeTerminal(Terminal& terminal, Transport& transport, const PlaybackClock& clock, const PreviewSong& song,
                    std::string sound);

    // One turn: waits up to `wait` for a key and acts on it, then draws.
    // False once the user has quit, or the song has ended and rung out.
    bool step(std::chrono::milliseconds wait);
    // The key that ended the play (Quit, Interrupt or QuitSignal); None
    // while it goes on or when the song ended by itself.
    TerminalKey endKey() const { return endKey_; }

private:
    Terminal& terminal_;
    Transport& transport_;
    const PlaybackClock& clock_;
    const PreviewSong& song_;
    std::string sound_;
    std::optional<PlaybackTime> endedAt_;
    TerminalKey endKey_ = TerminalKey::None;
};

}  // namespace zmr::cli
