#include "midi/event_stream.h"

#include <algorithm>
#include <cstring>

namespace zmr {

namespace {

// The least a full buffer grows by.
constexpr size_t kGrowth = 4096;

}  // namespace

EventStream::EventStream() : pending_(kKeys) {}

void EventStream::startEventStream(uint32_t totalTrackBytes) {
    // The player's buffer is twice the track bytes; ours grows past that when
    // a song packs more records than it would hold. Allocated, not filled: the
    // pages are touched only as records are written.
    size_ = 0;
    if (capacity_ < size_t{totalTrackBytes} * 2) reallocate(size_t{totalTrackBytes} * 2);
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

void EventStream::grow() { reallocate(std::max(capacity_ * 2, size_ + kGrowth)); }

void EventStream::reallocate(size_t capacity) {
    std::unique_ptr<uint8_t[]> larger(new uint8_t[capacity]);  // left unfilled
    if (size_ > 0) std::memcpy(larger.get(), buffer_.get(), size_);
    buffer_ = std::move(larger);
    capacity_ = capacity;
}

void EventStream::finishEventStream() {
    forgetPendingNotes();
}

}  // namespace zmr
