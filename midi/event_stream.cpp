#include "midi/event_stream.h"

#include <algorithm>

namespace zmr {

namespace {

// Bytes the buffer's filled part grows by at a time, within what was reserved.
constexpr size_t kGrowth = 4096;

}  // namespace

EventStream::EventStream() : pending_(kKeys) {}

void EventStream::startEventStream(uint32_t totalTrackBytes) {
    // The player's buffer is twice the track bytes; ours grows past that when
    // a song packs more records than it would hold. Reserved, not filled: the
    // pages are touched only as records are written.
    size_ = 0;
    buffer_.reserve(size_t{totalTrackBytes} * 2);
    previousTime_ = 0;
    forgetPendingNotes();
}

void EventStream::forgetPendingNotes() {
    if (++generation_ == 0) {
        // After 2^32 streams the generations come round again.
        std::fill(pending_.begin(), pending_.end(), PendingNote{});
        generation_ = 1;
    }
}

void EventStream::grow() { buffer_.resize(size_ + kGrowth); }

void EventStream::finishEventStream() {
    forgetPendingNotes();
}

}  // namespace zmr
