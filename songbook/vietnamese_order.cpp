#include "songbook/vietnamese_order.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>

namespace zmr {

Result<std::vector<size_t>> orderByTitle(std::span<const SongBookEntry> songs) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(icu::Locale("vi"), status));
    if (U_FAILURE(status) || !collator)
        return Failure{std::string("cannot sort Vietnamese titles: ICU has no collator for \"vi\" (") +
                       u_errorName(status) + ")"};
    // Numbers inside titles by their value: "Bài 2" before "Bài 10".
    collator->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    // One sort key per title, so that sorting many songs compares bytes.
    std::vector<std::string> keys(songs.size());
    for (size_t i = 0; i < songs.size(); ++i) {
        const icu::UnicodeString title = icu::UnicodeString::fromUTF8(songs[i].title);
        const int32_t length = collator->getSortKey(title, nullptr, 0);
        keys[i].resize(static_cast<size_t>(length));
        collator->getSortKey(title, reinterpret_cast<uint8_t*>(keys[i].data()), length);
    }
    std::vector<size_t> order(songs.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (keys[a] != keys[b]) return keys[a] < keys[b];
        return songs[a].number < songs[b].number;
    });
    return order;
}

}  // namespace zmr
