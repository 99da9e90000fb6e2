// A build stopped by Ctrl+C or SIGTERM while it waits on a song: its hidden
// temporary files are gone, the old image and song list are as they were, and
// the process ends by the signal. A signal the build was started ignoring
// (nohup) stays ignored. A second build into the folder meanwhile is refused;
// one killed outright leaves hidden files that the next command there removes.

// Signals, posix_spawn, kill and FIFOs are POSIX. The Windows build's Ctrl+C
// handler has no test: Wine delivers no console control event to a program
// that runs without a console of its own, as the tests do.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "hardening/hostile_files.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

extern char** environ;

namespace zmr {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> hiddenFiles(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".")) names.push_back(name);
    }
    return names;
}

pid_t startBuild(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {ZMR_CLI_PATH, "build", "-q"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, ZMR_CLI_PATH, nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

// The child's wait status, or -1 when it is still running after the time given.
int waitFor(pid_t pid, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

TEST(BuildInterrupt, SignalRemovesTheTemporaryFilesAndKeepsTheOldOnes) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        test::TempDir dir;
        const std::string song = dir.write("a.mid", test::honestSong());
        const std::string out = dir / "out";
        ASSERT_EQ(waitFor(startBuild({"-o", out, song}), std::chrono::seconds(60)), 0);
        const auto oldImage = dir.read("out/DADEDA00.DEZ");
        const auto oldList = dir.read("out/SongList.txt");

        // A FIFO that nobody writes holds the build at that song, its temporary files open.
        const std::string fifo = dir / "waits.mid";
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        const pid_t pid = startBuild({"-o", out, song, fifo});
        for (int i = 0; i < 500 && hiddenFiles(out).size() < 2; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(hiddenFiles(out).size(), 2u);

        kill(pid, signal);
        const int status = waitFor(pid, std::chrono::seconds(30));
        ASSERT_NE(status, -1) << "the build did not end on the signal";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_TRUE(hiddenFiles(out).empty()) << hiddenFiles(out).front();
        EXPECT_EQ(dir.read("out/DADEDA00.DEZ"), oldImage);
        EXPECT_EQ(dir.read("out/SongList.txt"), oldList);
    }
}

TEST(BuildInterrupt, ASecondBuildIsRefusedAndAKilledOnesLeftoversGoNextTime) {
    test::TempDir dir;
    const std::string song = dir.write("a.mid", test::honestSong());
    const std::string out = dir / "out";
    ASSERT_EQ(waitFor(startBuild({"-o", out, song}), std::chrono::seconds(60)), 0);
    const auto oldImage = dir.read("out/DADEDA00.DEZ");
    const std::string fifo = dir / "waits.mid";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const pid_t first = startBuild({"-o", out, song, fifo});
    for (int i = 0; i < 500 && hiddenFiles(out).size() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(hiddenFiles(out).size(), 2u);

    const test::CommandOutput second = test::runCommand(test::zmrimageCommand("build -q -o " + test::shellQuote(out) + " " + test::shellQuote(song)));
    EXPECT_EQ(second.status, 2);
    EXPECT_EQ(second.err, "zmrimage: another zmrimage is writing into " + out + "; try again when it has ended\n");
    EXPECT_EQ(hiddenFiles(out).size(), 2u);  // the first build's, untouched

    kill(first, SIGKILL);
    ASSERT_NE(waitFor(first, std::chrono::seconds(30)), -1);
    ASSERT_EQ(hiddenFiles(out).size(), 2u);  // nothing could remove them
    const test::CommandOutput verify = test::runCommand(test::zmrimageCommand("verify " + test::shellQuote(out + "/DADEDA00.DEZ")));
    EXPECT_EQ(verify.status, 0) << verify.err;
    EXPECT_EQ(verify.err, "zmrimage: " + out + ": removed 2 hidden files that a stopped build left\n");
    EXPECT_TRUE(hiddenFiles(out).empty());
    EXPECT_EQ(dir.read("out/DADEDA00.DEZ"), oldImage);
}

TEST(BuildInterrupt, ASignalIgnoredAtTheStartStaysIgnored) {
    test::TempDir dir;
    const std::string fifo = dir / "waits.mid";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // As nohup starts it: the child inherits SIGHUP ignored.
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGHUP, &ignore, &previous);
    const pid_t pid = startBuild({"-o", dir / "out", fifo});
    sigaction(SIGHUP, &previous, nullptr);
    for (int i = 0; i < 500 && (!fs::exists(dir.path() / "out") || hiddenFiles(dir.path() / "out").size() < 2); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));

    kill(pid, SIGHUP);
    EXPECT_EQ(waitFor(pid, std::chrono::seconds(1)), -1) << "the build ended on an ignored SIGHUP";
}

}  // namespace
}  // namespace zmr
#endif  // _WIN32
