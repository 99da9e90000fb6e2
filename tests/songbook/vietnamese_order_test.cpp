// The song book's order: Vietnamese collation, as a dictionary sorts.

#include "songbook/vietnamese_order.h"

#include <gtest/gtest.h>

namespace zmr {
namespace {

// Numbers the titles 1, 2, ... in the order given and returns them sorted.
std::vector<std::string> sorted(const std::vector<std::string>& titles) {
    std::vector<SongBookEntry> songs;
    for (const std::string& title : titles) songs.push_back({static_cast<int32_t>(songs.size() + 1), title, "", 0});
    const Result<std::vector<size_t>> order = orderByTitle(songs);
    EXPECT_TRUE(order.ok()) << order.message();
    std::vector<std::string> out;
    for (size_t i : *order) out.push_back(songs[i].title + (songs[i].number > 0 ? "#" + std::to_string(songs[i].number) : ""));
    return out;
}

TEST(VietnameseOrder, TitlesThatDifferOnlyInTonesAndVowelMarks) {
    // Tones in dictionary order (none, grave, hook, tilde, acute, dot below);
    // a with breve and with circumflex are letters after a.
    EXPECT_EQ(sorted({"mạ", "Mă", "má", "ma", "mã", "Mâ", "mả", "mà"}),
              (std::vector<std::string>{"ma#4", "mà#8", "mả#7", "mã#5", "má#3", "mạ#1", "Mă#2", "Mâ#6"}));
    EXPECT_EQ(sorted({"Ơn", "Ông", "Ong", "Đêm", "Dê", "Ưa", "Ua"}),
              (std::vector<std::string>{"Dê#5", "Đêm#4", "Ong#3", "Ông#2", "Ơn#1", "Ua#7", "Ưa#6"}));
}

TEST(VietnameseOrder, NumbersByValueAndOneTitleByNumber) {
    EXPECT_EQ(sorted({"Bài 10", "Bài 2", "Bài 1", "Bài 2"}),
              (std::vector<std::string>{"Bài 1#3", "Bài 2#2", "Bài 2#4", "Bài 10#1"}));
}

}  // namespace
}  // namespace zmr
