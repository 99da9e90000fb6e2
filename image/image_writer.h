#pragma once
// Where a compilation puts its two files. The image is written forward, with
// its index blocks and group table patched in place; both files become visible
// together, and only when both are complete.

#include <cstdint>
#include <span>
#include <string>

#include "base/result.h"

namespace zmr {

class ImageWriter {
public:
    virtual ~ImageWriter() = default;

    // Prepares both files; nothing visible changes yet.
    virtual Status begin() = 0;
    virtual Status appendImage(std::span<const uint8_t> bytes) = 0;
    // Rewrites bytes already appended (index blocks, the group table).
    virtual Status patchImage(uint32_t offset, std::span<const uint8_t> bytes) = 0;
    virtual Status appendSongList(std::span<const uint8_t> bytes) = 0;
    // Puts both files in place of the old ones; on failure the old ones stay as they were.
    virtual Status commit() = 0;
    // Drops whatever was prepared; the old files stay as they were.
    virtual void abandon() = 0;
};

}  // namespace zmr
