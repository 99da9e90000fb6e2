#include "image/compile_image.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <future>
#include <thread>
#include <string>
#include <vector>

#include "codec/byte_order.h"
#include "image/convert_song.h"
#include "image/file_bytes.h"
#include "image/image_layout.h"

namespace zmr {
namespace {

std::vector<uint8_t> wordsToBytes(std::span<const uint32_t> words) {
    std::vector<uint8_t> bytes(words.size() * 4);
    for (size_t i = 0; i < words.size(); ++i) storeBigEndian32(&bytes[i * 4], words[i]);
    return bytes;
}

// One line of the song list: number, tab, name with CR and LF made spaces, CR LF.
std::vector<uint8_t> songListLine(int32_t number, const std::string& name) {
    std::string line = std::to_string(number);
    line += '\t';
    for (char c : name) line += (c == '\r' || c == '\n') ? ' ' : c;
    line += "\r\n";
    return std::vector<uint8_t>(line.begin(), line.end());
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

// Converts songs ahead of the writer on worker threads, at most `window` at a
// time, and hands them back in list order. Paths are read from the source on
// the calling thread only, since a dialog's list is not to be touched elsewhere.
class SongPipeline {
public:
    using Convert = std::function<Result<SongRecord>(const std::string&)>;

    SongPipeline(const SongSource& songs, Convert convert, unsigned window)
        : songs_(songs), convert_(std::move(convert)), window_(window) {}

    // Waits for the songs still converting, so none outlives the compilation.
    ~SongPipeline() {
        for (auto& song : ahead_) song.result.wait();
    }

    std::pair<std::string, Result<SongRecord>> take(int32_t index) {
        if (window_ <= 1) {
            std::string path = songs_.path(index);
            Result<SongRecord> song = convert_(path);
            return {std::move(path), std::move(song)};
        }
        while (next_ < songs_.count() && (ahead_.empty() || next_ < index + static_cast<int32_t>(window_))) {
            std::string path = songs_.path(next_++);
            auto result = std::async(std::launch::async, convert_, path);
            ahead_.push_back({std::move(path), std::move(result)});
        }
        Ahead song = std::move(ahead_.front());
        ahead_.pop_front();
        return {std::move(song.path), song.result.get()};
    }

private:
    struct Ahead {
        std::string path;
        std::future<Result<SongRecord>> result;
    };

    const SongSource& songs_;
    Convert convert_;
    unsigned window_;
    int32_t next_ = 0;
    std::deque<Ahead> ahead_;
};

std::string uncodedMessage(int32_t count) {
    return std::to_string(count) + (count == 1 ? " character has" : " characters have") +
           " no code on the player and became '?'";
}

unsigned pipelineWindow(unsigned threads) {
    if (threads != 0) return threads;
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace

Result<SongRecord> loadAndConvertSong(const std::string& path, const ConvertOptions& options) {
    Result<std::vector<uint8_t>> bytes = readFileBytes(path);
    if (!bytes) return bytes.failure();
    return convertSong(path, std::move(bytes).value(), options);
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

    SongPipeline::Convert convert = options.convert;
    if (!convert) {
        convert = [conversion = options.conversion](const std::string& path) { return loadAndConvertSong(path, conversion); };
    }
    SongPipeline pipeline(songs, std::move(convert), pipelineWindow(options.threads));
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
        if (Status s = writer.appendSongList(songListLine(written + 1, song->name)); !s) return fail(s);
        if (Status s = layout.appendRecord(entry, song->bytes); !s) return fail(s);
        if (song->uncodedCharacters > 0) sinks.messages.songWarning(path, uncodedMessage(song->uncodedCharacters));
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
