#pragma once
// The dialog's list of song paths, in the order the image uses: the command
// line's order (letter case ignored, then raw bytes), whatever order folders
// were added in. The same path may stand twice. The list widget shows what
// this holds, row for row, so "Remove" and "Create Image" take the songs the
// user sees.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace zmr::dialog {

class SongListModel {
public:
    // The row `path` takes: after every entry it does not sort before.
    size_t placeOf(const std::string& path) const;
    // At `row`, as placeOf gave it once the widget took the entry there.
    void insert(size_t row, std::string path);
    // Removes the rows (any order, each once); the rest keep their order.
    void remove(std::span<const size_t> rows);

    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::vector<std::string> paths_;  // UTF-8 where the system names files so (Windows), else its bytes
};

}  // namespace zmr::dialog
