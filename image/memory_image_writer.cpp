#include "image/memory_image_writer.h"

#include <algorithm>

namespace zmr {

Status MemoryImageWriter::spend(size_t bytes) {
    if (budget_) {
        if (*budget_ < bytes)
            return Failure{"cannot write: No space left on device (the disk is full)", FailureKind::DiskFull};
        *budget_ -= bytes;
    }
    return success();
}

Status MemoryImageWriter::begin() {
    pendingImage_.clear();
    pendingSongList_.clear();
    return success();
}

Status MemoryImageWriter::appendImage(std::span<const uint8_t> bytes) {
    if (Status s = spend(bytes.size()); !s) return s;
    pendingImage_.insert(pendingImage_.end(), bytes.begin(), bytes.end());
    return success();
}

Status MemoryImageWriter::patchImage(uint32_t offset, std::span<const uint8_t> bytes) {
    if (offset > pendingImage_.size() || bytes.size() > pendingImage_.size() - offset)
        return Failure{"cannot write: patch outside the image", FailureKind::WriteFailed};
    std::copy(bytes.begin(), bytes.end(), pendingImage_.begin() + offset);
    return success();
}

Status MemoryImageWriter::appendSongList(std::span<const uint8_t> bytes) {
    if (Status s = spend(bytes.size()); !s) return s;
    pendingSongList_.insert(pendingSongList_.end(), bytes.begin(), bytes.end());
    return success();
}

Status MemoryImageWriter::commit() {
    image_ = std::move(pendingImage_);
    songList_ = std::move(pendingSongList_);
    abandon();
    return success();
}

void MemoryImageWriter::abandon() {
    pendingImage_.clear();
    pendingSongList_.clear();
}

}  // namespace zmr
