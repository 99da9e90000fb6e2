// Hostile song files through the build command, as a user meets them: each
// ends in a defined outcome and, when rejected, in one line naming the file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hardening/hostile_files.h"
#include "image/compile_image.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::Bytes;

struct HostileFile {
    std::string name;     // the file's name and the case's label
    Bytes bytes;
    std::string message;  // what follows "<path>: "; empty when the song is written
};

std::vector<HostileFile> hostileFiles() {
    std::vector<HostileFile> files = {
        {"empty", {}, "Invalid MIDI file"},
        {"header_65535_tracks_none_present", test::MidiFile(96).claimTrackCount(65535).bytes(), ""},
        {"chunk_length_ffffffff",
         test::MidiFile(96).add(test::TrackWriter().noteOn(0, 0, 60, 100).noteOff(96, 0, 60), 0xFFFFFFFFu).bytes(), ""},
        {"header_length_ffffffff", test::MidiFile(96).claimHeaderLength(0xFFFFFFFFu).add(test::TrackWriter().noteOn(0, 0, 60, 1)).bytes(), ""},
        // Only the low 32 bits of an over-long quantity count: this delta is 0.
        {"varlen_of_5_bytes", test::songWithEvents({0x81, 0x80, 0x80, 0x80, 0x00, 0x80, 60, 0}), ""},
        {"varlen_of_9_bytes", test::songWithEvents({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x80, 60, 0}), ""},
        {"varlen_past_the_track", test::songWithEvents({0x00, 0x80, 60, 0, 0x81, 0x80}), ""},
        {"sysex_length_past_the_track", test::songWithEvents({0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x01}), ""},
        {"division_0", test::MidiFile(0).add(test::TrackWriter().noteOn(0, 0, 60, 1)).bytes(), "Invalid MIDI division 0"},
        {"unknown_meta_type", test::songWithEvents({0x00, 0xFF, 0x60, 0x01, 0x00}), "Unknown command 0xFF 0x60"},
        {"meta_type_cut_off", test::songWithEvents({0x00, 0xFF}), ""},
        {"system_status", test::songWithEvents({0x00, 0xF4, 0x01}), "Unknown command 0xF4"},
        {"data_byte_before_any_status", test::MidiFile(96).add(test::TrackWriter().raw({0x00, 0x3C, 0x40})).bytes(),
         "Unknown command 0x00"},
        {"lyric_claims_more_than_remains", test::songWithEvents({0x00, 0xFF, 0x05, 0x40, 'L', 'a'}), ""},
        {"lyric_claims_4_gib", test::songWithEvents({0x00, 0xFF, 0x05, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 'L', 'a'}), ""},
        {"tempo_cut_off", test::songWithEvents({0x00, 0xFF, 0x51, 0x03, 0x07}), ""},
        {"not_midi_at_all", Bytes{'<', 'h', 't', 'm', 'l', '>', '4', '0', '4', ' ', 'N', 'o', 't', ' ', 'F', 'o', 'u', 'n', 'd', '<', '/', 'h', 't', 'm', 'l', '>'},
         "Unknown command 0x00"},
    };
    const Bytes song = test::honestSong();
    for (size_t size = 1; size <= 13; ++size)
        files.push_back({"first_" + std::to_string(size) + "_bytes", Bytes(song.begin(), song.begin() + size), "Invalid MIDI file"});
    return files;
}

class HostileSongThroughBuild : public testing::TestWithParam<HostileFile> {};

TEST_P(HostileSongThroughBuild, EndsInADefinedOutcomeNamingTheFile) {
    const HostileFile& file = GetParam();
    test::TempDir dir;
    const std::string path = dir.write(file.name + ".mid", file.bytes);
    const auto run = test::runCommand("timeout 60 " + std::string(ZMR_CLI_PATH) + " build -q -o " +
                                      test::shellQuote(dir / "out") + " " + test::shellQuote(path));
    if (file.message.empty()) {
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const Bytes songList = dir.read("out/SongList.txt");
        EXPECT_EQ(std::string(songList.begin(), songList.begin() + 2 + static_cast<long>(file.name.size())),
                  "1\t" + file.name);
    } else {
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.err, path + ": " + file.message + "\n");
        EXPECT_TRUE(dir.read("out/SongList.txt").empty());
        // Read whole, the song itself is at fault: a front-end tells it from a file it cannot open.
        const Result<SongRecord> song = loadAndConvertSong(path);
        ASSERT_FALSE(song.ok());
        EXPECT_EQ(song.kind(), FailureKind::BadSong) << song.message();
    }
    // Either way the image is complete: at least its header, group table and first index block.
    EXPECT_GE(dir.read("out/DADEDA00.DEZ").size(), 4096u);
}

INSTANTIATE_TEST_SUITE_P(Table, HostileSongThroughBuild, testing::ValuesIn(hostileFiles()),
                         [](const testing::TestParamInfo<HostileFile>& info) { return info.param.name; });

}  // namespace
}  // namespace zmr
