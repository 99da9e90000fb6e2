// The build's capacity check: sizes measured song by song, and files that do
// not fit refused before they replace anything.

#include "image/capacity_checked_writer.h"

#include <gtest/gtest.h>

#include <map>

#include "disc/image_song_extents.h"
#include "image/file_image_writer.h"
#include "image/image_layout.h"
#include "readback/image_index.h"
#include "support/memory_compile.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

struct Songs : SongSource, ProgressSink, StateSink, SongMessageSink {
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<std::string> paths;
    int32_t count() const override { return static_cast<int32_t>(paths.size()); }
    std::string path(int32_t i) const override { return paths[static_cast<size_t>(i)]; }
    void setRange(int32_t, int32_t) override {}
    void setPosition(int32_t) override {}
    void stateChanged(CompileState) override {}
    void songFailed(std::string_view, std::string_view) override {}

    // Each song's record takes more than a sector, so each adds to the disc.
    explicit Songs(int count) {
        for (int i = 0; i < count; ++i) {
            paths.push_back("/songs/" + std::to_string(i) + ".mid");
            files[paths.back()] = test::generatedSong(static_cast<uint32_t>(i + 1), 1500);
        }
    }

    Result<CompileSummary> compile(ImageWriter& writer) {
        CompileOptions options;
        options.convert = [this](const std::string& path) { return convertSong(path, files.at(path)); };
        return compileImage(*this, writer, CompileSinks{*this, *this, *this}, options);
    }
};

DiscMedium mediumOf(uint64_t sectors) { return DiscMedium{"test", "test disc", sectors}; }

TEST(CapacityCheckedWriter, MeasuresWhereEachSongEndsAsTheImageShowsIt) {
    Songs songs(3);
    MemoryImageWriter memory;
    CapacityCheckedWriter writer(memory, *findDiscMedium("cd700"));
    ASSERT_TRUE(songs.compile(writer).ok());

    const ImageIndex scan = readImageIndex(memory.image());
    ASSERT_EQ(scan.songs.size(), 3u);
    const std::vector<SongExtent> readBack = imageSongExtents(scan, memory.songList());
    ASSERT_EQ(writer.songExtents().size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(writer.songExtents()[k].imageBytes, scan.songs[k].recordOffset + scan.songs[k].recordSize);
        EXPECT_EQ(writer.songExtents()[k].imageBytes, readBack[k].imageBytes);
        EXPECT_EQ(writer.songExtents()[k].songListBytes, readBack[k].songListBytes);
    }
    EXPECT_EQ(writer.songExtents().back().imageBytes, memory.image().size());
    EXPECT_EQ(writer.songExtents().back().songListBytes, memory.songList().size());
    EXPECT_EQ(writer.fill().sectors, isoSectors(memory.image().size(), memory.songList().size()));
}

TEST(CapacityCheckedWriter, ExactlyFullIsWrittenAndOneSectorOverIsRefused) {
    Songs songs(3);
    MemoryImageWriter measure;
    ASSERT_TRUE(songs.compile(measure).ok());
    const uint64_t needed = isoSectors(measure.image().size(), measure.songList().size());

    MemoryImageWriter full;
    CapacityCheckedWriter fits(full, mediumOf(needed));
    EXPECT_TRUE(songs.compile(fits).ok());
    EXPECT_EQ(full.image(), measure.image());

    MemoryImageWriter over;
    CapacityCheckedWriter refuses(over, mediumOf(needed - 1));
    const Result<CompileSummary> result = songs.compile(refuses);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.message().find("does not fit on a test disc"), std::string::npos) << result.message();
    EXPECT_NE(result.message().find("the first 2 of its 3 songs would fit"), std::string::npos) << result.message();
    EXPECT_TRUE(over.image().empty());  // nothing committed
}

TEST(CapacityCheckedWriter, RefusedFilesLeaveTheOldOnesAndNoTemporaryFiles) {
    test::TempDir dir;
    const std::vector<uint8_t> oldImage{1, 2, 3}, oldList{'1', '\t', 'x'};
    dir.write(kImageFileName, oldImage);
    dir.write(kSongListFileName, oldList);
    Songs songs(2);
    FileImageWriter files(dir.path());
    CapacityCheckedWriter writer(files, mediumOf(kIsoOverheadSectors + 2));
    EXPECT_FALSE(songs.compile(writer).ok());
    EXPECT_EQ(dir.read(kImageFileName), oldImage);
    EXPECT_EQ(dir.read(kSongListFileName), oldList);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2u);
}

}  // namespace
}  // namespace zmr
