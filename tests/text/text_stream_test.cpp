#include "text/text_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zmr {
namespace {

using Record = std::array<uint8_t, 4>;

std::vector<Record> recordsOf(std::span<const uint8_t> bytes) {
    EXPECT_EQ(bytes.size() % kTextRecordSize, 0u);
    std::vector<Record> records;
    for (size_t i = 0; i + kTextRecordSize <= bytes.size(); i += kTextRecordSize) {
        records.push_back({bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3]});
    }
    return records;
}

std::vector<uint8_t> codesOf(const std::vector<Record>& records, size_t from = 0, size_t count = SIZE_MAX) {
    std::vector<uint8_t> codes;
    for (size_t i = from; i < records.size() && codes.size() < count; ++i) codes.push_back(records[i][0]);
    return codes;
}

std::span<const uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::vector<uint8_t> nameBytes(const NameBuffer& name) {
    return {name.bytes.begin(), name.bytes.begin() + name.fill};
}

const std::vector<uint8_t> kFirstTemplateCodes = {72, 48, 48, 48, 50, 13, 64, 64, 48, 48, 64, 49, 51, 13, 64};
const std::vector<uint8_t> kSecondTemplateCodes = {64, 13, 64, 64};
const std::vector<uint8_t> kFixedTextCodes = {75, 104, 147, 110, 103, 32, 98, 105, 137, 116, 13};
const Record kClosing = {13, 10, 0, 0};

// Header records: 15 + title records + CR + 4 + 11.
size_t headerRecords(size_t titleRecords) { return 31 + titleRecords; }

TEST(SongTitle, TakesTheFileNameLessItsExtension) {
    const std::vector<std::pair<std::string_view, std::string_view>> cases = {
        {"C:\\Songs\\Abc.kar", "Abc"},
        {"/home/me/songs/Abc.kar", "Abc"},
        {"C:\\mixed/dir\\Abc.mid", "Abc"},
        {"C:\\mixed\\dir/Abc.mid", "Abc"},
        {"Abc.kar", "Abc"},
        {"C:\\Songs\\.kar", ""},
        {"C:\\Songs\\a.b", ""},
        {"C:\\Songs\\", ""},
        {"", ""},
        {"C:\\Songs.old\\Tune", ""},
        {"C:\\Songs\\Tunes", "T"},
    };
    for (const auto& [path, title] : cases) EXPECT_EQ(songTitle(path), title) << path;
}

TEST(TextStream, HeaderCarriesTheTitleAndTheFixedText) {
    for (const std::string_view path : {"C:\\Songs\\Abc.kar", "/songs/Abc.kar"}) {
        TextStream stream;
        NameBuffer name;
        stream.beginTextStream(path, name);
        const auto records = recordsOf(stream.bytes());
        ASSERT_EQ(records.size(), 34u) << path;

        std::vector<uint8_t> expected = kFirstTemplateCodes;
        for (const uint8_t code : {65, 98, 99, 13}) expected.push_back(code);
        expected.insert(expected.end(), kSecondTemplateCodes.begin(), kSecondTemplateCodes.end());
        expected.insert(expected.end(), kFixedTextCodes.begin(), kFixedTextCodes.end());
        EXPECT_EQ(codesOf(records), expected) << path;

        int lineFeeds = 0;
        for (const Record& r : records) {
            EXPECT_EQ(r[1], r[0] == 13 ? 10 : 0);
            EXPECT_EQ(r[2], 0);
            EXPECT_EQ(r[3], 0);
            if (r[1] == 10) ++lineFeeds;
        }
        EXPECT_EQ(lineFeeds, 5);
        EXPECT_EQ(nameBytes(name), (std::vector<uint8_t>{65, 98, 99, 9}));
        EXPECT_EQ(name.text(), "Abc\t");
    }
}

TEST(TextStream, EmptyTitleLeavesOnlyTheLineEnd) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("C:\\Songs\\.kar", name);
    const auto records = recordsOf(stream.bytes());
    ASSERT_EQ(records.size(), headerRecords(0));
    EXPECT_EQ(records[14][0], 64);
    EXPECT_EQ(records[15], (Record{13, 10, 0, 0}));
    EXPECT_EQ(records[16][0], 64);
    EXPECT_EQ(nameBytes(name), (std::vector<uint8_t>{9}));
}

TEST(TextStream, TitleIsTranscodedInTheRecordsButNotInTheName) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("Vie^.t Nam.mid", name);
    const auto records = recordsOf(stream.bytes());
    EXPECT_EQ(codesOf(records, 15, 8), (std::vector<uint8_t>{86, 105, 172, 116, 32, 78, 97, 109}));
    EXPECT_EQ(records[23], (Record{13, 10, 0, 0}));
    EXPECT_EQ(name.text(), "Vie^.t Nam\t");
}

TEST(TextStream, SongWithoutLyricsEndsRightAfterTheHeader) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("C:\\x\\Hello.kar", name);
    const auto length = stream.endTextStream();
    EXPECT_EQ(length, 4 * (31 + 5) + 8);
    EXPECT_EQ(length, stream.bytes().size());
    const auto records = recordsOf(stream.bytes());
    EXPECT_EQ(records[records.size() - 3][0], 13);  // the fixed text's line end, once
    EXPECT_EQ(records[records.size() - 2], kClosing);
    EXPECT_EQ(records.back(), kClosing);
}

TEST(TextStream, LyricCharactersCarryTheTimeOfTheByteThatReleasesThem) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("C:\\x\\Abc.kar", name);
    stream.addLyric(bytesOf("Em"), 10);
    stream.addLyric(bytesOf(" ye^u"), 300);
    stream.endTextStream();
    const auto records = recordsOf(stream.bytes());
    const std::vector<Record> lyrics(records.begin() + 34, records.end());
    const std::vector<Record> expected = {
        {69, 0, 10, 0}, {109, 0, 44, 1}, {32, 0, 44, 1}, {121, 0, 44, 1},
        {136, 0, 44, 1}, {117, 0, 44, 1}, kClosing, kClosing,
    };
    EXPECT_EQ(lyrics, expected);
    EXPECT_EQ(name.text(), "Abc\tEm ye^u");
}

TEST(TextStream, OnlyLyricsShorterThanSixteenBytesAreShown) {
    const std::string fifteen = "abcdefghijklmno";
    const std::string sixteen = "ABCDEFGHIJKLMNOP";
    {
        TextStream stream;
        NameBuffer name;
        stream.beginTextStream("Abc.kar", name);
        stream.addLyric(bytesOf(fifteen), 7);
        const auto records = recordsOf(stream.bytes());
        // The last byte stays pending until the end.
        EXPECT_EQ(records.size(), 34u + 14u);
        EXPECT_EQ(records.back(), (Record{'n', 0, 7, 0}));
        stream.endTextStream();
        EXPECT_EQ(recordsOf(stream.bytes())[48], (Record{'o', 0, 7, 0}));
    }
    {
        TextStream stream;
        NameBuffer name;
        stream.beginTextStream("Abc.kar", name);
        stream.addLyric(bytesOf("x"), 5);
        stream.addLyric(bytesOf(sixteen), 9);
        EXPECT_EQ(recordsOf(stream.bytes()).size(), 34u);
        EXPECT_EQ(name.text(), "Abc\tx" + sixteen);
        stream.endTextStream();
        // The pending x keeps the time of the last shown lyric.
        EXPECT_EQ(recordsOf(stream.bytes())[34], (Record{'x', 0, 5, 0}));
    }
}

TEST(TextStream, EmptyLyricSetsTheLyricTime) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("Abc.kar", name);
    stream.addLyric(bytesOf("a"), 5);
    stream.addLyric({}, 600);
    EXPECT_EQ(recordsOf(stream.bytes()).size(), 34u);
    stream.endTextStream();
    EXPECT_EQ(recordsOf(stream.bytes())[34], (Record{'a', 0, 88, 2}));
}

TEST(TextStream, RecordsKeepTheLowSixteenBitsOfTheTime) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("Abc.kar", name);
    stream.addLyric(bytesOf("ab"), 65536 + 0x0102);
    stream.addLyric(bytesOf("c"), (int64_t{1} << 32) + 0x0304);
    stream.endTextStream();
    const auto records = recordsOf(stream.bytes());
    EXPECT_EQ(records[34], (Record{'a', 0, 2, 1}));
    EXPECT_EQ(records[35], (Record{'b', 0, 4, 3}));
    EXPECT_EQ(records[36], (Record{'c', 0, 4, 3}));
}

TEST(TextStream, CarriageReturnInALyricIsALineFeedRecord) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("Abc.kar", name);
    stream.addLyric(bytesOf("\rla"), 20);
    const auto records = recordsOf(stream.bytes());
    ASSERT_EQ(records.size(), 36u);
    EXPECT_EQ(records[34], (Record{13, 10, 20, 0}));
    EXPECT_EQ(records[35], (Record{'l', 0, 20, 0}));
}

TEST(TextStream, LyricBytesStopEnteringTheNameAtSixty) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("Abc.kar", name);
    for (int i = 0; i < 10; ++i) stream.addLyric(bytesOf("0123456789"), i);
    EXPECT_EQ(name.fill, 60);
    EXPECT_EQ(name.text().size(), 60u);
    EXPECT_EQ(name.text().substr(0, 14), "Abc\t0123456789");
    for (size_t i = 60; i < name.bytes.size(); ++i) EXPECT_EQ(name.bytes[i], 0) << i;
}

TEST(TextStream, LongTitleIsCutInTheNameOnly) {
    const std::string title(70, 'x');
    TextStream stream;
    NameBuffer name;
    std::string path = "C:\\Songs\\";  // appended: GCC 12 warns falsely on literal + string + literal
    path.append(title).append(".kar");
    stream.beginTextStream(path, name);
    stream.addLyric(bytesOf("la"), 1);
    EXPECT_EQ(name.fill, 63);
    EXPECT_EQ(name.text(), std::string(62, 'x').append("\t"));
    EXPECT_EQ(name.bytes[63], 0);
    const auto records = recordsOf(stream.bytes());
    EXPECT_EQ(records.size(), headerRecords(70) + 1);
    EXPECT_EQ(codesOf(records, 15, 70), std::vector<uint8_t>(70, 'x'));
    EXPECT_EQ(records[15 + 70], (Record{13, 10, 0, 0}));
}

TEST(TextStream, ZeroBytesInsideLyricsAreLeftOut) {
    const std::string shown("a\0b\0", 4);
    const std::string zerosOnly("\0\0", 2);
    const std::string named(std::string("0123456789ABCDE") + '\0' + "F");
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("Abc.kar", name);
    stream.addLyric(bytesOf(shown), 3);
    stream.addLyric(bytesOf(zerosOnly), 9);  // still sets the lyric time
    stream.addLyric(bytesOf(named), 12);     // 17 bytes: named, not shown
    stream.endTextStream();
    const auto records = recordsOf(stream.bytes());
    ASSERT_EQ(records.size(), 34u + 2u + 2u);
    EXPECT_EQ(records[34], (Record{'a', 0, 3, 0}));
    EXPECT_EQ(records[35], (Record{'b', 0, 9, 0}));
    EXPECT_EQ(name.text(), "Abc\tab0123456789ABCDEF");
    EXPECT_EQ(name.fill, 22);
}

TEST(TextStream, BeginningAgainStartsAFreshStream) {
    TextStream stream;
    NameBuffer first;
    stream.beginTextStream("Abc.kar", first);
    stream.addLyric(bytesOf("a"), 1);  // leaves 'a' pending
    stream.endTextStream();
    NameBuffer second;
    stream.beginTextStream("Abc.kar", second);
    EXPECT_EQ(stream.endTextStream(), 4 * (31 + 3) + 8);
}

TEST(TextStream, ReceivesLyricsFromTheMerge) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream("Abc.kar", name);
    MergeConsumer& consumer = stream;
    consumer.channelMessage(0x90, 60, 100, 0, 1.0f);
    consumer.lyric(bytesOf("la"), 4);
    EXPECT_EQ(recordsOf(stream.bytes()).size(), 35u);
    EXPECT_EQ(name.text(), "Abc\tla");
}

}  // namespace
}  // namespace zmr
