#include "songbook/song_list_titles.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace zmr {

std::vector<std::optional<std::string>> songListTitles(std::span<const uint8_t> songList) {
    const std::string_view text(reinterpret_cast<const char*>(songList.data()), songList.size());
    std::vector<std::optional<std::string>> titles;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 2;

        const int32_t expected = static_cast<int32_t>(titles.size()) + 1;
        const size_t tab = line.find('\t');
        int32_t number = 0;
        const auto parsed = std::from_chars(line.data(), line.data() + std::min(tab, line.size()), number);
        if (tab == std::string_view::npos || parsed.ptr != line.data() + tab || number != expected) {
            titles.emplace_back();
            continue;
        }
        const size_t titleEnd = line.find('\t', tab + 1);
        const std::string_view title = line.substr(tab + 1, titleEnd == std::string_view::npos ? titleEnd : titleEnd - tab - 1);
        titles.emplace_back(title);
    }
    return titles;
}

}  // namespace zmr
