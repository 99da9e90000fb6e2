#include "playback/transport.h"

#include <algorithm>

namespace zmr {

Transport::Transport(const PlaybackClock& clock, PlaybackTime length)
    : clock_(clock), length_(std::max(length, PlaybackTime(0))) {}

PlaybackTime Transport::positionLocked() const {
    const PlaybackTime position = playing_ ? base_ + (clock_.now() - startedAt_) : base_;
    return std::clamp(position, PlaybackTime(0), length_);
}

void Transport::moveLocked(PlaybackTime position) {
    base_ = std::clamp(position, PlaybackTime(0), length_);
    startedAt_ = clock_.now();
    ++jumps_;
}

Transport::State Transport::state() const {
    const std::lock_guard lock(mutex_);
    return State{positionLocked(), playing_ && positionLocked() < length_, jumps_};
}

void Transport::play() {
    const std::lock_guard lock(mutex_);
    if (playing_ && positionLocked() < length_) return;
    const PlaybackTime from = positionLocked();
    if (from >= length_) {
        moveLocked(PlaybackTime(0));
    } else {
        base_ = from;
        startedAt_ = clock_.now();
    }
    playing_ = true;
}

void Transport::pause() {
    const std::lock_guard lock(mutex_);
    base_ = positionLocked();
    playing_ = false;
}

void Transport::togglePause() {
    if (playing()) {
        pause();
    } else {
        play();
    }
}

void Transport::seek(PlaybackTime position) {
    const std::lock_guard lock(mutex_);
    moveLocked(position);
}

void Transport::seekBy(PlaybackTime offset) {
    const std::lock_guard lock(mutex_);
    moveLocked(positionLocked() + offset);
}

void Transport::stop() {
    const std::lock_guard lock(mutex_);
    playing_ = false;
    moveLocked(PlaybackTime(0));
}

}  // namespace zmr
