#include "image/compile_image.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "codec/byte_order.h"
#include "image/convert_song.h"
#include "fileio/file_bytes.h"
#include "image/image_layout.h"
#include "image/song_list.h"

namespace zmr {
namespace {

std::vector<uint8_t> wordsToBytes(std::span<const uint32_t> words) {
    std::vector<uint8_t> bytes(words.size() * 4);
    for (size_t i = 0; i < words.size(); ++i) storeBigEndian32(&bytes[i * 4], words[i]);
    return bytes;
}

// The image as it grows: the running position, the open group's index block
// and the group table, which are written back in place when complete.
class ImageLayout {
public:
    explicit ImageLayout(ImageWriter& writer) : writer_(writer) {}

    Status start() {
        const auto header = imageHeader();
        if (Status s = append(header); !s) return s;
        const std::vector<uint8_t> zeros(kGroupTableSize, 0);
        return append(zeros);
    }

    // The bytes a group start adds at the current position: fill to the next
    // sector, then the index block.
    int64_t groupStartSize() const {
        const int64_t r = position_ % kSectorSize;
        return (r == 0 ? 0 : kSectorSize - r) + kIndexBlockSize;
    }

    Status startGroup() {
        if (groupCount_ > 0) {
            if (Status s = writeIndexBlock(); !s) return s;
        }
        indexBlock_.fill(0);
        const int64_t r = position_ % kSectorSize;
        if (r != 0) {
            const std::vector<uint8_t> fill(static_cast<size_t>(kSectorSize - r), 0);
            if (Status s = append(fill); !s) return s;
        }
        groupTable_[static_cast<size_t>(groupCount_++)] = static_cast<uint32_t>(position_ / kSectorSize);
        indexBlockPosition_ = position_;
        const std::vector<uint8_t> placeholder(kIndexBlockSize, 0);
        return append(placeholder);
    }

    void setOffsetWord(uint32_t entry) {
        indexBlock_[entry] = static_cast<uint32_t>(position_ - indexBlockPosition_);
    }

    Status appendRecord(uint32_t entry, std::span<const uint8_t> record) {
        indexBlock_[kSongsPerGroup + entry] = static_cast<uint32_t>(record.size() / kSizeFigureUnit);
        return append(record);
    }

    Status finish() {
        if (groupCount_ > 0) {
            if (Status s = writeIndexBlock(); !s) return s;
        }
        return writer_.patchImage(kGroupTableOffset, wordsToBytes(groupTable_));
    }

    int64_t position() const { return position_; }

private:
    Status append(std::span<const uint8_t> bytes) {
        if (Status s = writer_.appendImage(bytes); !s) return s;
        position_ += static_cast<int64_t>(bytes.size());
        return success();
    }

    Status writeIndexBlock() {
        return writer_.patchImage(static_cast<uint32_t>(indexBlockPosition_), wordsToBytes(indexBlock_));
    }

    ImageWriter& writer_;
    int64_t position_ = 0;
    int64_t indexBlockPosition_ = 0;
    int32_t groupCount_ = 0;
    std::array<uint32_t, kIndexBlockSize / 4> indexBlock_{};
    std::array<uint32_t, kGroupTableEntries> groupTable_{};
};

std::string tooManySongsMessage(int32_t count) {
    return "too many songs: " + std::to_string(count) + " (an image holds at most " +
           std::to_string(kMaxSongs) + ")";
}

// Converts songs ahead of the writer on worker threads, each song at most a
// window's length ahead of the one being written, and hands them back in list
// order. Paths are read from the source on the calling thread only, since a
// dialog's list is not to be touched elsewhere. A worker reads a song only when
// it is a regular file; anything else (a FIFO, a device) could block, so it is
// read on the calling thread when its turn comes, and never when the
// compilation stops before it. Each worker keeps its buffers from song to
// song, and written records come back to be built into again, so a long
// compilation allocates nothing per song once the buffers have grown.
class SongPipeline {
public:
    using Convert = std::function<Result<SongRecord>(const std::string&)>;

    // `convert` replaces reading and converting when set (tests use it);
    // otherwise each song is read and converted with `options`.
    SongPipeline(const SongSource& songs, Convert convert, const ConvertOptions& options, unsigned jobs)
        : songs_(songs), convert_(std::move(convert)), options_(options) {
        if (jobs <= 1 || songs.count() <= 1) return;
        slots_.resize(static_cast<size_t>(jobs) * kSongsAheadPerJob);
        const unsigned workers = static_cast<unsigned>(std::min<int64_t>(jobs, songs.count()));
        try {
            for (unsigned i = 0; i < workers; ++i) workers_.emplace_back([this] { work(); });
        } catch (const std::system_error&) {
            // Fewer threads than asked for still give the same bytes; none
            // at all leaves every song to the calling thread.
            if (workers_.empty()) slots_.clear();
        }
    }

    // Each worker ends after the song in hand, which never blocks, so none
    // outlives the compilation.
    ~SongPipeline() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        workToDo_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }

    SongPipeline(const SongPipeline&) = delete;
    SongPipeline& operator=(const SongPipeline&) = delete;

    // Song `index` (from 0, one after another) and its conversion.
    std::pair<std::string, Result<SongRecord>> take(int32_t index) {
        if (slots_.empty()) {
            std::string path = songs_.path(index);
            Result<SongRecord> song = convertInTurn(path);
            return {std::move(path), std::move(song)};
        }
        queueUpTo(index + static_cast<int32_t>(slots_.size()));
        Slot& slot = slots_[slotOf(index)];
        std::unique_lock lock(mutex_);
        if (!done(slot)) {
            // Woken once for a run of songs rather than for each: the thread
            // that writes them then takes the rest of the run without waiting.
            waitFrom_ = index;
            waitTo_ = std::min(index + static_cast<int32_t>(workers_.size() * kSongsPerWakeUpPerJob), queued_) - 1;
            songDone_.wait(lock, [&] { return runDone(); });
            waitFrom_ = waitTo_ = -1;
        }
        const bool inTurn = slot.state == State::InTurn;
        std::string path = std::move(slot.path);
        std::optional<Result<SongRecord>> song = std::move(slot.song);
        slot.state = State::Free;
        lock.unlock();
        if (inTurn) return {path, convertInTurn(path)};
        return {std::move(path), std::move(*song)};
    }

    // A written record's buffer, for a later song to be built in.
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

    enum class State { Free, Queued, Converting, Converted, InTurn };
    struct Slot {
        State state = State::Free;
        std::string path;
        std::optional<Result<SongRecord>> song;
    };

    size_t slotOf(int32_t index) const { return static_cast<size_t>(index) % slots_.size(); }

    static bool done(const Slot& slot) { return slot.state == State::Converted || slot.state == State::InTurn; }

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

    Result<SongRecord> convertInTurn(const std::string& path) {
        return convert_ ? convert_(path) : loadAndConvertSong(path, inTurn_, options_);
    }

    void work() {
        ConversionBuffers buffers;
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            workToDo_.wait(lock, [&] { return stopping_ || claimed_ < queued_; });
            --idle_;
            if (stopping_) return;
            const int32_t index = claimed_++;
            Slot& slot = slots_[slotOf(index)];
            slot.state = State::Converting;
            const std::string& path = slot.path;  // left alone by the calling thread until converted
            if (buffers.record.empty() && !spares_.empty()) {
                buffers.record = std::move(spares_.back());
                spares_.pop_back();
            }
            lock.unlock();
            std::optional<Result<SongRecord>> song = convertAhead(path, buffers);
            lock.lock();
            slot.song = std::move(song);
            slot.state = slot.song ? State::Converted : State::InTurn;
            if (index >= waitFrom_ && index <= waitTo_ && runDone()) songDone_.notify_one();
        }
    }

    // Nothing when the song is to be read on the calling thread in its turn.
    std::optional<Result<SongRecord>> convertAhead(const std::string& path, ConversionBuffers& buffers) {
        try {
            if (convert_) return convert_(path);
            const std::optional<std::span<const uint8_t>> bytes = readRegularFileAhead(path, buffers.file);
            if (!bytes) return std::nullopt;
            return convertSong(path, *bytes, buffers, options_);
        } catch (...) {
            // Out of memory, say: the calling thread tries again in its turn,
            // where whatever happens reaches the caller as it would without workers.
            return std::nullopt;
        }
    }

    const SongSource& songs_;
    Convert convert_;
    ConvertOptions options_;
    ConversionBuffers inTurn_;  // the calling thread's own

    std::mutex mutex_;
    std::condition_variable workToDo_;  // a song queued, or stopping
    std::condition_variable songDone_;  // a slot converted or left for its turn
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

std::string uncodedMessage(int32_t count) {
    return std::to_string(count) + (count == 1 ? " character has" : " characters have") +
           " no code on the player and became '?'";
}

unsigned pipelineJobs(unsigned threads) { return threads != 0 ? threads : defaultCompileJobs(); }

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace

unsigned defaultCompileJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

Result<SongRecord> loadAndConvertSong(const std::string& path, const ConvertOptions& options) {
    ConversionBuffers buffers;
    return loadAndConvertSong(path, buffers, options);
}

Result<SongRecord> loadAndConvertSong(const std::string& path, ConversionBuffers& buffers, const ConvertOptions& options) {
    Result<std::span<const uint8_t>> bytes = readFileInto(path, buffers.file);
    if (!bytes) return bytes.failure();
    return convertSong(path, *bytes, buffers, options);
}

Result<CompileSummary> compileImage(const SongSource& songs, ImageWriter& writer, const CompileSinks& sinks,
                                    const CompileOptions& options) {
    const int32_t count = songs.count();
    if (count > kMaxSongs) return Failure{tooManySongsMessage(count)};

    sinks.progress.setRange(0, 99);
    sinks.progress.setPosition(0);
    sinks.title.setTitle(kTitleCompiling);

    CompileSummary summary;
    auto fail = [&](Status status) -> Result<CompileSummary> {
        writer.abandon();
        sinks.title.setTitle(kTitleDone);
        return status.failure();
    };

    if (Status s = writer.begin(); !s) return fail(s);
    ImageLayout layout(writer);
    if (Status s = layout.start(); !s) return fail(s);

    SongPipeline pipeline(songs, options.convert, options.conversion, pipelineJobs(options.threads));
    std::string line;
    int32_t written = 0;  // list position of the next song in the image
    for (int32_t i = 0; i < count; ++i) {
        auto [path, song] = pipeline.take(i);
        sinks.progress.songStarted(i, count, path);

        const uint32_t entry = static_cast<uint32_t>(written) % kSongsPerGroup;
        const bool startsGroup = entry == 0;
        if (!song && options.skipBad) {
            sinks.messages.songFailed(path, song.message());
            ++summary.songsFailed;
            continue;
        }
        if (startsGroup) {
            if (layout.position() + layout.groupStartSize() > kMaxImageSize) {
                sinks.messages.songFailed(path, "the image would pass 2147483647 bytes");
                ++summary.songsFailed;
                summary.stoppedEarly = true;
                break;
            }
            if (Status s = layout.startGroup(); !s) return fail(s);
        }
        // A failed song leaves its offset word behind, beside a size figure of 0.
        layout.setOffsetWord(entry);
        if (song && layout.position() + static_cast<int64_t>(song->bytes.size()) > kMaxImageSize) {
            song = Failure{"the image would pass 2147483647 bytes"};
        }
        if (!song) {
            sinks.messages.songFailed(path, song.message());
            ++summary.songsFailed;
            summary.stoppedEarly = true;
            break;
        }
        songListLine(written + 1, song->name, line);
        if (Status s = writer.appendSongList(bytesOf(line)); !s) return fail(s);
        if (Status s = layout.appendRecord(entry, song->bytes); !s) return fail(s);
        if (song->uncodedCharacters > 0) sinks.messages.songWarning(path, uncodedMessage(song->uncodedCharacters));
        pipeline.recycle(std::move(song->bytes));
        ++written;
        sinks.progress.setPosition(static_cast<int32_t>(100 * static_cast<int64_t>(i + 1) / count));
    }

    if (Status s = layout.finish(); !s) return fail(s);
    if (Status s = writer.commit(); !s) return fail(s);
    summary.songsWritten = written;
    summary.imageSize = static_cast<uint32_t>(layout.position());
    sinks.title.setTitle(kTitleDone);
    return summary;
}

}  // namespace zmr
