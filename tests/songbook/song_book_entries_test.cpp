// What the song book says of each song, read back from a compiled image.

#include "songbook/song_book_entries.h"

#include <gtest/gtest.h>

#include "songbook/song_list_titles.h"
#include "support/memory_compile.h"
#include "midi/time_units.h"

namespace zmr {
namespace {

// One time unit a tick (division 1, 17,000 us a quarter note); the last note,
// the last record, starts at 3,400 units: 57.8 seconds.
std::vector<uint8_t> songWithLines(std::initializer_list<std::string_view> syllables) {
    test::TrackWriter music, words;
    music.tempo(0, 17000);
    for (int i = 0; i < 18; ++i) music.noteOn(0, 0, 60, 90).noteOff(200, 0, 60);
    music.endOfTrack();
    for (std::string_view syllable : syllables) words.lyric(10, syllable);
    words.endOfTrack();
    return test::MidiFile(1).add(music).add(words).bytes();
}

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

test::CompiledImage twoSongs() {
    return test::compileInMemory({{"/s/Mua Xuan.mid", songWithLines({" ", "Xua^n ", "ve^` ", "vui\r", "Hoa ", "no*?\r"})},
                                  {"/s/DDe^m Tra(ng.kar", songWithLines({"A' ", "o*i\r"})}});
}

TEST(SongBookEntries, TitleFirstLineAndLengthAsThePlayerShowsThem) {
    const test::CompiledImage compiled = twoSongs();
    const Result<std::vector<SongBookEntry>> entries = readSongBookEntries(compiled.image);
    ASSERT_TRUE(entries.ok()) << entries.message();
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_EQ((*entries)[0].number, 1);
    EXPECT_EQ((*entries)[0].title, "Mua Xuan");
    EXPECT_EQ((*entries)[0].firstLine, "Xuân về vui");
    EXPECT_EQ(minutesSeconds((*entries)[0].lengthUnits), "00:57");
    EXPECT_EQ((*entries)[1].title, "Đêm Trăng");
    EXPECT_EQ((*entries)[1].firstLine, "Á ơi");
}

TEST(SongBookEntries, SongListRespellsTitlesWhereItsLinesAreReadable) {
    const test::CompiledImage compiled = twoSongs();
    // Line 1 respelt by the user; line 2 cut short as long names are cut: the image's is whole.
    // Saved by any editor: CR LF, LF alone, a byte-order mark before the first line.
    for (const std::string list : {"1\tMu`a Xua^n\tXua^n\r\n2\tDDe^m\tA'\r\n", "1\tMu`a Xua^n\tXua^n\n2\tDDe^m\tA'\n",
                                   "\xEF\xBB\xBF" "1\tMu`a Xua^n\tXua^n\r\n2\tDDe^m\tA'"}) {
        const ListedTitles respelt = songListTitles(bytesOf(list));
        EXPECT_TRUE(respelt.problems.empty());
        const auto entries = readSongBookEntries(compiled.image, respelt.titles);
        ASSERT_TRUE(entries.ok());
        EXPECT_EQ((*entries)[0].title, "Mùa Xuân");
        EXPECT_EQ((*entries)[1].title, "Đêm Trăng");
    }

    // Lines without their number, or without a tab, give nothing, and say why.
    const ListedTitles unreadable = songListTitles(bytesOf("2\tMu`a\r\nno tab\r\n"));
    ASSERT_EQ(unreadable.titles.size(), 2u);
    EXPECT_FALSE(unreadable.titles[0]);
    EXPECT_FALSE(unreadable.titles[1]);
    EXPECT_EQ(unreadable.problems, (std::vector<std::string>{
                                       "line 1: song number 2, expected 1",
                                       "line 2: the line does not begin with a song number and a tab: \"no tab\""}));
    EXPECT_EQ((*readSongBookEntries(compiled.image, unreadable.titles))[0].title, "Mua Xuan");
}

TEST(SongBookEntries, SongListTitlesReadAsTheBuildReadTheNames) {
    // A name in UTF-8 (read so under --text-encoding utf8) stays in the list as
    // its bytes; a name longer than the list keeps is cut there, inside "Xua^n".
    std::string longName(56, 'A');
    longName.append(" Xua^n");
    ConvertOptions utf8;
    utf8.textEncoding = TextEncoding::Utf8;
    const test::CompiledImage compiled = test::compileInMemory(
        {{"/s/Mùa Xuân.mid", songWithLines({"A' "})}, {std::string("/s/").append(longName).append(".mid"), songWithLines({"A' "})}},
        false, {}, utf8);
    const auto entries = readSongBookEntries(compiled.image, songListTitles(bytesOf(compiled.songList)).titles);
    ASSERT_TRUE(entries.ok()) << entries.message();
    EXPECT_EQ((*entries)[0].title, "Mùa Xuân");
    EXPECT_EQ((*entries)[1].title, std::string(56, 'A').append(" Xuân"));
}

TEST(SongBookEntries, ImageThatCannotBeReadIsRefused) {
    test::CompiledImage compiled = twoSongs();
    compiled.image.resize(compiled.image.size() - 100);
    const Result<std::vector<SongBookEntry>> entries = readSongBookEntries(compiled.image);
    ASSERT_FALSE(entries.ok());
    EXPECT_NE(entries.message().find("song 2"), std::string::npos) << entries.message();
}

}  // namespace
}  // namespace zmr
