#include "image/compile_image.h"

#include <algorithm>
#include <array>
#include <string>
#include <thread>
#include <vector>

#include "codec/byte_order.h"
#include "fileio/file_bytes.h"
#include "image/convert_song.h"
#include "image/image_layout.h"
#include "image/song_list.h"
#include "image/song_pipeline.h"

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

// How each song becomes its record: read and converted, or as a test says.
SongWork<Result<SongRecord>> conversionWork(const CompileOptions& options) {
    if (options.convert) {
        const auto convert = options.convert;
        return {[convert](const std::string& path, ConversionBuffers&) { return std::optional(convert(path)); },
                [convert](const std::string& path, ConversionBuffers&) { return convert(path); }};
    }
    const ConvertOptions conversion = options.conversion;
    return songFileWork<Result<SongRecord>>(
        [conversion](const std::string& path, std::span<const uint8_t> bytes, ConversionBuffers& buffers) {
            return convertSong(path, bytes, buffers, conversion);
        },
        [](Failure reason) { return Result<SongRecord>(std::move(reason)); });
}

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
    Result<SongRecord> record = convertSong(path, *bytes, buffers, options);
    releaseOutlierBuffer(buffers.file);
    return record;
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

    SongPipeline<Result<SongRecord>> pipeline(songs, conversionWork(options), pipelineJobs(options.threads));
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
