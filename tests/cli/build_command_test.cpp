// The build command as a user meets it: exit statuses, messages, song order,
// and what is left on disk when something goes wrong.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#include "support/midi_writer.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;

std::vector<uint8_t> rejectedSong() {
    test::TrackWriter track;
    track.varLen(0).raw({0xF8}).endOfTrack();
    return test::MidiFile(96).add(track).bytes();
}

// Built by appending: GCC 12 warns falsely (-Warray-bounds) on literal + literal concatenations.
std::string cli(std::string_view arguments) {
    std::string command;
    command.reserve(256);
    command.append(ZMR_CLI_PATH).append(" ").append(arguments);
    return command;
}

std::string build(const std::string& arguments) { return cli("build " + arguments); }

std::string text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(BuildCommand, FolderSongsInCaseBlindOrderWithSummary) {
    test::TempDir dir;
    dir.write("songs/b.KAR", test::oneNoteSong("bee"));
    dir.write("songs/A.mid", test::oneNoteSong("ay"));
    dir.write("songs/c.Mid", test::oneNoteSong("cee"));
    dir.write("songs/notes.txt", test::oneNoteSong("no"));
    std::filesystem::create_directories(dir.path() / "songs/sub.mid");  // a folder is not a song

    const auto run = runCommand(build("-o " + shellQuote(dir / "out") + " " + shellQuote(dir / "songs")));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(text(dir.read("out/SongList.txt")), "1\tA\tay\r\n2\tb\tbee\r\n3\tc\tcee\r\n");
    const auto image = dir.read("out/DADEDA00.DEZ");
    EXPECT_NE(run.out.find("3 songs written, image " + std::to_string(image.size()) + " bytes"), std::string::npos)
        << run.out;
    EXPECT_TRUE(run.err.empty()) << run.err;  // no terminal, no progress
}

TEST(BuildCommand, FolderTwiceListsEverySongTwiceAndFilesAreSongsWhateverTheirName) {
    test::TempDir dir;
    dir.write("s/x.mid", test::oneNoteSong("x"));
    const std::string loose = dir.write("loose.bin", test::oneNoteSong("y"));
    const auto run = runCommand(build("-q -o " + shellQuote(dir / "out") + " " + shellQuote(dir / "s") + " " +
                                      shellQuote(dir / "s/") + " " + shellQuote(loose)));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(text(dir.read("out/SongList.txt")), "1\tloose\ty\r\n2\tx\tx\r\n3\tx\tx\r\n");
}

TEST(BuildCommand, FailedSongStopsTheCompilationWithStatusOne) {
    test::TempDir dir;
    dir.write("s/1.mid", test::oneNoteSong("one"));
    dir.write("s/2.mid", rejectedSong());
    dir.write("s/3.mid", test::oneNoteSong("three"));
    const auto run = runCommand(build("-o " + shellQuote(dir / "out") + " " + shellQuote(dir / "s")));
    EXPECT_EQ(run.status, 1);
    // The folder's songs are named with the system's separator.
    EXPECT_EQ(run.err, (dir.path() / "s" / "2.mid").string() + ": Unknown command 0xF8\n");
    EXPECT_EQ(text(dir.read("out/SongList.txt")), "1\t1\tone\r\n");

    const auto skipping = runCommand(build("--skip-bad -o " + shellQuote(dir / "out") + " " + shellQuote(dir / "s")));
    EXPECT_EQ(skipping.status, 1);
    EXPECT_EQ(text(dir.read("out/SongList.txt")), "1\t1\tone\r\n2\t3\tthree\r\n");
}

TEST(BuildCommand, AnyNumberOfJobsWritesTheSameFilesAndMessages) {
    test::TempDir dir;
    for (int i = 0; i < 40; ++i) dir.write("s/" + std::to_string(100 + i) + ".mid", i == 23 ? rejectedSong() : test::oneNoteSong(std::to_string(i)));
    std::string firstErr;
    std::vector<uint8_t> firstImage, firstList;
    for (const char* jobs : {"1", "2", "5"}) {
        SCOPED_TRACE(std::string("--jobs ") + jobs);
        const auto run = runCommand(build("--skip-bad -q --jobs " + std::string(jobs) + " -o " + shellQuote(dir / "out") + " " +
                                          shellQuote(dir / "s")));
        EXPECT_EQ(run.status, 1);
        if (firstErr.empty()) {
            firstErr = run.err;
            firstImage = dir.read("out/DADEDA00.DEZ");
            firstList = dir.read("out/SongList.txt");
        }
        EXPECT_EQ(run.err, firstErr);
        EXPECT_EQ(dir.read("out/DADEDA00.DEZ"), firstImage);
        EXPECT_EQ(dir.read("out/SongList.txt"), firstList);
    }
    EXPECT_EQ(firstErr, (dir.path() / "s" / "123.mid").string() + ": Unknown command 0xF8\n");  // as the folder lists it
    EXPECT_EQ(runCommand(build("--jobs 0 " + shellQuote(dir / "s"))).status, 2);
}

TEST(BuildCommand, MissingSongIsReportedWithTheSystemsReason) {
    test::TempDir dir;
    const auto run = runCommand(build("-o " + shellQuote(dir / "out") + " " + shellQuote(dir / "gone.mid")));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, dir / "gone.mid" + ": cannot open: No such file or directory\n");
    EXPECT_EQ(dir.read("out/DADEDA00.DEZ").size(), 4096u);
}

TEST(BuildCommand, UsageErrorsExitWithTwo) {
    EXPECT_EQ(runCommand(build("")).status, 2);
    EXPECT_EQ(runCommand(build("--no-such-flag x.mid")).status, 2);
    EXPECT_EQ(runCommand(std::string(ZMR_CLI_PATH)).status, 2);
    const auto version = runCommand(cli("--version"));
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("zmrimage "), std::string::npos);
    EXPECT_EQ(runCommand(build("--help")).status, 0);
}

TEST(BuildCommand, UnwritableOutputLeavesOlderFilesUntouched) {
    test::TempDir dir;
    const std::string song = dir.write("a.mid", test::oneNoteSong("a"));
    ASSERT_EQ(runCommand(build("-o " + shellQuote(dir / "out") + " " + shellQuote(song))).status, 0);
    const auto oldImage = dir.read("out/DADEDA00.DEZ");
    const auto oldList = dir.read("out/SongList.txt");

    const std::string second = dir.write("b.mid", test::oneNoteSong("b"));
#ifndef _WIN32
    // POSIX permission bits; a Windows folder's read-only flag does not stop
    // files being made in it.
    if (::geteuid() != 0) {
        std::filesystem::permissions(dir.path() / "out", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        const auto run = runCommand(build("-o " + shellQuote(dir / "out") + " " + shellQuote(second)));
        std::filesystem::permissions(dir.path() / "out", std::filesystem::perms::owner_all);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("Permission denied"), std::string::npos) << run.err;
        EXPECT_EQ(dir.read("out/DADEDA00.DEZ"), oldImage);
        EXPECT_EQ(dir.read("out/SongList.txt"), oldList);
    }
#endif
    // Even root cannot put a file where a folder stands: the song list cannot be replaced.
    std::filesystem::remove(dir.path() / "out/SongList.txt");
    std::filesystem::create_directories(dir.path() / "out/SongList.txt/keep");
    const auto blocked = runCommand(build("-o " + shellQuote(dir / "out") + " " + shellQuote(second)));
    EXPECT_EQ(blocked.status, 2);
    EXPECT_NE(blocked.err.find("SongList.txt"), std::string::npos) << blocked.err;
    EXPECT_EQ(dir.read("out/DADEDA00.DEZ"), oldImage);
    size_t leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "out")) leftovers += entry.path().filename().string()[0] == '.';
    EXPECT_EQ(leftovers, 0u);

    // An output that is a file cannot become a folder.
    const auto notAFolder = runCommand(build("-o " + shellQuote(song) + " " + shellQuote(second)));
    EXPECT_EQ(notAFolder.status, 2);
}

}  // namespace
}  // namespace zmr
