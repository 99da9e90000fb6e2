// The image and the song list put in place as one step, with a failure
// injected at each of its file operations in turn: the folder always ends
// with both old files or both new ones, never without its image. And the
// process killed at each of them: the next run's recovery leaves the old pair
// or the new one, and nothing else.

#include "fileio/place_together.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <optional>
#include <string>

#include "fileio/placing_journal.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

namespace fs = std::filesystem;

// Fails the operation numbered `failAt` (from 0); without hard links, as on
// FAT, every link fails besides, and a copy of `failCopyOf` always fails.
class FailingSteps : public FileSteps {
public:
    FailingSteps(int failAt, bool hardLinks) : failAt_(failAt), hardLinks_(hardLinks) {}

    std::error_code link(const fs::path& a, const fs::path& b) override {
        return !hardLinks_ || fails() ? failure() : FileSteps::link(a, b);
    }
    std::error_code copy(const fs::path& a, const fs::path& b) override {
        return fails() || a.filename() == failCopyOf ? failure() : FileSteps::copy(a, b);
    }
    std::error_code rename(const fs::path& a, const fs::path& b) override { return fails() ? failure() : FileSteps::rename(a, b); }
    std::error_code remove(const fs::path& a) override { return fails() ? failure() : FileSteps::remove(a); }
    std::error_code syncFolder(const fs::path& a) override { return fails() ? failure() : FileSteps::syncFolder(a); }
    std::error_code writeFile(const fs::path& a, std::string_view text) override {
        return fails() ? failure() : FileSteps::writeFile(a, text);
    }

    int calls = 0;
    fs::path failCopyOf;

private:
    bool fails() { return calls++ == failAt_; }
    static std::error_code failure() { return std::make_error_code(std::errc::io_error); }
    int failAt_;
    bool hardLinks_;
};

std::optional<std::string> contents(const test::TempDir& dir, const std::string& name) {
    if (!fs::exists(dir.path() / name)) return std::nullopt;
    const auto bytes = dir.read(name);
    return std::string(bytes.begin(), bytes.end());
}

struct Folder {
    std::optional<std::string> image, songList;
    bool operator==(const Folder&) const = default;
};

Folder folderOf(const test::TempDir& dir) { return {contents(dir, "DADEDA00.DEZ"), contents(dir, "SongList.txt")}; }

Result<PlacedTogether> place(const test::TempDir& dir, FileSteps& steps) {
    TemporaryFile image(dir.path() / "DADEDA00.DEZ"), songList(dir.path() / "SongList.txt");
    for (auto [file, text] : {std::pair{&image, "new image"}, std::pair{&songList, "new list"}}) {
        const std::string_view bytes(text);
        EXPECT_TRUE(file->open() && file->write(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) &&
                    file->finish());
    }
    return placeTogether(image, songList, steps);
}

void write(const test::TempDir& dir, const std::string& name, const std::optional<std::string>& text) {
    if (text) dir.write(name, std::vector<uint8_t>(text->begin(), text->end()));
}

TEST(PlaceTogether, AFailureAtAnyStepLeavesTheOldFilesOrTheNewOnes) {
    const Folder fresh{"new image", "new list"};
    for (const bool hardLinks : {true, false}) {
        for (const Folder& old : {Folder{"old image", "old list"}, Folder{"old image", std::nullopt}, Folder{}}) {
            for (int failAt = 0;; ++failAt) {
                SCOPED_TRACE((hardLinks ? "hard links, " : "no hard links, ") + old.image.value_or("no image") +
                             ", " + old.songList.value_or("no list") + ", failing step " + std::to_string(failAt));
                test::TempDir dir;
                write(dir, "DADEDA00.DEZ", old.image);
                write(dir, "SongList.txt", old.songList);
                FailingSteps steps(failAt, hardLinks);
                const Result<PlacedTogether> placed = place(dir, steps);
                Folder now = folderOf(dir);
                if (!placed && now != old && now != fresh) {
                    // Neither finished nor undone: the journal completes it on the next run.
                    const PlacingRecovery recovery = recoverPlacing(dir.path(), "DADEDA00.DEZ", "SongList.txt");
                    EXPECT_EQ(recovery.outcome, PlacingRecovery::Outcome::Completed) << recovery.message;
                    now = folderOf(dir);
                }
                EXPECT_TRUE(now == old || now == fresh) << now.image.value_or("-") << " / " << now.songList.value_or("-");
                if (placed) EXPECT_TRUE(now == fresh);
                else EXPECT_FALSE(placed.message().empty());
                if (steps.calls <= failAt) {  // no step failed: the last round
                    EXPECT_TRUE(placed) << placed.message();
                    break;
                }
            }
        }
    }
}

// FAT keeps no hard links, and a nearly full disk has no room to copy the old
// image: the old song list is kept instead, and the new files go in.
TEST(PlaceTogether, AnImageThatCannotBeKeptStillGetsReplacedSafely) {
    test::TempDir dir;
    write(dir, "DADEDA00.DEZ", "old");
    write(dir, "SongList.txt", "old");
    FailingSteps steps(-1, false);
    steps.failCopyOf = "DADEDA00.DEZ";
    const Result<PlacedTogether> placed = place(dir, steps);
    ASSERT_TRUE(placed) << placed.message();
    EXPECT_TRUE(folderOf(dir) == (Folder{"new image", "new list"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

#ifndef _WIN32
// Ends the process, as a kill would, before operation number `killAt`.
class KillingSteps : public FailingSteps {
public:
    KillingSteps(int killAt, bool hardLinks) : FailingSteps(-1, hardLinks), killAt_(killAt) {}
    std::error_code link(const fs::path& a, const fs::path& b) override { return step(), FailingSteps::link(a, b); }
    std::error_code copy(const fs::path& a, const fs::path& b) override { return step(), FailingSteps::copy(a, b); }
    std::error_code rename(const fs::path& a, const fs::path& b) override { return step(), FailingSteps::rename(a, b); }
    std::error_code remove(const fs::path& a) override { return step(), FailingSteps::remove(a); }
    std::error_code syncFolder(const fs::path& a) override { return step(), FailingSteps::syncFolder(a); }
    std::error_code writeFile(const fs::path& a, std::string_view text) override {
        return step(), FailingSteps::writeFile(a, text);
    }

private:
    void step() {
        if (steps_++ == killAt_) ::_exit(9);
    }
    int killAt_;
    int steps_ = 0;
};

TEST(PlaceTogether, AProcessKilledAtAnyStepLeavesAMatchingPairAfterTheNextRun) {
    const Folder fresh{"new image", "new list"};
    for (const bool hardLinks : {true, false}) {
        for (const Folder& old : {Folder{"old image", "old list"}, Folder{"old image", std::nullopt}, Folder{}}) {
            for (int killAt = 0;; ++killAt) {
                SCOPED_TRACE((hardLinks ? "hard links, " : "no hard links, ") + old.image.value_or("no image") +
                             ", " + old.songList.value_or("no list") + ", killed before step " + std::to_string(killAt));
                test::TempDir dir;
                write(dir, "DADEDA00.DEZ", old.image);
                write(dir, "SongList.txt", old.songList);
                const pid_t child = ::fork();
                ASSERT_NE(child, -1);
                if (child == 0) {
                    KillingSteps steps(killAt, hardLinks);
                    ::_exit(place(dir, steps) ? 0 : 1);
                }
                int status = 0;
                ASSERT_EQ(::waitpid(child, &status, 0), child);
                ASSERT_TRUE(WIFEXITED(status));
                const bool killed = WEXITSTATUS(status) == 9;

                const PlacingRecovery recovery = recoverPlacing(dir.path(), "DADEDA00.DEZ", "SongList.txt");
                EXPECT_FALSE(recovery.warning) << recovery.message;
                const Folder now = folderOf(dir);
                EXPECT_TRUE(now == old || now == fresh) << now.image.value_or("-") << " / " << now.songList.value_or("-");
                const size_t outputs = (now.image ? 1 : 0) + (now.songList ? 1 : 0);
                EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator())),
                          outputs);
                if (!killed) {  // placed whole: the last round
                    EXPECT_EQ(WEXITSTATUS(status), 0);
                    EXPECT_TRUE(now == fresh);
                    EXPECT_EQ(recovery.outcome, PlacingRecovery::Outcome::Nothing) << recovery.message;
                    break;
                }
                EXPECT_FALSE(recovery.message.empty());  // a killed run left at least its temporary files
            }
        }
    }
}
#endif

}  // namespace
}  // namespace zmr
