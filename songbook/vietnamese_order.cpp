#include "songbook/vietnamese_order.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>

#include "songbook/vietnamese_collator.h"

namespace zmr {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The title with every run of digits spelt so that a collation ordering the
// digits 0 to 9 orders the runs by value: leading zeros dropped, and the run
// led by its length, itself in digits that sort as the lengths do (1 to 9
// digits: "0" to "8"; 10 to 18: "90" to "98"; and so on). "Bài 2" becomes
// "Bài 02", "Bài 10" becomes "Bài 110". Done here rather than by each
// platform's collation, so that numbers compare alike everywhere.
std::string numbersByValue(std::string_view title) {
    std::string out;
    out.reserve(title.size() + 4);
    size_t i = 0;
    while (i < title.size()) {
        if (!isDigit(title[i])) {
            out += title[i++];
            continue;
        }
        size_t end = i;
        while (end < title.size() && isDigit(title[end])) ++end;
        size_t first = i;
        while (first + 1 < end && title[first] == '0') ++first;  // "0" stays "0"
        const size_t length = end - first;
        out.append((length - 1) / 9, '9');
        out += static_cast<char>('0' + (length - 1) % 9);
        out.append(title.substr(first, length));
        i = end;
    }
    return out;
}

}  // namespace

Result<std::vector<size_t>> orderByTitle(std::span<const SongBookEntry> songs) {
    Result<VietnameseCollator> collator = VietnameseCollator::create();
    if (!collator) return collator.failure();
    std::vector<std::string> keys(songs.size());
    for (size_t i = 0; i < songs.size(); ++i) keys[i] = numbersByValue(songs[i].title);
    std::vector<size_t> order(songs.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (const int c = collator->compare(keys[a], keys[b]); c != 0) return c < 0;
        return songs[a].number < songs[b].number;
    });
    return order;
}

}  // namespace zmr
