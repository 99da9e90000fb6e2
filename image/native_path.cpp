#include "image/native_path.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#endif

namespace zmr {

#ifdef _WIN32

std::wstring wideFromUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string utf8FromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

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
