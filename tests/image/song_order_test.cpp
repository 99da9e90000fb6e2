#include "image/song_order.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace zmr {
namespace {

TEST(SongOrder, LetterCaseIgnoredThenRawBytesBreakTies) {
    std::vector<std::string> paths{"/m/b.mid", "/m/B.mid", "/M/a.mid", "/m/_x.mid", "/m/Z.kar", "/m/a.mid", "/m/b.mid"};
    sortSongPaths(paths);
    // Lower-cased, "_" (0x5F) comes before "a" (0x61).
    EXPECT_EQ(paths, (std::vector<std::string>{"/m/_x.mid", "/M/a.mid", "/m/a.mid", "/m/B.mid", "/m/b.mid",
                                               "/m/b.mid", "/m/Z.kar"}));
}

TEST(SongOrder, BytesAboveAsciiCompareUnsigned) {
    EXPECT_TRUE(songPathLess("a/z.mid", "a/\xC3\xA9.mid"));
    EXPECT_TRUE(songPathLess("a/b", "a/b.mid"));
    EXPECT_FALSE(songPathLess("same", "same"));
}

TEST(SongOrder, ExtensionsInAnyCase) {
    for (const char* name : {"a.mid", "a.MID", "a.Kar", ".kar"}) EXPECT_TRUE(hasSongExtension(name)) << name;
    for (const char* name : {"a.midi", "a.mid.txt", "mid", "a_mid", ""}) EXPECT_FALSE(hasSongExtension(name)) << name;
}

TEST(SongOrder, FolderListingTakesRegularSongFilesAndLinksToThem) {
    test::TempDir dir;
    dir.write("f/a.mid", std::vector<uint8_t>{1});
    dir.write("f/b.KAR", std::vector<uint8_t>{1});
    dir.write("f/c.txt", std::vector<uint8_t>{1});
    dir.write("f/sub/d.mid", std::vector<uint8_t>{1});
    std::filesystem::create_directories(dir.path() / "f/e.mid");
    std::filesystem::create_symlink(dir.path() / "f/a.mid", dir.path() / "f/link.mid");
    std::filesystem::create_symlink(dir.path() / "nowhere", dir.path() / "f/dangling.mid");

    auto found = listSongFolder(dir / "f/");
    ASSERT_TRUE(found) << found.message();
    sortSongPaths(*found);
    const std::string f = dir / "f";
    EXPECT_EQ(*found, (std::vector<std::string>{f + "/a.mid", f + "/b.KAR", f + "/link.mid"}));
    EXPECT_FALSE(listSongFolder(dir / "missing"));
}

}  // namespace
}  // namespace zmr
