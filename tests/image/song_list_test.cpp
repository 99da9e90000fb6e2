// The song list read back as the compilation writes it and as editors save
// it: CR LF or LF line ends, a UTF-8 byte-order mark, the numbering rules.

#include "image/song_list.h"

#include <gtest/gtest.h>

namespace zmr {
namespace {

TEST(SongList, LinesOfAnyEditorAndTheirNumbers) {
    std::string written;
    songListLine(1, "A\tla", written);
    EXPECT_EQ(written.size(), songListLineBytes(1, 4));
    const std::string text = "\xEF\xBB\xBF" + written + "2\tB\n03\tC\tx\r\nlast";
    const SongList list = parseSongList(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    EXPECT_TRUE(list.byteOrderMark);
    ASSERT_EQ(list.lines.size(), 4u);

    const SongListLine& first = list.lines[0];
    EXPECT_TRUE(first.crlf);
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.title, "A");
    EXPECT_EQ(first.end, 3 + written.size());  // the mark counts in the list's bytes
    EXPECT_FALSE(songListNumberProblem(first));

    EXPECT_FALSE(list.lines[1].crlf);
    EXPECT_EQ(list.lines[1].title, "B");
    EXPECT_EQ(list.lines[1].end, first.end + 4);
    EXPECT_FALSE(songListNumberProblem(list.lines[1]));

    EXPECT_EQ(songListNumberProblem(list.lines[2]),
              "the line does not begin with a song number and a tab: \"03\\x09C\\x09x\"");
    EXPECT_EQ(list.lines[3].text, "last");
    EXPECT_EQ(list.lines[3].end, text.size());
}

}  // namespace
}  // namespace zmr
