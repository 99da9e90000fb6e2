#include "image/song_order.h"

#include <algorithm>

#include "fileio/folder_listing.h"

namespace zmr {
namespace {

unsigned char asciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

}  // namespace

bool songPathLess(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = asciiLower(static_cast<unsigned char>(a[i]));
        const unsigned char y = asciiLower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    // Same text but for letter case: the raw bytes decide, so the order is total.
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

void sortSongPaths(std::vector<std::string>& paths) {
    std::stable_sort(paths.begin(), paths.end(),
                     [](const std::string& a, const std::string& b) { return songPathLess(a, b); });
}

bool hasSongExtension(std::string_view name) {
    if (name.size() < 4) return false;
    std::string tail(name.substr(name.size() - 4));
    for (char& c : tail) c = static_cast<char>(asciiLower(static_cast<unsigned char>(c)));
    return tail == ".mid" || tail == ".kar";
}

Result<std::vector<std::string>> listSongFolder(const std::string& folder) {
    return listFolderFiles(folder, hasSongExtension);
}

}  // namespace zmr
