#include "dialog/song_list_model.h"

#include <algorithm>
#include <functional>

#include "image/song_order.h"

namespace zmr::dialog {

size_t SongListModel::placeOf(const std::string& path) const {
    const auto place = std::upper_bound(paths_.begin(), paths_.end(), path,
                                        [](const std::string& a, const std::string& b) { return songPathLess(a, b); });
    return static_cast<size_t>(place - paths_.begin());
}

void SongListModel::insert(size_t row, std::string path) {
    paths_.insert(paths_.begin() + static_cast<std::ptrdiff_t>(std::min(row, paths_.size())), std::move(path));
}

void SongListModel::remove(std::span<const size_t> rows) {
    std::vector<size_t> sorted(rows.begin(), rows.end());
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    // From the bottom up, so each row still names its entry.
    for (const size_t row : sorted)
        if (row < paths_.size()) paths_.erase(paths_.begin() + static_cast<std::ptrdiff_t>(row));
}

}  // namespace zmr::dialog
