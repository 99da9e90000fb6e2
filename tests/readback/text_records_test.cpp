// Reading text streams back: the title, the lyric lines as the player shows
// them (in Unicode, from VIQR and from VNI alike), and streams out of shape.

#include "readback/text_records.h"

#include <gtest/gtest.h>

#include "image/convert_song.h"
#include "readback/record_framing.h"
#include "readback/song_streams.h"
#include "support/midi_writer.h"
#include "text/code_page_inverse.h"
#include "text/text_stream.h"

namespace zmr {
namespace {

// The text stream the compiler makes of a song with these lyric events, one
// every 34 ticks at division 96 (about 10 time units).
std::vector<uint8_t> textStreamOf(const std::string& path, const std::vector<std::string>& lyrics) {
    test::TrackWriter track;
    for (const std::string& lyric : lyrics) track.lyric(34, lyric);
    track.noteOn(0, 0, 60, 90).noteOff(10, 0, 60).endOfTrack();
    Result<SongRecord> record = convertSong(path, test::MidiFile(96).add(track).bytes());
    EXPECT_TRUE(record) << record.message();
    const std::optional<RecordFraming> framing = readRecordFraming(record->bytes, 0);
    EXPECT_TRUE(framing.has_value());
    return *decodeSection(record->bytes, framing->text, true);
}

struct ShownLine {
    uint16_t time;
    std::string text;
    bool operator==(const ShownLine&) const = default;
};

std::vector<ShownLine> shown(const TextStreamParts& parts) {
    std::vector<ShownLine> lines;
    for (const LyricLine& line : lyricLines(parts.lyrics())) lines.push_back({line.time, codesToUtf8(line.codes)});
    return lines;
}

TEST(TextRecords, VietnameseLyricsShowInUnicodeFromViqrAndFromVni) {
    const TextStreamParts viqr = readTextStream(
        textStreamOf("/k/Bai ca.kar", {"Em ", "ye^u ", "Vie^.t ", "Nam\r", "DDa^'t ", "nu*o*'c\r", "tu*o*i"}));
    const TextStreamParts vni = readTextStream(
        textStreamOf("/k/Bai ca.kar", {"Em ", "ye\xE2u ", "Vie\xE4t ", "Nam\r", "\xD1" "a\xE1t ", "n\xF6\xF4\xF9" "c\r", "t\xF6\xF4i"}));
    for (const TextStreamParts* parts : {&viqr, &vni}) {
        EXPECT_TRUE(parts->problems.empty()) << parts->problems.front().message;
        EXPECT_EQ(codesToUtf8(parts->titleCodes), "Bai ca");
        // Events fall at 10, 20, 31, 41, 52, 62 and 72 units. Each record
        // carries the time of the event whose byte released it, so a line
        // after a line end starts at the time of the event after that end.
        const std::vector<ShownLine> expected = {{10, "Em yêu Việt Nam"}, {52, "Đất nước"}, {72, "tươi"}};
        EXPECT_EQ(shown(*parts), expected);
        EXPECT_EQ(lyricCharacterCount(parts->lyrics()), 27u);
    }
}

TEST(TextRecords, TitleAndNoLyrics) {
    const TextStreamParts parts = readTextStream(textStreamOf("Tu*o*i ma'\\Tho*` o*i.mid", {}));
    EXPECT_TRUE(parts.problems.empty());
    EXPECT_EQ(codesToUtf8(parts.titleCodes), "Thờ ơi");
    EXPECT_TRUE(parts.lyrics().empty());
    EXPECT_EQ(parts.lyricsEnd + 2, parts.records.size());

    const TextStreamParts untitled = readTextStream(textStreamOf(".kar", {}));
    EXPECT_TRUE(untitled.problems.empty());
    EXPECT_TRUE(untitled.titleCodes.empty());
}

TEST(TextRecords, LinesStartWithTheirFirstRecordsTime) {
    const std::vector<TextRecord> lyrics = {
        {65, 0, 5}, {13, 10, 7}, {13, 10, 9}, {66, 0, 11}, {67, 0, 12}, {13, 10, 20}, {68, 0, 30},
    };
    const std::vector<LyricLine> lines = lyricLines(lyrics);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].time, 5);
    EXPECT_EQ(lines[0].codes, std::vector<uint8_t>{65});
    EXPECT_EQ(lines[1].time, 9);  // an empty line
    EXPECT_TRUE(lines[1].codes.empty());
    EXPECT_EQ(lines[2].codes, (std::vector<uint8_t>{66, 67}));
    EXPECT_EQ(lines[3].time, 30);  // the last line needs no line end
    EXPECT_EQ(lyricCharacterCount(lyrics), 4u);
}

TEST(TextRecords, SplitLinesKeepEveryRecordOnceWithItsLineEnd) {
    const std::vector<TextRecord> lyrics = {
        {13, 10, 1}, {65, 0, 5}, {13, 10, 7}, {66, 0, 11}, {67, 0, 12},
    };
    const std::vector<std::span<const TextRecord>> lines = splitLyricLines(lyrics);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 1u);  // a line end alone is an empty line
    EXPECT_EQ(lines[1].size(), 2u);
    EXPECT_EQ(lines[2].size(), 2u);
    EXPECT_EQ(lines[0].data(), lyrics.data());
    EXPECT_EQ(lines[2].data() + lines[2].size(), lyrics.data() + lyrics.size());
    EXPECT_TRUE(splitLyricLines({}).empty());
}

TEST(TextRecords, StreamsOutOfShapeAreReportedWithTheirByte) {
    const std::vector<uint8_t> good = textStreamOf("/a/Abc.mid", {"la "});
    ASSERT_TRUE(readTextStream(good).problems.empty());

    std::vector<uint8_t> stream = good;
    stream[4 * 16 + 1] = 10;  // a title letter with a line-feed flag
    auto parts = readTextStream(stream);
    ASSERT_EQ(parts.problems.size(), 1u);
    EXPECT_EQ(parts.problems[0].byte, 4u * 16 + 1);

    stream = good;
    stream[4 * 20 + 2] = 1;  // a header record with a time
    parts = readTextStream(stream);
    EXPECT_FALSE(parts.headerFound);
    ASSERT_FALSE(parts.problems.empty());

    stream = good;
    stream.resize(stream.size() - 4);  // one closing record only
    parts = readTextStream(stream);
    ASSERT_EQ(parts.problems.size(), 1u);
    EXPECT_NE(parts.problems[0].message.find("closing"), std::string::npos);

    stream = good;
    stream.resize(30);  // cut inside the header
    parts = readTextStream(stream);
    EXPECT_FALSE(parts.headerFound);
    EXPECT_TRUE(parts.lyrics().empty());
    EXPECT_GE(parts.problems.size(), 2u);  // the length and the header
}

}  // namespace
}  // namespace zmr
