// How much of a disc an image takes with its file system, at the edges.

#include "image/disc_capacity.h"

#include <gtest/gtest.h>

namespace zmr {
namespace {

const DiscMedium cd700 = *findDiscMedium("cd700");

// Image bytes that, with a one-byte list, fill exactly `sectors` sectors.
uint64_t imageFilling(uint64_t sectors) { return (sectors - kIsoOverheadSectors - 1) * kDiscSectorSize; }

TEST(DiscCapacity, FilesTakeWholeSectorsBesideTheFileSystem) {
    EXPECT_EQ(isoSectors(0, 0), kIsoOverheadSectors);  // empty files take no sector
    EXPECT_EQ(isoSectors(1, 1), kIsoOverheadSectors + 2);
    EXPECT_EQ(isoSectors(2048, 2048), kIsoOverheadSectors + 2);
    EXPECT_EQ(isoSectors(2049, 2048), kIsoOverheadSectors + 3);
}

TEST(DiscCapacity, ExactlyFullFitsAndOneByteMoreDoesNot) {
    EXPECT_EQ(cd700.sectors, 360'000u);
    const DiscFill full = discFill(imageFilling(cd700.sectors), 1, cd700);
    EXPECT_EQ(full.sectors, cd700.sectors);
    EXPECT_TRUE(full.fits());
    EXPECT_EQ(describeFill(full), "360,000 of 360,000 sectors (100.0%) of a 700 MB CD (cd700)");

    const DiscFill over = discFill(imageFilling(cd700.sectors) + 1, 1, cd700);
    EXPECT_EQ(over.sectors, cd700.sectors + 1);
    EXPECT_FALSE(over.fits());
}

TEST(DiscCapacity, SongsThatFitStopAtTheFirstSongOverTheEdge) {
    const uint64_t capacity = 1000;
    const std::vector<SongExtent> songs = {
        {4096, 20}, {imageFilling(capacity) - 4096, 40}, {imageFilling(capacity), 1},  // exactly full
        {imageFilling(capacity) + 1, 80},                                               // one sector over
        {imageFilling(capacity) + 9000, 100}};
    EXPECT_EQ(songsThatFit(songs, capacity), 3);
    EXPECT_EQ(songsThatFit(std::span(songs).first(3), capacity), 3);
    EXPECT_EQ(songsThatFit({}, capacity), 0);
    EXPECT_EQ(songsThatFit(songs, kIsoOverheadSectors), 0);  // not even the empty image
}

TEST(DiscCapacity, MediaAndMessages) {
    EXPECT_EQ(findDiscMedium("cd650")->sectors, 333'000u);
    EXPECT_EQ(findDiscMedium("dvd")->sectors, 2'295'104u);
    EXPECT_EQ(findDiscMedium("dvd-dl")->sectors, 4'171'712u);
    EXPECT_FALSE(findDiscMedium("bluray"));
    EXPECT_EQ(describeFill(discFill(33456, 384, cd700)), "51 of 360,000 sectors (under 0.1%) of a 700 MB CD (cd700)");
    EXPECT_EQ(describeOverflow(discFill(imageFilling(cd700.sectors) + 1, 1, cd700), 5998, 6000),
              "the image does not fit on a 700 MB CD (cd700): with its ISO 9660 file system it needs 360,001 "
              "sectors of 2,048 bytes, the disc holds 360,000; the first 5,998 of its 6,000 songs would fit");
}

}  // namespace
}  // namespace zmr
