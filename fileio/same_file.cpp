#include "fileio/same_file.h"

#include <system_error>

#ifdef _WIN32
#include <cwctype>
#endif

namespace zmr {
namespace fs = std::filesystem;

namespace {

fs::path resolved(const fs::path& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) absolute = path;
    fs::path canonical = fs::weakly_canonical(absolute, error);
    return (error ? absolute : canonical).lexically_normal();
}

}  // namespace

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    const bool same = fs::equivalent(a, b, error);
    if (!error) return same;  // both exist
    fs::path::string_type left = resolved(a).native(), right = resolved(b).native();
#ifdef _WIN32
    for (auto* text : {&left, &right})
        for (auto& c : *text) c = static_cast<wchar_t>(std::towlower(c));
#endif
    return left == right;
}

}  // namespace zmr
