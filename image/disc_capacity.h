#pragma once
// How much of a recordable disc an image takes once it sits, with its song
// list, in an ISO 9660 file system: the arithmetic that the build's summary,
// its refusal of a compilation that cannot fit, and any estimate made before
// building share. Pure functions over sizes; nothing here touches a file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zmr {

inline constexpr uint64_t kDiscSectorSize = 2048;

// The file system around the two files in the root folder, as the disc writer
// lays it out (ISO 9660 level 1 with Joliet): system area, volume
// descriptors, path tables and both directory trees. The files' own sectors
// come on top. The disc writer's tests check this against the real layout.
inline constexpr uint64_t kIsoOverheadSectors = 33;

struct DiscMedium {
    std::string_view name;         // as --medium takes it
    std::string_view description;  // for people
    uint64_t sectors = 0;          // 2,048-byte sectors a blank disc takes
};

// cd650, cd700, dvd, dvd-dl; the DVD figures are those of the smaller of the
// "-R" and "+R" kinds, so that the image fits either.
std::span<const DiscMedium> discMedia();
std::optional<DiscMedium> findDiscMedium(std::string_view name);
inline constexpr std::string_view kDefaultDiscMedium = "cd700";

// Sectors of the ISO 9660 image holding an image file and a song list of these sizes.
uint64_t isoSectors(uint64_t imageBytes, uint64_t songListBytes);

// An image and its song list as they stand after some number of songs.
struct SongExtent {
    uint64_t imageBytes = 0;
    uint64_t songListBytes = 0;
};

// The image of no song at all: the header and the group table.
inline constexpr SongExtent kEmptyImageExtent{2048, 0};

// `afterSong[k]` is the extent once song k+1 is in (sizes never shrink):
// how many songs, from the first, fit `capacitySectors`.
int64_t songsThatFit(std::span<const SongExtent> afterSong, uint64_t capacitySectors);

struct DiscFill {
    uint64_t sectors = 0;
    DiscMedium medium;
    bool fits() const { return sectors <= medium.sectors; }
};

DiscFill discFill(uint64_t imageBytes, uint64_t songListBytes, const DiscMedium& medium);

// The extent once one more song is in, the `songIndex`-th from 0, with its
// record and its song-list line: every 256th song starts a group on a sector
// boundary with its index block, as a compilation lays them out. For
// estimates made before anything is compiled.
SongExtent extentWithSong(const SongExtent& before, int64_t songIndex, uint64_t recordBytes, uint64_t songListLineBytes);

// "51 of 360,000 sectors (under 0.1%) of a 700 MB CD (cd700)".
std::string describeFill(const DiscFill& fill);

// Why the files do not fit: the sectors they need and the disc's.
std::string describeShortfall(const DiscFill& fill);
// Why a compilation of `songCount` songs is refused, with how many would fit.
std::string describeOverflow(const DiscFill& fill, int64_t songsFitting, int64_t songCount);

}  // namespace zmr
