#pragma once
// Works on songs ahead of the thread that takes them, on worker threads, each
// song at most a window's length ahead of the one taken, and hands them back
// in list order: a compilation converts the songs it writes this way, and a
// scan looks over songs alike. Paths are read from the source on the calling
// thread only, since a dialog's list is not to be touched elsewhere.
//
// A worker works on a song only when it can without blocking: a song file is
// read ahead only when it is a regular file; anything else (a FIFO, a device)
// is read on the calling thread when its turn comes, and never when the work
// stops before it. Each worker keeps its buffers from song to song, and a
// taken record's bytes can come back to be built into again, so a long run
// allocates nothing per song once the buffers have grown. Whatever the number
// of workers, every song gets the same outcome.

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "base/result.h"
#include "fileio/file_bytes.h"
#include "image/compile_sinks.h"
#include "image/convert_song.h"

namespace zmr {

template <class Outcome>
struct SongWork {
    // On a worker, ahead of the song's turn: nothing when the song is to wait
    // for its turn on the calling thread.
    std::function<std::optional<Outcome>(const std::string& path, ConversionBuffers& buffers)> ahead;
    // On the calling thread, in the song's turn.
    std::function<Outcome(const std::string& path, ConversionBuffers& buffers)> inTurn;
};

// Reads each song file into the buffers and makes its outcome of the bytes;
// a file that cannot be read gives `unreadable` of the reason, in its turn.
template <class Outcome>
SongWork<Outcome> songFileWork(
    std::function<Outcome(const std::string& path, std::span<const uint8_t> bytes, ConversionBuffers& buffers)> fromBytes,
    std::function<Outcome(Failure reason)> unreadable) {
    SongWork<Outcome> work;
    work.ahead = [fromBytes](const std::string& path, ConversionBuffers& buffers) -> std::optional<Outcome> {
        const std::optional<std::span<const uint8_t>> bytes = readRegularFileAhead(path, buffers.file);
        if (!bytes) return std::nullopt;
        std::optional<Outcome> outcome = fromBytes(path, *bytes, buffers);
        releaseOutlierBuffer(buffers.file);
        return outcome;
    };
    work.inTurn = [fromBytes, unreadable](const std::string& path, ConversionBuffers& buffers) -> Outcome {
        Result<std::span<const uint8_t>> bytes = readFileInto(path, buffers.file);
        if (!bytes) return unreadable(bytes.failure());
        Outcome outcome = fromBytes(path, *bytes, buffers);
        releaseOutlierBuffer(buffers.file);
        return outcome;
    };
    return work;
}

template <class Outcome>
class SongPipeline {
public:
    // With `jobs` of 1, or a single song, every song is worked on in its turn
    // on the calling thread.
    SongPipeline(const SongSource& songs, SongWork<Outcome> work, unsigned jobs)
        : songs_(songs), work_(std::move(work)) {
        if (jobs <= 1 || songs.count() <= 1) return;
        slots_.resize(static_cast<size_t>(jobs) * kSongsAheadPerJob);
        const unsigned workers = static_cast<unsigned>(std::min<int64_t>(jobs, songs.count()));
        try {
            workers_.reserve(workers);  // so that adding a started thread cannot fail
            for (unsigned i = 0; i < workers; ++i) workers_.emplace_back([this] { workAhead(); });
        } catch (const std::system_error&) {
            // Fewer threads than asked for still give the same outcomes; none
            // at all leaves every song to the calling thread.
            if (workers_.empty()) slots_.clear();
        } catch (...) {
            // Out of memory, say: the threads started so far end before the
            // members they use go, rather than ending the process as
            // joinable threads destroyed would.
            stopWorkers();
            throw;
        }
    }

    ~SongPipeline() { stopWorkers(); }

    SongPipeline(const SongPipeline&) = delete;
    SongPipeline& operator=(const SongPipeline&) = delete;

    // Song `index` (from 0, one after another) and its outcome. What the work
    // throws in the song's turn reaches the caller.
    std::pair<std::string, Outcome> take(int32_t index) {
        if (slots_.empty()) {
            std::string path = songs_.path(index);
            Outcome outcome = work_.inTurn(path, inTurn_);
            return {std::move(path), std::move(outcome)};
        }
        queueUpTo(index + static_cast<int32_t>(slots_.size()));
        Slot& slot = slots_[slotOf(index)];
        std::unique_lock lock(mutex_);
        if (!done(slot)) {
            // Woken once for a run of songs rather than for each: the thread
            // that takes them then takes the rest of the run without waiting.
            waitFrom_ = index;
            waitTo_ = std::min(index + static_cast<int32_t>(workers_.size() * kSongsPerWakeUpPerJob), queued_) - 1;
            songDone_.wait(lock, [&] { return runDone(); });
            waitFrom_ = waitTo_ = -1;
        }
        const bool inTurn = slot.state == State::InTurn;
        std::string path = std::move(slot.path);
        std::optional<Outcome> outcome = std::move(slot.outcome);
        slot.outcome.reset();
        slot.state = State::Free;
        lock.unlock();
        if (inTurn) {
            Outcome late = work_.inTurn(path, inTurn_);
            return {std::move(path), std::move(late)};
        }
        return {std::move(path), std::move(*outcome)};
    }

    // A taken record's bytes, for a later song to be built in.
    void recycle(std::vector<uint8_t> bytes) {
        if (slots_.empty()) {
            inTurn_.record = std::move(bytes);
            return;
        }
        std::lock_guard lock(mutex_);
        if (spares_.size() < slots_.size()) spares_.push_back(std::move(bytes));
    }

private:
    static constexpr unsigned kSongsAheadPerJob = 4;
    static constexpr unsigned kSongsPerWakeUpPerJob = 2;

    enum class State { Free, Queued, Working, Done, InTurn };
    struct Slot {
        State state = State::Free;
        std::string path;
        std::optional<Outcome> outcome;
    };

    // Each worker ends after the song in hand, which never blocks, so none
    // outlives the pipeline.
    void stopWorkers() noexcept {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        workToDo_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }

    size_t slotOf(int32_t index) const { return static_cast<size_t>(index) % slots_.size(); }

    static bool done(const Slot& slot) { return slot.state == State::Done || slot.state == State::InTurn; }

    // Every song of the run the calling thread waits for is done.
    bool runDone() const {
        for (int32_t i = waitFrom_; i <= waitTo_; ++i) {
            if (!done(slots_[slotOf(i)])) return false;
        }
        return true;
    }

    // Hands the workers every song before `end`, as far as the list goes.
    void queueUpTo(int32_t end) {
        end = std::min(end, songs_.count());
        bool wake = false;
        while (queued_ < end) {
            std::string path = songs_.path(queued_);
            std::lock_guard lock(mutex_);
            Slot& slot = slots_[slotOf(queued_)];
            slot.path = std::move(path);
            slot.state = State::Queued;
            ++queued_;
            wake = wake || idle_ > 0;
        }
        if (wake) workToDo_.notify_all();
    }

    void workAhead() {
        ConversionBuffers buffers;
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            workToDo_.wait(lock, [&] { return stopping_ || claimed_ < queued_; });
            --idle_;
            if (stopping_) return;
            const int32_t index = claimed_++;
            Slot& slot = slots_[slotOf(index)];
            slot.state = State::Working;
            const std::string& path = slot.path;  // left alone by the calling thread until done
            if (buffers.record.empty() && !spares_.empty()) {
                buffers.record = std::move(spares_.back());
                spares_.pop_back();
            }
            lock.unlock();
            std::optional<Outcome> outcome = tryAhead(path, buffers);
            lock.lock();
            slot.outcome = std::move(outcome);
            slot.state = slot.outcome ? State::Done : State::InTurn;
            if (index >= waitFrom_ && index <= waitTo_ && runDone()) songDone_.notify_one();
        }
    }

    // Nothing when the song is to be worked on in its turn.
    std::optional<Outcome> tryAhead(const std::string& path, ConversionBuffers& buffers) {
        try {
            return work_.ahead(path, buffers);
        } catch (...) {
            // Out of memory, say: the calling thread tries again in its turn,
            // where whatever happens reaches the caller as it would without workers.
            return std::nullopt;
        }
    }

    const SongSource& songs_;
    SongWork<Outcome> work_;
    ConversionBuffers inTurn_;  // the calling thread's own

    std::mutex mutex_;
    std::condition_variable workToDo_;  // a song queued, or stopping
    std::condition_variable songDone_;  // a slot done or left for its turn
    std::vector<Slot> slots_;           // song i in slot i % size; empty when there are no workers
    std::vector<std::vector<uint8_t>> spares_;
    int32_t queued_ = 0;   // songs handed to the workers
    int32_t claimed_ = 0;  // songs a worker has taken
    // Wake-ups only for someone waiting: the calling thread once the run of
    // songs it waits for is done, and workers with nothing to do.
    int32_t waitFrom_ = -1;
    int32_t waitTo_ = -1;
    int idle_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace zmr
