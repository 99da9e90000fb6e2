// The compilation every front-end runs: whatever is thrown ends as a failure
// with its message and the old files kept; warnings and the disc come back
// with the outcome.

#include "image/compile_session.h"

#include <gtest/gtest.h>

#include <new>
#include <optional>

#include "support/midi_writer.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

namespace fs = std::filesystem;

struct Sinks : ProgressSink, StateSink, SongMessageSink {
    void setRange(int32_t, int32_t) override {}
    void setPosition(int32_t) override {}
    void songStarted(int32_t index, int32_t, std::string_view) override {
        if (index == throwAt) throw std::bad_alloc();
    }
    void stateChanged(CompileState changed) override { state = changed; }
    void songFailed(std::string_view, std::string_view) override {}
    CompileSinks sinks() { return {*this, *this, *this}; }
    int32_t throwAt = -1;
    std::optional<CompileState> state;
};

CompileRequest requestFor(std::vector<std::string> songs, fs::path folder) {
    CompileRequest request;
    request.songs = std::move(songs);
    request.folder = std::move(folder);
    request.createFolder = true;
    return request;
}

size_t filesIn(const fs::path& folder) { return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {})); }

TEST(CompileSession, AThrowEndsAsAFailureAndKeepsTheOldFiles) {
    test::TempDir dir;
    const CompileRequest request = requestFor(
        {dir.write("a.mid", test::oneNoteSong("A")), dir.write("b.mid", test::oneNoteSong("B"))}, dir.path() / "out");
    Sinks sinks;
    ASSERT_TRUE(runCompileSession(request, sinks.sinks()));
    const auto oldImage = dir.read("out/DADEDA00.DEZ");

    sinks.throwAt = 1;
    const Result<CompileOutcome> thrown = runCompileSession(request, sinks.sinks());
    ASSERT_FALSE(thrown);
    EXPECT_EQ(thrown.message(), "out of memory");
    EXPECT_EQ(sinks.state, CompileState::Done);
    EXPECT_EQ(filesIn(dir.path() / "out"), 2u);  // no temporary file left
    EXPECT_EQ(dir.read("out/DADEDA00.DEZ"), oldImage);
}

TEST(CompileSession, WarningsComeBackAndADiscTooSmallIsRefused) {
    test::TempDir dir;
    CompileRequest request = requestFor(
        {dir.write("a.mid", test::oneNoteSong("A")), dir.write("b.mid", test::oneNoteSong("ñ"))}, dir.path() / "out");
    request.conversion.textEncoding = TextEncoding::Utf8;
    Sinks sinks;
    const Result<CompileOutcome> outcome = runCompileSession(request, sinks.sinks());
    ASSERT_TRUE(outcome) << outcome.message();
    ASSERT_EQ(outcome->warnings.size(), 1u);
    EXPECT_EQ(outcome->warnings[0].path, request.songs[1]);
    EXPECT_NE(outcome->warnings[0].message.find("no code"), std::string::npos) << outcome->warnings[0].message;
    EXPECT_EQ(outcome->fill.medium.name, "cd700");

    request.medium = DiscMedium{"tiny", "tiny disc", 10};
    const Result<CompileOutcome> refused = runCompileSession(request, sinks.sinks());
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.message().find("does not fit"), std::string::npos) << refused.message();
    EXPECT_EQ(filesIn(dir.path() / "out"), 2u);
}

}  // namespace
}  // namespace zmr
