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

// Where the platforms part: ICU's "vi" sorts letter by letter, while the
// Windows table for vi-VN takes ch, gh, gi, kh, ng, nh, ph, qu, th and tr as
// letters of their own after their first letter, as older dictionaries do.
TEST(VietnameseOrder, TwoLetterConsonantsAsThePlatformSortsThem) {
#ifdef _WIN32
    EXPECT_EQ(sorted({"Tu", "Thu", "Tình", "Trăng"}), (std::vector<std::string>{"Tình#3", "Tu#1", "Thu#2", "Trăng#4"}));
#else
    EXPECT_EQ(sorted({"Tu", "Thu", "Tình", "Trăng"}), (std::vector<std::string>{"Thu#2", "Tình#3", "Trăng#4", "Tu#1"}));
#endif
}

TEST(VietnameseOrder, NumbersByValueAndOneTitleByNumber) {
    EXPECT_EQ(sorted({"Bài 10", "Bài 2", "Bài 1", "Bài 2"}),
              (std::vector<std::string>{"Bài 1#3", "Bài 2#2", "Bài 2#4", "Bài 10#1"}));
    // Leading zeros count for nothing; numbers of 9 and 10 digits, and of 18
    // and 19, meet where their lengths' spelling changes.
    EXPECT_EQ(sorted({"Số 1000000000", "Số 999999999", "Số 02", "Số 2", "Số 0", "Số 1000000000000000000",
                      "Số 999999999999999999"}),
              (std::vector<std::string>{"Số 0#5", "Số 02#3", "Số 2#4", "Số 999999999#2", "Số 1000000000#1",
                                        "Số 999999999999999999#7", "Số 1000000000000000000#6"}));
}

}  // namespace
}  // namespace zmr
