#include "image/song_order.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "fileio/native_path.h"

namespace zmr {
namespace {

unsigned char asciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// The folder's text as the start of its songs' paths: one separator between
// folder and name, the root's own kept.
std::string folderPrefix(const std::string& folder) {
#ifdef _WIN32
    // Backslashes unless the folder is written with slashes only; "C:" alone
    // is the current folder of drive C and takes no separator.
    const char separator = folder.find('\\') == std::string::npos && folder.find('/') != std::string::npos ? '/' : '\\';
    std::string prefix = folder;
    while (prefix.size() > 1 && (prefix.back() == '/' || prefix.back() == '\\') && prefix[prefix.size() - 2] != ':')
        prefix.pop_back();
    if (!prefix.empty() && prefix.back() != '/' && prefix.back() != '\\' && prefix.back() != ':') prefix += separator;
    return prefix;
#else
    std::string prefix = folder;
    while (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
    if (prefix != "/") prefix += '/';
    return prefix;
#endif
}

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
    namespace fs = std::filesystem;
    const std::string prefix = folderPrefix(folder);

    std::vector<std::string> paths;
    std::error_code error;
    fs::directory_iterator it(nativePath(folder), error);
    if (error) return Failure{"cannot list folder: " + error.message(), FailureKind::UnreadableInput};
    // Incremented by hand: the range-for form would throw on a read error.
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = pathText(it->path().filename());
        std::error_code statError;
        if (hasSongExtension(name) && it->is_regular_file(statError)) paths.push_back(prefix + name);  // follows links
    }
    if (error) return Failure{"cannot list folder: " + error.message(), FailureKind::UnreadableInput};
    return paths;
}

}  // namespace zmr
