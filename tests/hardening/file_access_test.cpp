// Song paths and output folders that are not what they seem: a folder named
// like a song, a file that cannot be read, a file that is gone by the time it
// is read, a FIFO, and output folders that cannot be written.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <thread>

#include "hardening/child_process.h"
#include "hardening/hostile_files.h"
#include "hardening/recording_sinks.h"
#include "hardening/scratch_mount.h"
#include "image/compile_image.h"
#include "image/file_image_writer.h"
#include "image/memory_image_writer.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::shellQuote;

std::string build(const std::string& arguments) {
    return "timeout 60 " + std::string(ZMR_CLI_PATH) + " build -q " + arguments;
}

TEST(FileAccess, FolderNamedLikeASongIsNamedInTheMessage) {
    test::TempDir dir;
    const std::string first = dir.write("a.mid", test::honestSong());
    fs::create_directories(dir.path() / "x.mid");
    test::RecordingSinks sinks;
    MemoryImageWriter writer;
    const auto result = compileImage(SongPathList({first, dir / "x.mid"}), writer, sinks.sinks());
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(result->songsWritten, 1);
    EXPECT_TRUE(result->stoppedEarly);
    ASSERT_EQ(sinks.failed.size(), 1u);
    EXPECT_EQ(sinks.failed[0].first, dir / "x.mid");
    EXPECT_EQ(sinks.failed[0].second, "cannot read: Is a directory");
    for (const fs::path& path : {dir.path() / "x.mid", dir.path() / "missing.mid"})
        EXPECT_EQ(loadAndConvertSong(path.string()).kind(), FailureKind::UnreadableInput) << path;
}

TEST(FileAccess, FolderNamedLikeASongOnTheCommandLineIsAFolderOfSongs) {
    test::TempDir dir;
    dir.write("x.mid/inner.kar", test::honestSong());
    const auto run = test::runCommand(build("-o " + shellQuote(dir / "out") + " " + shellQuote(dir / "x.mid")));
    EXPECT_EQ(run.status, 0) << run.err;
    const Bytes list = dir.read("out/SongList.txt");
    EXPECT_EQ(std::string(list.begin(), list.end()), "1\tinner\tLa\r\n");
}

// POSIX permission bits, setpriv and tmpfs: Windows has access control lists
// instead, which Wine does not enforce, so these three are not built for it.
#ifndef _WIN32
// zmrimage as the unprivileged user. That user may not reach the build tree (a
// clone inside a private folder), so it runs a copy of the program kept in the
// test's own folder. Empty when the command cannot run so.
std::string zmrimageAsUnprivileged(const test::TempDir& dir, const std::string& arguments) {
    const fs::path program = dir.path() / "bin" / "zmrimage";
    if (!fs::exists(program)) {
        fs::create_directories(program.parent_path());
        fs::copy_file(ZMR_CLI_PATH, program);
        fs::permissions(program, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    }
    return test::asUnprivilegedUser("timeout 60 " + shellQuote(program.string()) + " " + arguments);
}

std::string buildAsUnprivileged(const test::TempDir& dir, const std::string& arguments) {
    return zmrimageAsUnprivileged(dir, "build -q " + arguments);
}

TEST(FileAccess, UnreadableSongIsNamedWithTheSystemsReason) {
    test::TempDir dir;
    const std::string song = dir.write("locked.mid", test::honestSong());
    fs::permissions(song, fs::perms::none);
    fs::create_directories(dir.path() / "out");
    fs::permissions(dir.path() / "out", fs::perms::all);
    const std::string command = buildAsUnprivileged(dir, "-o " + shellQuote(dir / "out") + " " + shellQuote(song));
    if (command.empty()) GTEST_SKIP() << "running as root without setpriv: root reads any file";
    const auto run = test::runCommand(command);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, song + ": cannot open: Permission denied\n");
    EXPECT_EQ(dir.read("out/DADEDA00.DEZ").size(), 4096u);
}

// An image that cannot be opened is a file that cannot be read, whichever
// command reads it: status 2, never the 1 of a damaged image.
TEST(FileAccess, UnreadableImageIsTheSameStatusForEveryCommand) {
    test::TempDir dir;
    const std::string image = shellQuote(dir.write("locked/DADEDA00.DEZ", Bytes(4096, 0)));
    fs::permissions(dir.path() / "locked" / "DADEDA00.DEZ", fs::perms::none);
    for (const std::string& arguments :
         {"info " + image, "list " + image, "verify " + image, "lyrics " + image + " 1",
          "extract " + image + " 1 -o " + shellQuote(dir / "x.mid"),
          "songbook " + image + " -o " + shellQuote(dir / "b.html")}) {
        const std::string command = zmrimageAsUnprivileged(dir, arguments);
        if (command.empty()) GTEST_SKIP() << "running as root without setpriv: root reads any file";
        const auto run = test::runCommand(command);
        EXPECT_EQ(run.status, 2) << arguments << ": " << run.err;
        EXPECT_NE(run.err.find("Permission denied"), std::string::npos) << arguments << ": " << run.err;
    }
}

#if ZMR_WITH_ISO
// An image too big for the disc, whose song list cannot be read: the message
// names the song list, not the image.
TEST(FileAccess, IsoNamesTheUnreadableSongList) {
    test::TempDir dir;
    const fs::path out = dir.path() / "out";
    fs::create_directories(out);
    fs::resize_file(dir.write("out/DADEDA00.DEZ", Bytes{}), uint64_t{700} << 20);  // sparse
    const std::string list = dir.write("out/SongList.txt", Bytes{'1', '\t', 'x', '\r', '\n'});
    fs::permissions(list, fs::perms::none);
    const std::string command = zmrimageAsUnprivileged(dir, "iso --medium cd650 -o " + shellQuote(dir / "k.iso") + " " +
                                                                shellQuote(out.string()));
    if (command.empty()) GTEST_SKIP() << "running as root without setpriv: root reads any file";
    const auto run = test::runCommand(command);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("would fit is not known: " + list + ": cannot open: Permission denied\n"), std::string::npos)
        << run.err;
}
#endif
#endif  // _WIN32

// The list names a file that is removed just before the compilation reads it.
class VanishingList : public SongSource {
public:
    VanishingList(std::vector<std::string> paths, size_t vanishing) : paths_(std::move(paths)), vanishing_(vanishing) {}
    int32_t count() const override { return static_cast<int32_t>(paths_.size()); }
    std::string path(int32_t index) const override {
        const auto i = static_cast<size_t>(index);
        if (i == vanishing_) fs::remove(paths_[i]);
        return paths_[i];
    }

private:
    std::vector<std::string> paths_;
    size_t vanishing_;
};

TEST(FileAccess, SongRemovedBeforeItIsReadIsNamedAndEndsOrIsSkipped) {
    for (const bool skipBad : {false, true}) {
        SCOPED_TRACE(skipBad ? "skipping bad songs" : "stopping at a bad song");
        test::TempDir dir;
        const std::vector<std::string> paths = {dir.write("1.mid", test::honestSong()), dir.write("2.mid", test::honestSong()),
                                                dir.write("3.mid", test::honestSong())};
        test::RecordingSinks sinks;
        FileImageWriter writer(dir.path());
        const auto result = compileImage(VanishingList(paths, 1), writer, sinks.sinks(), {.skipBad = skipBad});
        ASSERT_TRUE(result.ok()) << result.message();
        EXPECT_EQ(result->songsWritten, skipBad ? 2 : 1);
        ASSERT_EQ(sinks.failed.size(), 1u);
        EXPECT_EQ(sinks.failed[0].first, paths[1]);
        EXPECT_EQ(sinks.failed[0].second, "cannot open: No such file or directory");
        const Bytes list = dir.read("SongList.txt");
        EXPECT_EQ(std::string(list.begin(), list.end()), skipBad ? "1\t1\tLa\r\n2\t3\tLa\r\n" : "1\t1\tLa\r\n");
    }
}

#ifndef _WIN32  // FIFOs, and the forked child that limits the time
// Opening a FIFO waits for a writer. Songs are read ahead of their turn only
// when they are regular files, so a compilation that a failed song stops
// before the FIFO's turn never opens it, and one that reaches it reads it
// then. Each runs in a child with a time limit: a hang fails the test.
TEST(FileAccess, FifoIsOpenedOnlyInItsTurn) {
    test::TempDir dir;
    const std::string bad = dir.write("1.mid", Bytes{'M', 'T', 'h', 'd'});
    const std::string good = dir.write("1.mid.ok", test::honestSong());
    const std::string fifo = dir / "2.mid";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string after = dir.write("3.mid", test::honestSong());
    for (const unsigned jobs : {1u, 2u, 4u}) {
        SCOPED_TRACE(std::to_string(jobs) + " jobs");
        const test::ChildOutcome stopped = test::runInChild(
            [&] {
                test::RecordingSinks sinks;
                MemoryImageWriter writer;
                const auto result = compileImage(SongPathList({bad, fifo, after}), writer, sinks.sinks(), {.jobs = jobs});
                return result.ok() && result->stoppedEarly && result->songsWritten == 0 && sinks.failed.size() == 1 &&
                               sinks.failed[0].first == bad
                           ? 0
                           : 1;
            },
            {.seconds = 20});
        EXPECT_TRUE(stopped.exited && stopped.exitCode == 0) << stopped.describe();

        const test::ChildOutcome fed = test::runInChild(
            [&] {
                // The writer's open waits for the compilation to open the FIFO.
                std::thread feeder([&] {
                    const Bytes song = test::honestSong();
                    const int fd = ::open(fifo.c_str(), O_WRONLY);
                    (void)!::write(fd, song.data(), song.size());
                    ::close(fd);
                });
                test::RecordingSinks sinks;
                MemoryImageWriter writer;
                const auto result = compileImage(SongPathList({good, fifo, after}), writer, sinks.sinks(), {.jobs = jobs});
                feeder.join();
                return result.ok() && result->songsWritten == 3 && sinks.failed.empty() ? 0 : 1;
            },
            {.seconds = 20});
        EXPECT_TRUE(fed.exited && fed.exitCode == 0) << fed.describe();
    }
}
#endif  // _WIN32

TEST(FileAccess, OutputThatIsAFileIsRefusedByName) {
    test::TempDir dir;
    const std::string song = dir.write("a.mid", test::honestSong());
    const std::string notAFolder = dir.write("out", Bytes{'x'});
    const auto run = test::runCommand(build("-o " + shellQuote(notAFolder) + " " + shellQuote(song)));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("zmrimage: cannot create " + notAFolder + ": ", 0), 0u) << run.err;
    EXPECT_EQ(dir.read("out"), Bytes{'x'});
}

#ifndef _WIN32
TEST(FileAccess, OutputFolderWithoutWritePermissionKeepsTheOldFiles) {
    test::TempDir dir;
    const std::string song = dir.write("a.mid", test::honestSong());
    const fs::path out = dir.path() / "out";
    fs::create_directories(out);
    fs::permissions(out, fs::perms::all);
    // Root writes into any folder, so as root the command runs as another user.
    const std::string first = buildAsUnprivileged(dir, "-o " + shellQuote(out.string()) + " " + shellQuote(song));
    if (first.empty()) GTEST_SKIP() << "running as root without setpriv: root writes into any folder";
    ASSERT_EQ(test::runCommand(first).status, 0);
    const Bytes oldImage = dir.read("out/DADEDA00.DEZ"), oldList = dir.read("out/SongList.txt");

    // Readable and searchable by all, writable by root alone (or by nobody, without root).
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(out, ::geteuid() == 0 ? readOnly | fs::perms::owner_write : readOnly);
    const std::string second = dir.write("b.mid", test::honestSong());
    const auto run = test::runCommand(buildAsUnprivileged(dir, "-o " + shellQuote(out.string()) + " " + shellQuote(second)));
    fs::permissions(out, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "zmrimage: cannot write " + (out / "DADEDA00.DEZ").string() + ": Permission denied\n");
    EXPECT_EQ(dir.read("out/DADEDA00.DEZ"), oldImage);
    EXPECT_EQ(dir.read("out/SongList.txt"), oldList);
}

TEST(FileAccess, ReadOnlyFileSystemKeepsTheOldFiles) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "disk");
    test::ScratchMount disk(dir / "disk", "size=1m");
    if (!disk.mounted()) GTEST_SKIP() << disk.reason();
    const std::string song = dir.write("a.mid", test::honestSong());
    ASSERT_EQ(test::runCommand(build("-o " + shellQuote(dir / "disk") + " " + shellQuote(song))).status, 0);
    const Bytes oldImage = dir.read("disk/DADEDA00.DEZ"), oldList = dir.read("disk/SongList.txt");
    if (!disk.remountReadOnly()) GTEST_SKIP() << "cannot make the tmpfs read-only here";

    const std::string second = dir.write("b.mid", test::honestSong());
    const auto run = test::runCommand(build("-o " + shellQuote(dir / "disk") + " " + shellQuote(second)));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "zmrimage: cannot write " + (dir.path() / "disk" / "DADEDA00.DEZ").string() + ": Read-only file system\n");
    EXPECT_EQ(dir.read("disk/DADEDA00.DEZ"), oldImage);
    EXPECT_EQ(dir.read("disk/SongList.txt"), oldList);
}

#endif  // _WIN32

}  // namespace
}  // namespace zmr
