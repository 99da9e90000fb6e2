#pragma once
// A deliberately small reader of image layouts for tests: it reads the group
// table and index blocks back so layout tests can state what they expect.

#include <cstdint>
#include <span>
#include <vector>

#include "codec/byte_order.h"

namespace zmr::test {

inline uint32_t wordAt(std::span<const uint8_t> image, size_t offset) { return loadBigEndian32(&image[offset]); }

struct IndexEntry {
    uint32_t offsetWord;
    uint32_t sizeFigure;
};

struct ImageGroup {
    uint32_t sector;
    std::vector<IndexEntry> entries;  // all 256
};

inline std::vector<ImageGroup> readGroups(std::span<const uint8_t> image) {
    std::vector<ImageGroup> groups;
    for (size_t g = 0; g < 384; ++g) {
        const uint32_t sector = wordAt(image, 512 + 4 * g);
        if (sector == 0) break;
        ImageGroup group{sector, {}};
        const size_t block = size_t{sector} * 2048;
        for (size_t k = 0; k < 256; ++k)
            group.entries.push_back({wordAt(image, block + 4 * k), wordAt(image, block + 1024 + 4 * k)});
        groups.push_back(std::move(group));
    }
    return groups;
}

}  // namespace zmr::test
