#include "image/capacity_checked_writer.h"

namespace zmr {

Status CapacityCheckedWriter::begin() {
    imageBytes_ = 0;
    songListBytes_ = 0;
    recordPending_ = false;
    afterSong_.clear();
    return files_.begin();
}

Status CapacityCheckedWriter::appendImage(std::span<const uint8_t> bytes) {
    if (Status s = files_.appendImage(bytes); !s) return s;
    imageBytes_ += bytes.size();
    if (recordPending_) {
        // Only a refusal says how many songs would fit; measuring alone needs the totals.
        if (refuseOverflow_) afterSong_.push_back({imageBytes_, songListBytes_});
        recordPending_ = false;
    }
    return success();
}

Status CapacityCheckedWriter::patchImage(uint32_t offset, std::span<const uint8_t> bytes) {
    return files_.patchImage(offset, bytes);
}

Status CapacityCheckedWriter::appendSongList(std::span<const uint8_t> bytes) {
    if (Status s = files_.appendSongList(bytes); !s) return s;
    songListBytes_ += bytes.size();
    recordPending_ = true;
    return success();
}

Status CapacityCheckedWriter::commit() {
    const DiscFill now = fill();
    if (refuseOverflow_ && !now.fits()) {
        files_.abandon();
        const int64_t songs = static_cast<int64_t>(afterSong_.size());
        return Failure{describeOverflow(now, songsThatFit(afterSong_, medium_.sectors), songs), FailureKind::DiskFull};
    }
    return files_.commit();
}

void CapacityCheckedWriter::abandon() { files_.abandon(); }

}  // namespace zmr
