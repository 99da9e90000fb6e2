// A song list against its image: numbering, line ends, and titles compared
// through the transcoder, since the list keeps untranscoded bytes.

#include "readback/song_list_check.h"

#include <gtest/gtest.h>

#include "readback/image_verify.h"
#include "support/memory_compile.h"

namespace zmr {
namespace {

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::vector<std::optional<std::vector<uint8_t>>> titles(const std::vector<std::string>& names) {
    std::vector<std::optional<std::vector<uint8_t>>> out;
    for (const std::string& name : names) out.emplace_back(transcodeTitle(name));
    return out;
}

std::vector<int32_t> linesOf(const std::vector<SongListProblem>& problems) {
    std::vector<int32_t> lines;
    for (const SongListProblem& p : problems) lines.push_back(p.line);
    return lines;
}

TEST(SongListCheck, TitlesAreComparedAsTheTextStreamTranscodesThem) {
    // VIQR and VNI titles name the same codes; the lyric part is not compared.
    EXPECT_EQ(transcodeTitle("Vie^.t"), transcodeTitle("Vie\xE4t"));
    EXPECT_EQ(transcodeTitle("Vie^.t"), (std::vector<uint8_t>{86, 105, 172, 116}));
    EXPECT_TRUE(transcodeTitle("").empty());

    const auto image = titles({"Vie^.t", "Abc", "Ca'"});
    EXPECT_TRUE(checkSongList(bytesOf("1\tVie\xE4t\tEm ye^u\r\n2\tAbc\t\r\n3\tCa'\tla la\r\n"), image).empty());

    EXPECT_EQ(linesOf(checkSongList(bytesOf("1\tViet\tx\r\n2\tAbc\t\r\n3\tCa'\t\r\n"), image)), std::vector<int32_t>{1});
    EXPECT_EQ(linesOf(checkSongList(bytesOf("1\tVie^.t\t\r\n3\tAbc\t\r\n3\tCa'\t\r\n"), image)), std::vector<int32_t>{2});
    EXPECT_EQ(linesOf(checkSongList(bytesOf("1\tVie^.t\t\r\n2\tAbc\t\n3\tCa'\t\r\n"), image)), std::vector<int32_t>{2});
    EXPECT_EQ(linesOf(checkSongList(bytesOf("1\tVie^.t\t\r\n2\tAbc\t\r\n"), image)), std::vector<int32_t>{3});
    EXPECT_EQ(linesOf(checkSongList(bytesOf("1\tVie^.t\t\r\n2\tAbc\t\r\n3\tCa'\t\r\n4\tD\t\r\n"), image)),
              std::vector<int32_t>{4});
    EXPECT_EQ(linesOf(checkSongList(bytesOf("1\tVie^.t\t\r\nAbc\r\n3\tCa'\t\r\n"), image)), std::vector<int32_t>{2});
    EXPECT_EQ(linesOf(checkSongList(bytesOf("01\tVie^.t\t\r\n2\tAbc\t\r\n3\tCa'\t\r\n"), image)), std::vector<int32_t>{1});
}

// Names that --text-encoding read as UTF-8 or Windows-1258 check too.
TEST(SongListCheck, TitlesReadFromUnicodeOrWindows1258) {
    const std::vector<std::optional<std::vector<uint8_t>>> image = {
        transcodeTitle("Vie^.t"), transcodeTitle("Vi\xEA\xF2t", TextEncoding::Cp1258)};
    EXPECT_EQ(image[0], transcodeTitle("Việt", TextEncoding::Utf8));
    EXPECT_EQ(image[0], image[1]);
    EXPECT_TRUE(checkSongList(bytesOf("1\tViệt\t\r\n2\tVi\xEA\xF2t\t\r\n"), image).empty());
    EXPECT_EQ(linesOf(checkSongList(bytesOf("1\tViết\t\r\n2\tVi\xEAt\t\r\n"), image)), (std::vector<int32_t>{1, 2}));
}

TEST(SongListCheck, LongTitlesCutInTheListNeedOnlyBeginTheImagesTitle) {
    const std::string title(70, 'a');
    const auto image = titles({title + "e^"});
    // The list holds 62 title bytes and the tab.
    EXPECT_TRUE(checkSongList(bytesOf("1\t" + title.substr(0, 62) + "\t\r\n"), image).empty());
    EXPECT_FALSE(checkSongList(bytesOf("1\tb" + title.substr(0, 61) + "\t\r\n"), image).empty());
}

TEST(SongListCheck, TheCompilersOwnListMatchesItsImage) {
    test::SongFiles songs;
    for (uint32_t i = 0; i < 20; ++i) {
        songs.emplace_back("/s/Ba`i " + std::to_string(i) + (i % 2 ? " DDe^m.kar" : " A^'m.mid"), test::generatedSong(i, 5));
    }
    const auto compiled = test::compileInMemory(songs);
    const ImageVerification report = verifyImage(compiled.image);
    ASSERT_TRUE(report.sound());
    EXPECT_TRUE(checkSongList(bytesOf(compiled.songList), report.titles).empty());

    std::string renamed = compiled.songList;
    renamed.replace(renamed.find("A^'m"), 4, "A^`m");
    EXPECT_EQ(linesOf(checkSongList(bytesOf(renamed), report.titles)), std::vector<int32_t>{1});
}

}  // namespace
}  // namespace zmr
