// The commands that read an image back, as a user meets them: on the corpus,
// on songs in Vietnamese, on damaged images, and the round trip through
// extract and build.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "readback/image_index.h"
#include "readback/song_streams.h"
#include "support/memory_compile.h"
#include "support/midi_writer.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::string zmrimage(const std::string& arguments) { return std::string(ZMR_CLI_PATH) + " " + arguments; }

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Builds the songs of `folder` into `out`; returns the image's path.
std::string build(const test::TempDir& dir, const std::string& folder, const std::string& out, bool skipBad = false) {
    const auto run = runCommand(zmrimage(std::string("build -q ") + (skipBad ? "--skip-bad " : "") + "-o " +
                                         shellQuote(dir / out) + " " + shellQuote(folder)));
    EXPECT_TRUE(run.status == 0 || skipBad) << run.err;
    return dir / (out + "/DADEDA00.DEZ");
}

std::vector<std::vector<uint8_t>> eventStreams(const std::vector<uint8_t>& image) {
    std::vector<std::vector<uint8_t>> streams;
    for (const SongLocation& song : readImageIndex(image).songs) {
        Result<SongStreams> read = readSongStreams(image, song);
        streams.push_back(read ? read->events : std::vector<uint8_t>{});
    }
    return streams;
}

TEST(ReadCommands, CorpusImageIsSoundListedAndEverySongComesBack) {
    test::TempDir dir;
    const std::string image = build(dir, ZMR_CORPUS_DIR, "img", true);
    const std::string songList = dir / "img/SongList.txt";
    const std::vector<uint8_t> listBytes = dir.read("img/SongList.txt");
    const size_t songs = linesOf(std::string(listBytes.begin(), listBytes.end())).size();
    ASSERT_GT(songs, 10u);

    const auto verify = runCommand(zmrimage("verify " + shellQuote(image) + " " + shellQuote(songList)));
    EXPECT_EQ(verify.status, 0) << verify.out;
    EXPECT_NE(verify.out.find(": sound, " + std::to_string(songs) + " songs in 1 group"), std::string::npos) << verify.out;

    const auto info = runCommand(zmrimage("info " + shellQuote(image)));
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("Songs:          " + std::to_string(songs) + "\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Header:         ok"), std::string::npos) << info.out;

    const auto list = runCommand(zmrimage("list --json " + shellQuote(image)));
    ASSERT_EQ(list.status, 0) << list.err;
    const nlohmann::json document = nlohmann::json::parse(list.out);
    ASSERT_EQ(document["songs"].size(), songs);
    for (size_t i = 0; i < songs; ++i) {
        const nlohmann::json& song = document["songs"][i];
        EXPECT_EQ(song["number"], i + 1);
        EXPECT_FALSE(song["title"].get<std::string>().empty());
        EXPECT_EQ(song["recordSize"].get<uint64_t>() % 16, 0u);
        EXPECT_EQ(song["sizeFigure"], song["recordSize"].get<uint64_t>() / 1472);
    }
    const auto table = runCommand(zmrimage("list " + shellQuote(image)));
    EXPECT_EQ(linesOf(table.out).size(), songs + 1);

    // Every song extracted, named so that the order stays, and built again.
    for (size_t n = 1; n <= songs; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "back/%03zu.mid", n);
        const auto lyrics = runCommand(zmrimage("lyrics " + shellQuote(image) + " " + std::to_string(n)));
        EXPECT_EQ(lyrics.status, 0) << lyrics.err;
        EXPECT_EQ(lyrics.out.rfind("Title: ", 0), 0u);
        std::filesystem::create_directories(dir.path() / "back");
        const auto extract = runCommand(zmrimage("extract " + shellQuote(image) + " " + std::to_string(n) + " -o " +
                                                 shellQuote(dir / name)));
        EXPECT_EQ(extract.status, 0) << extract.err;
    }
    const std::string again = build(dir, dir / "back", "again");
    EXPECT_EQ(runCommand(zmrimage("verify -q " + shellQuote(again))).status, 0);
    const auto before = eventStreams(dir.read("img/DADEDA00.DEZ"));
    const auto after = eventStreams(dir.read("again/DADEDA00.DEZ"));
    ASSERT_EQ(after.size(), before.size());
    size_t same = 0;
    for (size_t i = 0; i < before.size(); ++i) same += before[i] == after[i];
    // Songs with tempo changes may hold notes that outlast the next note of their key.
    EXPECT_GE(same, before.size() * 3 / 4);
}

TEST(ReadCommands, ExtractedSongsBuildTheSameImageAgain) {
    test::TempDir dir;
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        dir.write(std::string("songs/") + name + ".kar", test::generatedSong(static_cast<uint32_t>(name[0]), 60));
    }
    const std::string image = build(dir, dir / "songs", "img");
    // extract creates the missing folder "back", as build -o does.
    for (const auto& [n, name] : {std::pair{1, "Alpha"}, {2, "Beta"}, {3, "Gamma"}}) {
        const auto run = runCommand(zmrimage("extract " + shellQuote(image) + " " + std::to_string(n) + " -o " +
                                             shellQuote(dir / (std::string("back/") + name + ".mid"))));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(run.err.empty()) << run.err;
    }
    build(dir, dir / "back", "again");
    EXPECT_EQ(dir.read("again/DADEDA00.DEZ"), dir.read("img/DADEDA00.DEZ"));
}

TEST(ReadCommands, LyricsShowVietnameseFromViqrAndVniAlike) {
    test::TempDir dir;
    const std::vector<std::vector<std::string>> spellings = {
        {"Em ", "ye^u ", "Vie^.t ", "Nam\r", "DDa^'t ", "nu*o*'c\r", "tu*o*i"},
        {"Em ", "ye\xE2u ", "Vie\xE4t ", "Nam\r", "\xD1" "a\xE1t ", "n\xF6\xF4\xF9" "c\r", "t\xF6\xF4i"},
    };
    for (size_t i = 0; i < spellings.size(); ++i) {
        test::TrackWriter track;
        for (const std::string& lyric : spellings[i]) track.lyric(34, lyric);
        track.noteOn(0, 0, 60, 90).noteOff(10, 0, 60).endOfTrack();
        dir.write("songs/Ba`i " + std::to_string(i + 1) + ".kar", test::MidiFile(96).add(track).bytes());
    }
    const std::string image = build(dir, dir / "songs", "img");
    for (const int n : {1, 2}) {
        const auto run = runCommand(zmrimage("lyrics " + shellQuote(image) + " " + std::to_string(n)));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "Title: Bài " + std::to_string(n) +
                               "\n00:00.17  Em yêu Việt Nam\n00:00.88  Đất nước\n00:01.22  tươi\n");
    }
    const auto raw = runCommand(zmrimage("lyrics --raw " + shellQuote(image) + " 1"));
    const auto rows = linesOf(raw.out);
    ASSERT_GT(rows.size(), 40u);
    EXPECT_EQ(rows[1], "     0   72    0      0  H");
    EXPECT_EQ(rows[6], "     5   13   10      0  (line end)");
    EXPECT_NE(rows.back().find("   13   10      0  (line end)"), std::string::npos) << rows.back();
}

#ifndef _WIN32  // /dev/full
TEST(ReadCommands, AFullStandardOutputIsAnErrorOfEveryCommand) {
    test::TempDir dir;
    test::TrackWriter track;
    track.lyric(34, "La ").lyric(34, "la\r").noteOn(0, 0, 60, 90).noteOff(10, 0, 60).endOfTrack();
    dir.write("songs/a.kar", test::MidiFile(96).add(track).bytes());
    const std::string image = shellQuote(build(dir, dir / "songs", "img"));
    for (const std::string& command :
         {"list " + image, "list --json " + image, "info " + image, "verify " + image, "lyrics " + image + " 1",
          "lyrics --lrc " + image + " 1", "lyrics --ass " + image + " 1", "lyrics --raw " + image + " 1",
          "scan " + shellQuote(dir / "songs"), "build -o " + shellQuote(dir / "again") + " " + shellQuote(dir / "songs"),
          std::string("--help"), std::string("completion bash")}) {
        SCOPED_TRACE(command);
        // Grouped, so that the runner's own redirection of standard output does not replace this one.
        const auto run = runCommand("{ " + zmrimage(command) + " > /dev/full; }");
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("zmrimage: cannot write standard output: "), std::string::npos) << run.err;
    }
}
#endif

TEST(ReadCommands, AnOutputNamingAnInputIsRefusedBeforeAnythingIsWritten) {
    test::TempDir dir;
    dir.write("songs/a.mid", test::oneNoteSong("A"));
    const std::string image = build(dir, dir / "songs", "img");
    const std::vector<uint8_t> before = dir.read("img/DADEDA00.DEZ");
    dir.write("img/song.wav", before);  // an image by another name
    std::vector<std::string> commands = {
        "songbook " + shellQuote(image) + " " + shellQuote(dir / "list.html") + " -o " + shellQuote(dir / "list.html"),
        "render " + shellQuote(dir / "img/song.wav") + " 1 -o " + shellQuote(dir / "img/./song.wav")};
#if ZMR_WITH_ISO  // the Windows build writes no ISO image and has no --iso
    commands.push_back("build -q -o " + shellQuote(dir / "img") + " " + shellQuote(dir / "songs") + " --iso " +
                       shellQuote(image));
    commands.push_back("build -q -o " + shellQuote(dir / "img") + " " + shellQuote(dir / "songs") + " --iso " +
                       shellQuote(dir / "img/../img/SongList.txt"));
#endif
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const auto run = runCommand(zmrimage(command));
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("; choose another file"), std::string::npos) << run.err;
    }
    EXPECT_EQ(dir.read("img/DADEDA00.DEZ"), before);
    EXPECT_EQ(dir.read("img/song.wav"), before);
}

TEST(ReadCommands, DamagedImagesAreReportedWithStatusOne) {
    test::TempDir dir;
    dir.write("songs/a.mid", test::generatedSong(1, 20));
    dir.write("songs/b.mid", test::generatedSong(2, 20));
    const std::string image = build(dir, dir / "songs", "img");
    std::vector<uint8_t> bytes = dir.read("img/DADEDA00.DEZ");
    const ImageIndex scan = readImageIndex(bytes);
    bytes[scan.songs[1].framing.text.wordsOffset + 9] = 1;  // a reserved word of song 2
    const std::string damaged = dir.write("damaged.dez", bytes);

    const auto quiet = runCommand(zmrimage("verify --quiet " + shellQuote(damaged)));
    EXPECT_EQ(quiet.status, 1);
    EXPECT_TRUE(quiet.out.empty() && quiet.err.empty());
    const auto loud = runCommand(zmrimage("verify " + shellQuote(damaged)));
    EXPECT_EQ(loud.status, 1);
    EXPECT_EQ(loud.out.rfind("song 2, byte " + std::to_string(scan.songs[1].framing.text.wordsOffset + 8) +
                                 ": reserved word of the text section is 65536, expected 0\n",
                             0),
              0u)
        << loud.out;

    bytes.resize(scan.songs[1].recordOffset + 10);
    const std::string cut = dir.write("cut.dez", bytes);
    for (const char* command : {"info", "list", "lyrics", "extract"}) {
        std::string arguments = std::string(command) + " " + shellQuote(cut);
        if (std::string(command) == "lyrics" || std::string(command) == "extract") arguments += " 1";
        if (std::string(command) == "extract") arguments += " -o " + shellQuote(dir / "x.mid");
        const auto run = runCommand(zmrimage(arguments));
        EXPECT_EQ(run.status, 1) << command << ": " << run.out << run.err;
    }
    EXPECT_NE(runCommand(zmrimage("list " + shellQuote(cut))).err.find("cannot find every song"), std::string::npos);

    // A whole layout with a song that cannot be decoded: its text section
    // claims more than its compressed bytes can hold.
    std::vector<uint8_t> overlong = dir.read("img/DADEDA00.DEZ");
    overlong[scan.songs[1].framing.text.wordsOffset + 4] = 0x7F;  // the high byte of L_t
    const std::string broken = shellQuote(dir.write("overlong.dez", overlong));
    for (const std::string& arguments :
         {"lyrics " + broken + " 2", "extract " + broken + " 2 -o " + shellQuote(dir / "y.mid"),
          "songbook " + broken + " -o " + shellQuote(dir / "book.html"),
          "songbook " + shellQuote(cut) + " -o " + shellQuote(dir / "book.html")}) {
        const auto run = runCommand(zmrimage(arguments));
        EXPECT_EQ(run.status, 1) << arguments << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "book.html"));

    EXPECT_EQ(runCommand(zmrimage("verify " + shellQuote(dir / "missing.dez"))).status, 2);
    const auto noSong = runCommand(zmrimage("lyrics " + shellQuote(image) + " 3"));
    EXPECT_EQ(noSong.status, 2);
    EXPECT_NE(noSong.err.find("holds songs 1 to 2; there is no song 3"), std::string::npos) << noSong.err;
}

TEST(ReadCommands, SongListMismatchesAreFound) {
    test::TempDir dir;
    dir.write("songs/Mo^.t.mid", test::generatedSong(1, 5));
    dir.write("songs/Hai.mid", test::generatedSong(2, 5));
    const std::string image = build(dir, dir / "songs", "img");
    const std::string list = dir / "img/SongList.txt";
    EXPECT_EQ(runCommand(zmrimage("verify -q " + shellQuote(image) + " " + shellQuote(list))).status, 0);

    const std::string wrong = dir.write("wrong.txt", bytesOf("1\tHay\t\r\n3\tMo^.t\t\r\n"));
    const auto run = runCommand(zmrimage("verify " + shellQuote(image) + " " + shellQuote(wrong)));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("line 2: song number 3, expected 2"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("line 1: title \"Hay\" does not transcode"), std::string::npos) << run.out;
}

TEST(ReadCommands, HelpSaysWhatEachCommandDoes) {
    const std::pair<const char*, const char*> expected[] = {
        {"info", "compression ratio"},
        {"list", "--json"},
        {"verify", "SONGLIST"},
        {"lyrics", "252 as"},
        {"extract", "What cannot come back"},
    };
    for (const auto& [command, phrase] : expected) {
        const auto run = runCommand(zmrimage(std::string(command) + " --help"));
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_NE(run.out.find(phrase), std::string::npos) << command << ":\n" << run.out;
    }
    EXPECT_EQ(runCommand(zmrimage("extract x.dez 1")).status, 2);  // -o is required
}

TEST(ReadCommands, TopLevelHelpFitsAScreenWithOneLinePerCommand) {
    const auto run = runCommand(zmrimage("--help"));
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = linesOf(run.out);
    EXPECT_LE(lines.size(), 24u) << run.out;
    for (const std::string command : {"build", "info", "list", "verify", "lyrics", "extract"}) {
        const auto named = std::count_if(lines.begin(), lines.end(),
                                         [&](const std::string& line) { return line.rfind("  " + command + " ", 0) == 0; });
        EXPECT_EQ(named, 1) << command << ":\n" << run.out;
    }
}

}  // namespace
}  // namespace zmr
