// zmrimage scan and the reading options of zmrimage build, as a user meets them.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/midi_writer.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "text/shown_text.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;

std::vector<uint8_t> song(std::string_view lyric, bool deviceName = false) {
    test::TrackWriter track;
    if (deviceName) track.meta(0, 0x09, {'X'});
    track.lyric(0, lyric).noteOn(0, 0, 60, 100).noteOff(96, 0, 60).endOfTrack();
    return test::MidiFile(96).add(track).bytes();
}

TEST(ScanCommand, ReportsEachSongAndRecommendsTheOptions) {
    test::TempDir dir;
    dir.write("songs/a.mid", song("Em ye^u"));
    dir.write("songs/b.kar", song("yêu"));
    dir.write("songs/c.mid", song("la", true));

    // As the folder listing names them, with the system's separator.
    const auto inSongs = [&](const char* name) { return (dir.path() / "songs" / name).string(); };
    const auto text = runCommand(test::zmrimageCommand("scan " + shellQuote(dir / "songs")));
    EXPECT_EQ(text.status, 1) << text.err;  // c.mid compiles only with --lenient
    EXPECT_NE(text.out.find("lenient  " + inSongs("c.mid") + ": Unknown command 0xFF 0x09\n"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Recommended: zmrimage build --text-encoding auto --lenient PATH...\n"), std::string::npos)
        << text.out;

    const auto json = runCommand(test::zmrimageCommand("scan --json " + shellQuote(dir / "songs")));
    EXPECT_EQ(json.status, 1);
    const auto document = nlohmann::json::parse(json.out);
    ASSERT_EQ(document["songs"].size(), 3u);
    const auto& b = document["songs"][1];
    EXPECT_EQ(b["path"], inSongs("b.kar"));
    EXPECT_EQ(b["compiles"], true);
    EXPECT_TRUE(b["message"].is_null());
    EXPECT_EQ(b["lyrics"], "lyric-events");
    EXPECT_EQ(b["encoding"], "utf8");
    EXPECT_EQ(b["uncoded"], 0);
    EXPECT_EQ(b["length"], "00:00");
    EXPECT_EQ(document["songs"][2]["lenientCompiles"], true);
    EXPECT_EQ(document["summary"]["disc"]["medium"], "cd700");
    EXPECT_EQ(document["summary"]["disc"]["songs"], 3);  // all three compile with the advice
    EXPECT_EQ(document["summary"]["disc"]["fits"], true);
    EXPECT_EQ(document["summary"]["recommended"]["arguments"],
              nlohmann::json::array({"--text-encoding", "auto", "--lenient"}));

    dir.write("good/a.mid", song("la"));
    EXPECT_EQ(runCommand(test::zmrimageCommand("scan " + shellQuote(dir / "good"))).status, 0);
    EXPECT_EQ(runCommand(test::zmrimageCommand("scan")).status, 2);
}

TEST(BuildCommand, ReadingOptionsAndTheirWarning) {
    test::TempDir dir;
    const std::string song1 = dir.write("Ñu.mid", song("mañana"));
    const auto run = runCommand(test::zmrimageCommand("build --text-encoding utf8 --kar-text --lenient -o " + shellQuote(dir / "out") +
                                    " " + shellQuote(song1)));
    EXPECT_EQ(run.status, 0) << run.err;
    // As shown: on Windows the test's narrow name reaches the program through the
    // system's code page, and its "Ñ" arrives as "Ã" and the C1 control U+0091.
    EXPECT_EQ(run.err, shownText(song1) + ": warning: 2 characters have no code on the player and became '?'\n");

    const auto bad = runCommand(test::zmrimageCommand("build --text-encoding latin1 -o " + shellQuote(dir / "out2") + " " + shellQuote(song1)));
    EXPECT_EQ(bad.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "out2"));
}

#ifndef _WIN32  // Windows allows no control characters in a file name
// Printed raw, these names would retitle and clear the terminal. Text output
// shows them escaped; the JSON and the song list keep their bytes.
TEST(ScanCommand, ControlCharactersInNamesAreShownEscaped) {
    test::TempDir dir;
    const std::string retitle = dir.write("songs/\x1b]2;x\a.kar", song("la"));
    dir.write("songs/\x1b[2J.mid", std::vector<uint8_t>{'j', 'u', 'n', 'k'});
    const std::string songs = dir / "songs/";

    const auto scan = runCommand(test::zmrimageCommand("scan " + shellQuote(songs)));
    EXPECT_NE(scan.out.find("fails    " + songs + "\\e[2J.mid: Invalid MIDI file\n"), std::string::npos) << scan.out;
    EXPECT_NE(scan.out.find("ok       " + songs + "\\e]2;x\\x07.kar\n"), std::string::npos) << scan.out;
    const auto json = runCommand(test::zmrimageCommand("scan --json " + shellQuote(songs)));
    EXPECT_EQ(nlohmann::json::parse(json.out)["songs"][1]["path"], retitle);

    const auto build = runCommand(test::zmrimageCommand("build --skip-bad -o " + shellQuote(dir / "out") + " " + shellQuote(songs)));
    EXPECT_EQ(build.status, 1);
    EXPECT_EQ(build.err, songs + "\\e[2J.mid: Invalid MIDI file\n");
    const std::vector<uint8_t> list = dir.read("out/SongList.txt");
    EXPECT_EQ(std::string(list.begin(), list.end()), "1\t\x1b]2;x\a\tla\r\n");
}
#endif

}  // namespace
}  // namespace zmr
