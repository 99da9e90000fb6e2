#include "image/disc_capacity.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "base/grouped_number.h"
#include "image/image_layout.h"

namespace zmr {
namespace {

constexpr std::array<DiscMedium, 4> kMedia{{
    {"cd650", "650 MB CD", 333'000},        // 74 minutes of 75 sectors a second
    {"cd700", "700 MB CD", 360'000},        // 80 minutes
    {"dvd", "4.7 GB DVD", 2'295'104},       // DVD+R; DVD-R holds 2,298,496
    {"dvd-dl", "8.5 GB DVD", 4'171'712},    // DVD-R DL; DVD+R DL holds 4,173,824
}};

uint64_t sectorsOf(uint64_t bytes) { return (bytes + kDiscSectorSize - 1) / kDiscSectorSize; }

}  // namespace

std::span<const DiscMedium> discMedia() { return kMedia; }

std::optional<DiscMedium> findDiscMedium(std::string_view name) {
    for (const DiscMedium& medium : kMedia)
        if (medium.name == name) return medium;
    return std::nullopt;
}

uint64_t isoSectors(uint64_t imageBytes, uint64_t songListBytes) {
    return kIsoOverheadSectors + sectorsOf(imageBytes) + sectorsOf(songListBytes);
}

int64_t songsThatFit(std::span<const SongExtent> afterSong, uint64_t capacitySectors) {
    if (isoSectors(kEmptyImageExtent.imageBytes, kEmptyImageExtent.songListBytes) > capacitySectors) return 0;
    const auto firstTooBig = std::partition_point(afterSong.begin(), afterSong.end(), [&](const SongExtent& e) {
        return isoSectors(e.imageBytes, e.songListBytes) <= capacitySectors;
    });
    return firstTooBig - afterSong.begin();
}

DiscFill discFill(uint64_t imageBytes, uint64_t songListBytes, const DiscMedium& medium) {
    return DiscFill{isoSectors(imageBytes, songListBytes), medium};
}

SongExtent extentWithSong(const SongExtent& before, int64_t songIndex, uint64_t recordBytes, uint64_t songListLineBytes) {
    SongExtent after = before;
    if (songIndex % kSongsPerGroup == 0) {
        after.imageBytes = sectorsOf(after.imageBytes) * kDiscSectorSize + kIndexBlockSize;
    }
    after.imageBytes += recordBytes;
    after.songListBytes += songListLineBytes;
    return after;
}

std::string describeFill(const DiscFill& fill) {
    const double percent = 100.0 * static_cast<double>(fill.sectors) / static_cast<double>(fill.medium.sectors);
    char share[32];
    if (percent > 0 && percent < 0.1) {
        std::snprintf(share, sizeof share, "under 0.1%%");
    } else {
        std::snprintf(share, sizeof share, "%.1f%%", percent);
    }
    return groupThousands(fill.sectors) + " of " + groupThousands(fill.medium.sectors) + " sectors (" + share +
           ") of a " + std::string(fill.medium.description) + " (" + std::string(fill.medium.name) + ")";
}

std::string describeShortfall(const DiscFill& fill) {
    return "the image does not fit on a " + std::string(fill.medium.description) + " (" +
           std::string(fill.medium.name) + "): with its ISO 9660 file system it needs " +
           groupThousands(fill.sectors) + " sectors of 2,048 bytes, the disc holds " +
           groupThousands(fill.medium.sectors);
}

std::string describeOverflow(const DiscFill& fill, int64_t songsFitting, int64_t songCount) {
    return describeShortfall(fill) + "; the first " + groupThousands(static_cast<uint64_t>(songsFitting)) + " of its " +
           groupThousands(static_cast<uint64_t>(songCount)) + " songs would fit";
}

}  // namespace zmr
