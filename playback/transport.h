#pragma once
// Where a song stands while it plays: the position follows the clock while
// playing and stays while paused; a seek moves it. The screen that shows the
// lyrics and the thread that sends the music read the same transport, so
// what is heard and what is highlighted stay together. Safe to use from both.

#include <cstdint>
#include <mutex>

#include "playback/playback_clock.h"

namespace zmr {

class Transport {
public:
    // `clock` must outlive the transport.
    Transport(const PlaybackClock& clock, PlaybackTime length);

    struct State {
        PlaybackTime position{0};
        bool playing = false;
        // Counts the seeks: a position that moved by a seek is not played
        // through, it is jumped to.
        uint64_t jumps = 0;
    };
    State state() const;
    PlaybackTime position() const { return state().position; }
    bool playing() const { return state().playing; }
    PlaybackTime length() const { return length_; }
    // The end is reached; the position stays there.
    bool finished() const { return position() >= length_; }

    void play();  // from the start when the end has been reached
    void pause();
    void togglePause();
    // Playing or paused as before; the position is kept within the song.
    void seek(PlaybackTime position);
    void seekBy(PlaybackTime offset);
    // Paused at the start.
    void stop();

private:
    PlaybackTime positionLocked() const;
    void moveLocked(PlaybackTime position);

    const PlaybackClock& clock_;
    const PlaybackTime length_;
    mutable std::mutex mutex_;
    bool playing_ = false;
    PlaybackTime base_{0};       // the position when the clock read startedAt_
    PlaybackTime startedAt_{0};  // clock time at base_, while playing
    uint64_t jumps_ = 0;
};

}  // namespace zmr
