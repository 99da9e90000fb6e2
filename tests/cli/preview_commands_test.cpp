// play and render as a user meets them from a script: the lyrics printed in
// time when the output is not a terminal, and clear refusals.

#include <gtest/gtest.h>

#include "support/lyric_song.h"
#include "support/memory_compile.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;
using test::zmrimageCommand;

#ifdef _WIN32
constexpr char kSoundFontOption[] = "";  // the system's MIDI synthesizer has its own sounds
#else
constexpr char kSoundFontOption[] = " --soundfont /usr/share/sounds/sf2/TimGM6mb.sf2";
#endif

std::string lyricImage(const test::TempDir& dir) {
    return shellQuote(dir.write("DADEDA00.DEZ", test::compileInMemory({{"/songs/Em Yeu.mid", test::lyricSong()}}).image));
}

// Without a terminal the lines come one by one with their times, from the
// line showing at --from; on a machine without an audio device too.
TEST(PreviewCommands, PlayPrintsTheLinesAsTheyComeWhenNotOnATerminal) {
    test::TempDir dir;
    const auto run = runCommand("timeout 60 " + zmrimageCommand("play " + lyricImage(dir) + " 1 --from 00:16" + kSoundFontOption));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Title: Em Yeu\n00:11.90  Vi\xE1\xBB\x87t Nam\n");
    EXPECT_NE(run.err.find("zmrimage: song 1: "), std::string::npos) << run.err;
}

TEST(PreviewCommands, PlayRefusesWhatItCannotDo) {
    test::TempDir dir;
    const std::string image = lyricImage(dir);
    const auto notATime = runCommand(zmrimageCommand("play " + image + " 1 --from 1:2x"));
    EXPECT_EQ(notATime.status, 2);
    EXPECT_NE(notATime.err.find("--from 1:2x: not a time; write MM:SS"), std::string::npos) << notATime.err;
    const auto pastTheEnd = runCommand(zmrimageCommand("play " + image + " 1 --from 00:30"));
    EXPECT_EQ(pastTheEnd.status, 2);
    EXPECT_NE(pastTheEnd.err.find("--from 00:30 is past the end of song 1 (00:17)"), std::string::npos) << pastTheEnd.err;
    const auto noSong = runCommand(zmrimageCommand("play " + image + " 2"));
    EXPECT_EQ(noSong.status, 2);
#ifdef _WIN32
    const auto soundFont = runCommand(zmrimageCommand("play " + image + " 1 --soundfont x.sf2"));
    EXPECT_EQ(soundFont.status, 2);
    EXPECT_NE(soundFont.err.find("which has its own sounds"), std::string::npos) << soundFont.err;
    const auto render = runCommand(zmrimageCommand("render " + image + " 1 -o " + shellQuote(dir / "a.wav")));
    EXPECT_EQ(render.status, 2);
    EXPECT_NE(render.err.find("render needs FluidSynth, which this build does not have"), std::string::npos) << render.err;
#else
    const auto soundFont = runCommand(zmrimageCommand("play " + image + " 1 --soundfont " + shellQuote(dir / "x.sf2")));
    EXPECT_EQ(soundFont.status, 2);
    EXPECT_NE(soundFont.err.find("x.sf2: cannot open"), std::string::npos) << soundFont.err;
#endif
}

}  // namespace
}  // namespace zmr
