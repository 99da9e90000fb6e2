// A temporary file is known to the watcher before it exists, and is created
// with the permissions the user's umask gives.

#include "fileio/temporary_file.h"

#include <gtest/gtest.h>

#include <set>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/temp_dir.h"

namespace zmr {
namespace {

namespace fs = std::filesystem;

struct Watcher : TemporaryFileWatcher {
    void created(const fs::path& file) override {
        EXPECT_EQ(locks, 1) << "registered outside the folder's lock";
        EXPECT_FALSE(fs::exists(file)) << "registered after it was made";
        files.insert(file);
    }
    void gone(const fs::path& file) override { files.erase(file); }
    void lockFolder() override { ++locks; }
    void unlockFolder() override { --locks; }
    std::set<fs::path> files;
    int locks = 0;
};

TEST(TemporaryFile, IsRegisteredBeforeItExistsAndForgottenOncePlaced) {
    test::TempDir dir;
    Watcher watcher;
    TemporaryFile file(dir.path() / "out.txt", &watcher);
    ASSERT_TRUE(file.open());
    EXPECT_EQ(watcher.files, std::set<fs::path>{file.path()});
    ASSERT_TRUE(file.write(std::vector<uint8_t>{'x'}));
    ASSERT_TRUE(file.place());
    EXPECT_TRUE(watcher.files.empty());
    EXPECT_EQ(watcher.locks, 0);
    EXPECT_EQ(dir.read("out.txt"), std::vector<uint8_t>{'x'});
}

#ifndef _WIN32  // POSIX permission bits
TEST(TemporaryFile, PlacedFileHasThePermissionsOfTheUmask) {
    for (const mode_t mask : {mode_t{077}, mode_t{022}}) {
        test::TempDir dir;
        const mode_t previous = ::umask(mask);
        TemporaryFile file(dir.path() / "out.txt");
        const bool placed = file.open() && file.place();
        ::umask(previous);
        ASSERT_TRUE(placed);
        struct stat status {};
        ASSERT_EQ(::stat((dir.path() / "out.txt").c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask) << std::oct << mask;
    }
}
#endif

}  // namespace
}  // namespace zmr
