#include "dialog/song_file_choice.h"

namespace zmr::dialog {
namespace {

#ifdef _WIN32
constexpr char kSeparators[] = "\\/";
#else
constexpr char kSeparators[] = "/";
#endif

}  // namespace

std::string folderOfConfirmedPath(std::string_view path) {
    const size_t separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator + 1));
}

}  // namespace zmr::dialog
