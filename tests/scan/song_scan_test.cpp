// Looking over songs before a build: what each holds, whether it compiles and
// how, and which build options suit a collection.

#include "scan/song_scan.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image/convert_song.h"
#include "image/file_bytes.h"
#include "scan/scan_summary.h"
#include "support/memory_compile.h"
#include "support/midi_writer.h"

namespace zmr {
namespace {

using Bytes = std::vector<uint8_t>;

// Lyric events (or text events) of `words`, one note, the last note-on at tick 960 (58 units at division 480).
Bytes song(std::initializer_list<std::string_view> words, bool asText = false, bool deviceName = false) {
    test::TrackWriter track;
    if (deviceName) track.meta(0, 0x09, {'X'});
    for (const std::string_view w : words) asText ? track.text(0, w) : track.lyric(0, w);
    track.noteOn(0, 0, 60, 100).noteOff(480, 0, 60).noteOn(480, 0, 62, 100).noteOff(480, 0, 62).endOfTrack();
    return test::MidiFile(480).add(track).bytes();
}

TEST(SongScan, TellsWhereTheLyricsAreAndHowTheyAreWritten) {
    struct Case {
        Bytes bytes;
        LyricSource lyrics;
        TextEncoding encoding;
        int32_t uncoded;
    };
    const std::vector<Case> cases = {
        {song({"Em ", "ye^u ", "anh ", "nhie^`u"}), LyricSource::LyricEvents, TextEncoding::Viqr, 0},
        {song({"Em ", "ye\xE2u ", "anh ", "nhie\xE0u"}), LyricSource::LyricEvents, TextEncoding::Vni, 0},
        {song({"Em ", "y\xEAu ", "anh ", "nhi\xEA\xCCu"}), LyricSource::LyricEvents, TextEncoding::Cp1258, 0},
        {song({"Em ", "yêu ", "anh ", "nhiều ", "ñ"}), LyricSource::LyricEvents, TextEncoding::Utf8, 1},
        {song({"@TTitle", "\\Twin", "kle"}, true), LyricSource::TextEvents, TextEncoding::Ascii, 0},
        {song({"@TTitle only"}, true), LyricSource::None, TextEncoding::Ascii, 0},
    };
    for (const Case& c : cases) {
        const SongScan scan = scanSong("/s/Song.mid", c.bytes);
        EXPECT_TRUE(scan.compiles && scan.lenientCompiles && scan.read);
        EXPECT_EQ(scan.lyrics, c.lyrics) << textEncodingName(c.encoding);
        EXPECT_EQ(scan.encoding, c.encoding) << textEncodingName(c.encoding);
        EXPECT_EQ(scan.uncoded, c.uncoded) << textEncodingName(c.encoding);
        EXPECT_EQ(scan.lengthUnits, 58);
    }
    // Without lyrics, the file name tells the encoding.
    EXPECT_EQ(scanSong("/s/Chúc Mừng.mid", song({})).encoding, TextEncoding::Utf8);
    EXPECT_EQ(scanSong("/s/Chúc Mừng.mid", song({"ye^u"})).titleEncoding, TextEncoding::Utf8);
}

TEST(SongScan, SongThatOnlyTheLenientReadingTakesIsDescribedFromIt) {
    const SongScan scan = scanSong("x.mid", song({"la"}, false, true));
    EXPECT_FALSE(scan.compiles);
    EXPECT_EQ(scan.message, "Unknown command 0xFF 0x09\n");
    EXPECT_TRUE(scan.lenientCompiles);
    EXPECT_TRUE(scan.read);
    EXPECT_EQ(scan.lyrics, LyricSource::LyricEvents);

    const SongScan nothing = scanSongFile("/nonexistent/x.mid");
    EXPECT_FALSE(nothing.compiles || nothing.lenientCompiles || nothing.read);
    EXPECT_EQ(nothing.message.rfind("cannot open", 0), 0u) << nothing.message;
}

// The scan's verdicts are the conversion's, on every song of the corpus.
TEST(SongScan, CompilesExactlyWhenTheConversionDoes) {
    for (const auto& entry : std::filesystem::directory_iterator(ZMR_CORPUS_DIR)) {
        if (entry.path().extension() != ".mid" && entry.path().extension() != ".kar") continue;
        const std::string path = entry.path().string();
        const Bytes bytes = readFileBytes(path).value();
        const SongScan scan = scanSong(path, bytes);
        const auto strict = convertSong(path, bytes);
        EXPECT_EQ(scan.compiles, strict.ok()) << path;
        if (!strict) {
            EXPECT_EQ(scan.message, strict.message()) << path;
        }
        EXPECT_EQ(scan.lenientCompiles, convertSong(path, bytes, {.lenient = true}).ok()) << path;
    }
}

SongScan read(LyricSource lyrics, TextEncoding encoding, TextEncoding title = TextEncoding::Ascii, bool strict = true) {
    SongScan scan;
    scan.compiles = strict;
    scan.lenientCompiles = scan.read = true;
    scan.lyrics = lyrics;
    scan.encoding = encoding;
    scan.titleEncoding = title;
    return scan;
}

TEST(ScanSummary, RecommendsTheOptionsTheCollectionNeeds) {
    ScanSummary plain;
    plain.add("a", read(LyricSource::LyricEvents, TextEncoding::Viqr));
    plain.add("b", read(LyricSource::LyricEvents, TextEncoding::Vni));
    EXPECT_EQ(plain.advice().options, ConvertOptions{});
    EXPECT_FALSE(plain.advice().skipBad);

    ScanSummary mixed = plain;
    mixed.add("c", read(LyricSource::TextEvents, TextEncoding::Ascii, TextEncoding::Utf8));
    mixed.add("d", read(LyricSource::None, TextEncoding::Ascii, TextEncoding::Ascii, false));
    mixed.add("e", SongScan{});  // compiles in no way
    mixed.add("f", read(LyricSource::LyricEvents, TextEncoding::Cp1258));
    const BuildAdvice advice = mixed.advice();
    EXPECT_EQ(advice.options, (ConvertOptions{.textEncoding = TextEncoding::Auto, .karText = true, .lenient = true}));
    EXPECT_TRUE(advice.skipBad);
    EXPECT_EQ(mixed.withoutLyrics(), std::vector<std::string>{"d"});
    EXPECT_EQ(mixed.cp1258Apart(), std::vector<std::string>{"f"});
    EXPECT_EQ(mixed.count(ScanOutcome::LenientOnly), 1);
    EXPECT_EQ(mixed.count(ScanOutcome::Fails), 1);

    ScanSummary windows;
    windows.add("a", read(LyricSource::LyricEvents, TextEncoding::Cp1258));
    windows.add("b", read(LyricSource::LyricEvents, TextEncoding::Ascii));
    EXPECT_EQ(windows.advice().options.textEncoding, TextEncoding::Cp1258);
    EXPECT_TRUE(windows.cp1258Apart().empty());
}

// The estimate of the disc is the disc that the build then fills, across a
// group boundary (every 256 songs start on a sector with their index block).
TEST(ScanSummary, DiscEstimateIsWhatTheBuildFills) {
    test::SongFiles songs;
    ScanSummary summary;
    for (uint32_t i = 0; i < 300; ++i) {
        const std::string path = "/songs/Bai " + std::to_string(i) + ".mid";
        songs.emplace_back(path, test::generatedSong(i, 5 + i % 7));
        summary.add(path, scanSong(path, songs.back().second));
    }
    const test::CompiledImage built = test::compileInMemory(songs);
    ASSERT_EQ(built.summary.songsWritten, 300);
    const DiscMedium cd650 = *findDiscMedium("cd650");
    EXPECT_EQ(summary.discFill(cd650).sectors, isoSectors(built.image.size(), built.songList.size()));
    EXPECT_EQ(summary.songsOnDisc(), 300);
    EXPECT_EQ(summary.songsThatFit(cd650), 300);
    // A disc that the first 100 songs fill holds them, and not all 300.
    const test::CompiledImage first = test::compileInMemory(test::SongFiles(songs.begin(), songs.begin() + 100));
    const DiscMedium small{"small", "small disc", isoSectors(first.image.size(), first.songList.size())};
    EXPECT_GE(summary.songsThatFit(small), 100);
    EXPECT_LT(summary.songsThatFit(small), 300);
}

}  // namespace
}  // namespace zmr
