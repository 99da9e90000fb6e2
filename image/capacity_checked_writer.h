#pragma once
// Stands between a compilation and the writer of its files, measuring the
// image and its song list song by song, and refuses to put them in place when
// they would not fit the chosen disc: the old files then stay as they were
// and the message says how many of the songs would have fit. Told only to
// measure, it refuses nothing.

#include <vector>

#include "image/disc_capacity.h"
#include "image/image_writer.h"

namespace zmr {

class CapacityCheckedWriter : public ImageWriter {
public:
    CapacityCheckedWriter(ImageWriter& files, DiscMedium medium, bool refuseOverflow = true)
        : files_(files), medium_(medium), refuseOverflow_(refuseOverflow) {}

    Status begin() override;
    Status appendImage(std::span<const uint8_t> bytes) override;
    Status patchImage(uint32_t offset, std::span<const uint8_t> bytes) override;
    Status appendSongList(std::span<const uint8_t> bytes) override;
    Status commit() override;
    void abandon() override;

    // How much of the disc the files take, as they stand.
    DiscFill fill() const { return discFill(imageBytes_, songListBytes_, medium_); }
    // The sizes after each song written so far (kept only when refusing).
    const std::vector<SongExtent>& songExtents() const { return afterSong_; }

private:
    ImageWriter& files_;
    DiscMedium medium_;
    bool refuseOverflow_;
    uint64_t imageBytes_ = 0;
    uint64_t songListBytes_ = 0;
    // A compilation writes each song's list line just before its record, so the
    // first image bytes after a list line complete that song.
    bool recordPending_ = false;
    std::vector<SongExtent> afterSong_;
};

}  // namespace zmr
