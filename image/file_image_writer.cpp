#include "image/file_image_writer.h"

#include <cerrno>
#include <system_error>

#include "fileio/file_bytes.h"
#include "image/image_layout.h"
#include "fileio/native_path.h"
#include "fileio/temporary_file.h"

namespace zmr {
namespace fs = std::filesystem;

namespace {

constexpr size_t kWriteBufferSize = size_t{1} << 20;

}  // namespace

FileImageWriter::FileImageWriter(fs::path folder, TemporaryFileWatcher* watcher)
    : folder_(std::move(folder)), watcher_(watcher) {}

FileImageWriter::~FileImageWriter() { abandon(); }

fs::path FileImageWriter::imagePath() const { return folder_ / kImageFileName; }
fs::path FileImageWriter::songListPath() const { return folder_ / kSongListFileName; }

std::string FileImageWriter::describe(const Output& out) const {
    return pathText(&out == &image_ ? imagePath() : songListPath());
}

Status FileImageWriter::open(Output& out, const char* finalName) {
    out.file = createTemporaryBeside(folder_ / finalName, out.temporary);
    if (!out.file) {
        const int error = errno;
        return Failure{systemMessage("cannot write " + pathText(folder_ / finalName), error)};
    }
    if (watcher_) watcher_->created(out.temporary);
    // Records and song-list lines are small: they are gathered into writes of
    // a mebibyte, and a song list of a few thousand songs goes out in one
    // write when the files are complete.
    if (!out.buffer) out.buffer.reset(new char[kWriteBufferSize]);  // left unfilled: pages are touched as used
    std::setvbuf(out.file, out.buffer.get(), _IOFBF, kWriteBufferSize);
    return success();
}

Status FileImageWriter::begin() {
    abandon();
    if (Status s = open(image_, kImageFileName); !s) return s;
    if (Status s = open(songList_, kSongListFileName); !s) {
        abandon();
        return s;
    }
    return success();
}

Status FileImageWriter::write(Output& out, std::span<const uint8_t> bytes) {
    if (!out.file) return Failure{"cannot write " + describe(out) + ": not open"};
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out.file) != bytes.size())
        return Failure{systemMessage("cannot write " + describe(out), errno != 0 ? errno : EIO)};
    return success();
}

Status FileImageWriter::appendImage(std::span<const uint8_t> bytes) { return write(image_, bytes); }

Status FileImageWriter::appendSongList(std::span<const uint8_t> bytes) { return write(songList_, bytes); }

Status FileImageWriter::patchImage(uint32_t offset, std::span<const uint8_t> bytes) {
    if (!image_.file) return Failure{"cannot write " + describe(image_) + ": not open"};
    errno = 0;
    // The buffered records go out first, so a full disk is named as a write.
    if (std::fflush(image_.file) != 0)
        return Failure{systemMessage("cannot write " + describe(image_), errno != 0 ? errno : EIO)};
    if (std::fseek(image_.file, static_cast<long>(offset), SEEK_SET) != 0)
        return Failure{systemMessage("cannot seek in " + describe(image_), errno != 0 ? errno : EIO)};
    if (Status s = write(image_, bytes); !s) return s;
    if (std::fseek(image_.file, 0, SEEK_END) != 0)
        return Failure{systemMessage("cannot seek in " + describe(image_), errno != 0 ? errno : EIO)};
    return success();
}

Status FileImageWriter::close(Output& out) {
    errno = 0;
    const bool synced = syncToDisk(out.file);
    const int syncError = errno;
    const bool closed = std::fclose(out.file) == 0;
    out.file = nullptr;
    if (!synced || !closed)
        return Failure{systemMessage("cannot write " + describe(out), syncError != 0 ? syncError : (errno != 0 ? errno : EIO))};
    return success();
}

Status FileImageWriter::commit() {
    if (Status s = close(image_); !s) {
        abandon();
        return s;
    }
    if (Status s = close(songList_); !s) {
        abandon();
        return s;
    }
    if (watcher_) watcher_->lockFolder();
    Status placed = putInPlace();
    abandon();  // removes whatever temporary file is left
    if (watcher_) watcher_->unlockFolder();
    return placed;
}

// Two renames cannot happen at once: the old image is kept under a third name
// until the song list is in place too, and put back if that fails.
Status FileImageWriter::putInPlace() {
    std::error_code error;
    const fs::path backup = hiddenSibling(imagePath(), ".old");
    bool haveBackup = false;
    if (fs::exists(imagePath(), error)) {
        fs::create_hard_link(imagePath(), backup, error);
        if (error) fs::copy_file(imagePath(), backup, error);
        haveBackup = !error;
    }
    fs::rename(image_.temporary, imagePath(), error);
    if (error) {
        if (haveBackup) fs::remove(backup, error);
        return Failure{"cannot replace " + pathText(imagePath()) + ": " + error.message()};
    }
    if (watcher_) watcher_->gone(image_.temporary);
    image_.temporary.clear();
    fs::rename(songList_.temporary, songListPath(), error);
    if (error) {
        const std::string reason = error.message();
        if (haveBackup) fs::rename(backup, imagePath(), error);
        else fs::remove(imagePath(), error);
        return Failure{"cannot replace " + pathText(songListPath()) + ": " + reason};
    }
    if (watcher_) watcher_->gone(songList_.temporary);
    songList_.temporary.clear();
    if (haveBackup) fs::remove(backup, error);
    return success();
}

void FileImageWriter::abandon() {
    for (Output* out : {&image_, &songList_}) {
        if (out->file) std::fclose(out->file);
        out->file = nullptr;
        if (!out->temporary.empty()) {
            std::error_code ignored;
            fs::remove(out->temporary, ignored);
            if (watcher_) watcher_->gone(out->temporary);
            out->temporary.clear();
        }
    }
}

}  // namespace zmr
