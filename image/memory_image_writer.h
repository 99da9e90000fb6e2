#pragma once
// Keeps a compilation's two files in memory: for tests, for fuzzing, and for
// anyone who wants the bytes without a folder. It can be told to fail as a
// full disk would, after a given number of bytes.

#include <cstdint>
#include <optional>
#include <vector>

#include "image/image_writer.h"

namespace zmr {

class MemoryImageWriter : public ImageWriter {
public:
    // The committed files; empty until a compilation commits.
    const std::vector<uint8_t>& image() const { return image_; }
    const std::vector<uint8_t>& songList() const { return songList_; }

    // The next writes fail with a full disk once this many more bytes were accepted.
    void failAfter(uint64_t bytes) { budget_ = bytes; }

    Status begin() override;
    Status appendImage(std::span<const uint8_t> bytes) override;
    Status patchImage(uint32_t offset, std::span<const uint8_t> bytes) override;
    Status appendSongList(std::span<const uint8_t> bytes) override;
    Status commit() override;
    void abandon() override;

private:
    Status spend(size_t bytes);

    std::vector<uint8_t> image_, songList_;
    std::vector<uint8_t> pendingImage_, pendingSongList_;
    std::optional<uint64_t> budget_;
};

}  // namespace zmr
