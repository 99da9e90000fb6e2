#include "image/native_path.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#endif

namespace zmr {

#ifdef _WIN32

// The standard library would read narrow text in the system's code page.
std::filesystem::path nativePath(std::string_view text) { return std::filesystem::path(wideFromUtf8(text)); }

std::string pathText(const std::filesystem::path& path) { return utf8FromWide(path.native()); }

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
    return _wfopen(path.c_str(), wideFromUtf8(mode).c_str());
}

// The C runtime's fopen knows no "x" mode; the exclusive create is asked of
// the lower-level open instead.
std::FILE* createNewFile(const std::filesystem::path& path) {
    const int fd = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "w+b");
    if (!file) _close(fd);
    return file;
}

#else

std::filesystem::path nativePath(std::string_view text) { return std::filesystem::path(text); }

std::string pathText(const std::filesystem::path& path) { return path.native(); }

std::FILE* openFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

std::FILE* createNewFile(const std::filesystem::path& path) { return std::fopen(path.c_str(), "w+bx"); }

#endif

}  // namespace zmr
