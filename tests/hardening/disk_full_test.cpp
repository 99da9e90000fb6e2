// A disk that fills up while the image is written: in memory, through the
// file writer, and on a real small file system. Every time the compilation
// says the disk is full and the previous image and song list stay as they were.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "hardening/hostile_files.h"
#include "hardening/recording_sinks.h"
#include "hardening/scratch_mount.h"
#include "image/compile_image.h"
#include "fileio/write_failure.h"
#include "image/file_image_writer.h"
#include "image/memory_image_writer.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

constexpr char kDiskFull[] = "(the disk is full)";

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// `count` different songs written into `dir`/songs, in list order.
std::vector<std::string> writeSongs(const test::TempDir& dir, int count, int notes) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "songs/%04d.mid", i);
        paths.push_back(dir.write(name, test::noisySong(static_cast<uint32_t>(i), notes)));
    }
    return paths;
}

std::vector<std::string> folderNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Budgets that run out in the header, the group table, the first index
// block, a record, the song list, a later group, and one byte short.
std::vector<uint64_t> budgetsUpTo(uint64_t total) {
    return {0, 1, 511, 512, 2047, 2048, 4095, 4096, 4100, total / 3, total / 2, total - 1};
}

TEST(DiskFull, MemoryWriterKeepsTheCommittedFilesAtEveryStage) {
    test::TempDir dir;
    const SongPathList first(writeSongs(dir, 2, 20));
    const SongPathList songs(writeSongs(dir, 300, 20));  // two groups
    test::RecordingSinks sinks;

    MemoryImageWriter measure;
    ASSERT_TRUE(compileImage(songs, measure, sinks.sinks()).ok());
    const uint64_t total = measure.image().size() + measure.songList().size();

    MemoryImageWriter writer;
    ASSERT_TRUE(compileImage(first, writer, sinks.sinks()).ok());
    const Bytes oldImage = writer.image(), oldList = writer.songList();
    for (const uint64_t budget : budgetsUpTo(total)) {
        SCOPED_TRACE("budget " + std::to_string(budget) + " of " + std::to_string(total));
        writer.failAfter(budget);
        const auto result = compileImage(songs, writer, sinks.sinks());
        ASSERT_FALSE(result.ok());
        EXPECT_TRUE(endsWith(result.message(), kDiskFull)) << result.message();
        EXPECT_EQ(result.kind(), FailureKind::DiskFull);
        EXPECT_EQ(writer.image(), oldImage);
        EXPECT_EQ(writer.songList(), oldList);
    }
    writer.failAfter(total);  // exactly enough
    ASSERT_TRUE(compileImage(songs, writer, sinks.sinks()).ok());
    EXPECT_EQ(writer.image(), measure.image());
    EXPECT_TRUE(sinks.failed.empty());
}

// The real file writer, with a disk that fills after a budget of bytes: the
// writes fail with the system's ENOSPC message, as a full disk's would.
class FillingFileWriter : public FileImageWriter {
public:
    FillingFileWriter(fs::path folder, uint64_t budget) : FileImageWriter(std::move(folder)), budget_(budget) {}

    Status appendImage(std::span<const uint8_t> bytes) override {
        if (!spend(bytes.size())) return full(imagePath());
        return FileImageWriter::appendImage(bytes);
    }
    Status appendSongList(std::span<const uint8_t> bytes) override {
        if (!spend(bytes.size())) return full(songListPath());
        return FileImageWriter::appendSongList(bytes);
    }

private:
    bool spend(size_t bytes) {
        if (bytes > budget_) return false;
        budget_ -= bytes;
        return true;
    }
    static Status full(const fs::path& file) { return writeFailure("cannot write " + file.string(), ENOSPC); }

    uint64_t budget_;
};

TEST(DiskFull, FileWriterLeavesTheOldFilesAndNoTemporaryFiles) {
    test::TempDir dir;
    const SongPathList songs(writeSongs(dir, 300, 20));
    test::RecordingSinks sinks;
    const fs::path out = dir.path() / "out";
    fs::create_directories(out);

    MemoryImageWriter measure;
    ASSERT_TRUE(compileImage(songs, measure, sinks.sinks()).ok());
    const uint64_t total = measure.image().size() + measure.songList().size();

    FileImageWriter firstWriter(out);
    ASSERT_TRUE(compileImage(SongPathList(writeSongs(dir, 2, 20)), firstWriter, sinks.sinks()).ok());
    const Bytes oldImage = dir.read("out/DADEDA00.DEZ"), oldList = dir.read("out/SongList.txt");
    for (const uint64_t budget : budgetsUpTo(total)) {
        SCOPED_TRACE("budget " + std::to_string(budget) + " of " + std::to_string(total));
        FillingFileWriter writer(out, budget);
        const auto result = compileImage(songs, writer, sinks.sinks());
        ASSERT_FALSE(result.ok());
        EXPECT_TRUE(endsWith(result.message(), kDiskFull)) << result.message();
        EXPECT_EQ(result.kind(), FailureKind::DiskFull);
        EXPECT_EQ(dir.read("out/DADEDA00.DEZ"), oldImage);
        EXPECT_EQ(dir.read("out/SongList.txt"), oldList);
        EXPECT_EQ(folderNames(out), (std::vector<std::string>{"DADEDA00.DEZ", "SongList.txt"}));
    }
    FillingFileWriter enough(out, total);
    ASSERT_TRUE(compileImage(songs, enough, sinks.sinks()).ok());
    EXPECT_EQ(dir.read("out/DADEDA00.DEZ"), measure.image());
}

// A 64 KiB tmpfs, as root: a small image fits, a large one does not. Linux
// only: the Windows build has no small file system to mount.
#ifndef _WIN32
TEST(DiskFull, RealSmallFileSystemThroughTheBuildCommand) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "disk");
    const test::ScratchMount disk(dir / "disk", "size=64k");
    if (!disk.mounted()) GTEST_SKIP() << disk.reason();

    const std::string build = std::string(ZMR_CLI_PATH) + " build -q -o " + test::shellQuote(dir / "disk") + " ";
    const std::string small = dir.write("small/one.mid", test::honestSong());
    const auto first = test::runCommand("timeout 60 " + build + test::shellQuote(small));
    ASSERT_EQ(first.status, 0) << first.err;
    const Bytes oldImage = dir.read("disk/DADEDA00.DEZ"), oldList = dir.read("disk/SongList.txt");

    writeSongs(dir, 40, 400);  // well over 64 KiB of records
    const auto second = test::runCommand("timeout 60 " + build + test::shellQuote(dir / "songs"));
    EXPECT_EQ(second.status, 2);
    EXPECT_EQ(second.err.rfind("zmrimage: cannot write " + (dir.path() / "disk").string(), 0), 0u) << second.err;
    EXPECT_TRUE(endsWith(second.err, std::string(kDiskFull) + "\n")) << second.err;
    EXPECT_EQ(dir.read("disk/DADEDA00.DEZ"), oldImage);
    EXPECT_EQ(dir.read("disk/SongList.txt"), oldList);
    EXPECT_EQ(folderNames(dir.path() / "disk"), (std::vector<std::string>{"DADEDA00.DEZ", "SongList.txt"}));

    // The system's own ENOSPC, wherever the writes meet it, is a full disk, not just a failed write.
    test::RecordingSinks sinks;
    FileImageWriter writer(dir.path() / "disk");
    const auto result = compileImage(SongPathList(writeSongs(dir, 40, 400)), writer, sinks.sinks());
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.kind(), FailureKind::DiskFull) << result.message();
    EXPECT_EQ(dir.read("disk/DADEDA00.DEZ"), oldImage);
}

#endif  // _WIN32

}  // namespace
}  // namespace zmr
