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
#ifndef _WIN32
    // Windows makes symbolic links only with a privilege that users lack.
    std::filesystem::create_symlink(dir.path() / "f/a.mid", dir.path() / "f/link.mid");
    std::filesystem::create_symlink(dir.path() / "nowhere", dir.path() / "f/dangling.mid");
    const std::vector<std::string> names = {"/a.mid", "/b.KAR", "/link.mid"};
#else
    // The temporary folder's name has backslashes, which the songs' paths keep.
    const std::vector<std::string> names = {"\\a.mid", "\\b.KAR"};
#endif

    auto found = listSongFolder(dir / "f/");
    ASSERT_TRUE(found) << found.message();
    sortSongPaths(*found);
    const std::string f = dir / "f";
    std::vector<std::string> expected;
    for (const std::string& name : names) expected.push_back(f + name);
    EXPECT_EQ(*found, expected);
    EXPECT_FALSE(listSongFolder(dir / "missing"));
}

#ifdef _WIN32
TEST(SongOrder, WindowsFolderTextKeepsItsSeparatorsAndOneBetween) {
    test::TempDir dir;
    dir.write("f/a.mid", std::vector<uint8_t>{1});
    std::string slashes = dir.path().generic_string() + "/f";
    std::string backslashes = dir.path().string() + "\\f";
    for (auto [folder, path] : {std::pair{slashes, slashes + "/a.mid"}, std::pair{slashes + "//", slashes + "/a.mid"},
                                std::pair{backslashes, backslashes + "\\a.mid"},
                                std::pair{backslashes + "\\\\", backslashes + "\\a.mid"}}) {
        const auto found = listSongFolder(folder);
        ASSERT_TRUE(found) << folder << ": " << found.message();
        EXPECT_EQ(*found, std::vector<std::string>{path}) << folder;
    }
}
#endif

}  // namespace
}  // namespace zmr
