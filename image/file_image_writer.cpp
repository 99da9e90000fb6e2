#include "image/file_image_writer.h"

#include <cerrno>
#include <cstdio>

#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
#include "fileio/write_failure.h"
#include "image/image_layout.h"

namespace zmr {
namespace fs = std::filesystem;

namespace {

// Records and song-list lines are small: they are gathered into writes of a
// mebibyte, and a song list of a few thousand songs goes out in one write
// when the files are complete.
constexpr size_t kWriteBufferSize = size_t{1} << 20;

}  // namespace

FileImageWriter::FileImageWriter(fs::path folder, TemporaryFileWatcher* watcher)
    : image_(folder / kImageFileName, watcher), songList_(folder / kSongListFileName, watcher) {}

FileImageWriter::~FileImageWriter() { abandon(); }

Status FileImageWriter::begin() {
    abandon();
    if (Status s = image_.open(kWriteBufferSize); !s) return s;
    if (Status s = songList_.open(kWriteBufferSize); !s) {
        abandon();
        return s;
    }
    return success();
}

Status FileImageWriter::appendImage(std::span<const uint8_t> bytes) { return image_.write(bytes); }

Status FileImageWriter::appendSongList(std::span<const uint8_t> bytes) { return songList_.write(bytes); }

Status FileImageWriter::patchImage(uint32_t offset, std::span<const uint8_t> bytes) {
    std::FILE* file = image_.file();
    if (!file) return image_.write(bytes);  // says it is not open
    const std::string name = pathText(image_.output());
    errno = 0;
    // The buffered records go out first, so a full disk is named as a write.
    if (std::fflush(file) != 0) return image_.writeFailure(errno);
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0)
        return writeFailure("cannot seek in " + name, errno != 0 ? errno : EIO);
    if (Status s = image_.write(bytes); !s) return s;
    if (std::fseek(file, 0, SEEK_END) != 0)
        return writeFailure("cannot seek in " + name, errno != 0 ? errno : EIO);
    return success();
}

Status FileImageWriter::commit() {
    Status placed = image_.finish();
    if (placed) placed = songList_.finish();
    placingWarning_.clear();
    if (placed) {
        Result<PlacedTogether> together = placeTogether(image_, songList_);
        if (together) placingWarning_ = together->warning;
        else placed = together.failure();
    }
    abandon();  // removes whatever temporary file is left
    return placed;
}

void FileImageWriter::abandon() {
    image_.drop();
    songList_.drop();
}

}  // namespace zmr
