#include "fileio/folder_listing.h"

#include <filesystem>
#include <system_error>

#include "fileio/native_path.h"

namespace zmr {
namespace {

// The folder's text as the start of its files' paths: one separator between
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

Result<std::vector<std::string>> listFolderFiles(const std::string& folder,
                                                 const std::function<bool(std::string_view name)>& wanted) {
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
        if (wanted(name) && it->is_regular_file(statError)) paths.push_back(prefix + name);  // follows links
    }
    if (error) return Failure{"cannot list folder: " + error.message(), FailureKind::UnreadableInput};
    return paths;
}

}  // namespace zmr
