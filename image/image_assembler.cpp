#include "image/image_assembler.h"

#include <vector>

#include "codec/byte_order.h"
#include "image/song_list.h"

namespace zmr {
namespace {

template <size_t N>
std::vector<uint8_t> wordsToBytes(const std::array<uint32_t, N>& words) {
    std::vector<uint8_t> bytes(words.size() * 4);
    for (size_t i = 0; i < words.size(); ++i) storeBigEndian32(&bytes[i * 4], words[i]);
    return bytes;
}

std::string tooManySongsMessage(int32_t count) {
    return "too many songs: " + std::to_string(count) + " (an image holds at most " + std::to_string(kMaxSongs) + ")";
}

std::string uncodedMessage(int32_t count) {
    return std::to_string(count) + (count == 1 ? " character has" : " characters have") +
           " no code on the player and became '?'";
}

constexpr char kPastImageLimit[] = "the image would pass 2147483647 bytes";

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace

ImageAssembler::ImageAssembler(ImageWriter& writer, const CompileSinks& sinks, int32_t songCount, bool skipBad)
    : writer_(writer), sinks_(sinks), songCount_(songCount), skipBad_(skipBad) {}

Status ImageAssembler::begin() {
    if (songCount_ > kMaxSongs) return Failure{tooManySongsMessage(songCount_), FailureKind::TooManySongs};
    sinks_.progress.setRange(0, 99);
    sinks_.progress.setPosition(0);
    sinks_.state.stateChanged(CompileState::Compiling);
    if (Status s = writer_.begin(); !s) return fail(s);
    const auto header = imageHeader();
    if (Status s = append(header); !s) return fail(s);
    const std::vector<uint8_t> zeros(kGroupTableSize, 0);
    if (Status s = append(zeros); !s) return fail(s);
    return success();
}

Result<bool> ImageAssembler::add(std::string_view path, Result<SongRecord>& song) {
    const int32_t index = taken_++;
    sinks_.progress.songStarted(index, songCount_, path);

    const uint32_t entry = static_cast<uint32_t>(written_) % kSongsPerGroup;
    if (!song && skipBad_) return songFailed(path, song.message(), false);
    if (entry == 0) {
        if (position_ + groupStartSize() > kMaxImageSize) return songFailed(path, kPastImageLimit, true);
        if (Status s = startGroup(); !s) return fail(s).failure();
    }
    // A failed song leaves its offset word behind, beside a size figure of 0.
    indexBlock_[entry] = static_cast<uint32_t>(position_ - indexBlockPosition_);
    if (song && position_ + static_cast<int64_t>(song->bytes.size()) > kMaxImageSize) song = Failure{kPastImageLimit};
    if (!song) return songFailed(path, song.message(), true);

    songListLine(written_ + 1, song->name, line_);
    if (Status s = writer_.appendSongList(bytesOf(line_)); !s) return fail(s).failure();
    indexBlock_[kSongsPerGroup + entry] = static_cast<uint32_t>(song->bytes.size() / kSizeFigureUnit);
    if (Status s = append(song->bytes); !s) return fail(s).failure();
    if (song->uncodedCharacters > 0) sinks_.messages.songWarning(path, uncodedMessage(song->uncodedCharacters));
    ++written_;
    sinks_.progress.setPosition(static_cast<int32_t>(100 * static_cast<int64_t>(index + 1) / songCount_));
    return true;
}

Result<CompileSummary> ImageAssembler::finish() {
    if (groupCount_ > 0) {
        if (Status s = writeIndexBlock(); !s) return fail(s).failure();
    }
    if (Status s = writer_.patchImage(kGroupTableOffset, wordsToBytes(groupTable_)); !s) return fail(s).failure();
    if (Status s = writer_.commit(); !s) return fail(s).failure();
    summary_.songsWritten = written_;
    summary_.imageSize = static_cast<uint32_t>(position_);
    sinks_.state.stateChanged(CompileState::Done);
    return summary_;
}

void ImageAssembler::abandon() { writer_.abandon(); }

bool ImageAssembler::songFailed(std::string_view path, std::string_view message, bool stops) {
    sinks_.messages.songFailed(path, message);
    ++summary_.songsFailed;
    if (stops) summary_.stoppedEarly = true;
    return !stops;
}

Status ImageAssembler::fail(Status status) {
    writer_.abandon();
    sinks_.state.stateChanged(CompileState::Done);
    return status;
}

Status ImageAssembler::append(std::span<const uint8_t> bytes) {
    if (Status s = writer_.appendImage(bytes); !s) return s;
    position_ += static_cast<int64_t>(bytes.size());
    return success();
}

// The bytes a group start adds at the current position: fill to the next
// sector, then the index block.
int64_t ImageAssembler::groupStartSize() const {
    const int64_t r = position_ % kSectorSize;
    return (r == 0 ? 0 : kSectorSize - r) + kIndexBlockSize;
}

Status ImageAssembler::startGroup() {
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

Status ImageAssembler::writeIndexBlock() {
    return writer_.patchImage(static_cast<uint32_t>(indexBlockPosition_), wordsToBytes(indexBlock_));
}

}  // namespace zmr
