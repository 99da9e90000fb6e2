#include "fileio/native_path.h"

#ifdef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>  // before shellapi.h, which needs its types
#include <shellapi.h>
#endif

namespace zmr {

#ifdef _WIN32

std::vector<std::string> utf8CommandLine() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return {};
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) words.push_back(utf8FromWide(wide[i]));
    LocalFree(wide);
    return words;
}

// The standard library would read narrow text in the system's code page.
std::filesystem::path nativePath(std::string_view text) { return std::filesystem::path(wideFromUtf8(text)); }

std::string pathText(const std::filesystem::path& path) { return utf8FromWide(path.native()); }

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
    return _wfopen(path.c_str(), wideFromUtf8(mode).c_str());
}

namespace {

// The C runtime's errno for what CreateFileW reports.
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    default: return EIO;
    }
}

}  // namespace

// The C runtime's fopen knows no "x" mode, and its _wopen shares no right to
// delete: the file is created by the system's call and handed to stdio. Shared
// for deletion, so that the Ctrl+C handler can remove a temporary file still
// open; it then goes when the process ends.
std::FILE* createNewFile(const std::filesystem::path& path) {
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = errnoOf(GetLastError());
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "w+b");
    if (!file) _close(fd);
    return file;
}

bool setHidden(const std::filesystem::path& path, bool hidden) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD wanted = hidden ? attributes | FILE_ATTRIBUTE_HIDDEN : attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN);
    return wanted == attributes || SetFileAttributesW(path.c_str(), wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL);
}

#else

std::filesystem::path nativePath(std::string_view text) { return std::filesystem::path(text); }

std::string pathText(const std::filesystem::path& path) { return path.native(); }

std::FILE* openFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

std::FILE* createNewFile(const std::filesystem::path& path) { return std::fopen(path.c_str(), "w+bx"); }

bool setHidden(const std::filesystem::path&, bool) { return true; }

#endif

}  // namespace zmr
