#include "image/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "image/native_path.h"

namespace zmr {

std::string systemMessage(const std::string& what, int error) {
    std::string message = what + ": " + std::strerror(error);
    if (error == ENOSPC) message += " (the disk is full)";
    return message;
}

Result<std::vector<uint8_t>> readFileBytes(const std::string& path) {
    errno = 0;
    const std::filesystem::path native = nativePath(path);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openFile(native, "rb"), &std::fclose);
    if (!file) {
        const int error = errno;
#ifdef _WIN32
        // Windows refuses to open a folder at all; say what a POSIX system says
        // when it comes to reading one.
        std::error_code ignored;
        if (std::filesystem::is_directory(native, ignored)) return Failure{systemMessage("cannot read", EISDIR)};
#endif
        return Failure{systemMessage("cannot open", error)};
    }

    // Read in blocks rather than trusting a size asked beforehand: the file may
    // change under us, and a folder opens fine on some systems but cannot be read.
    std::vector<uint8_t> bytes;
    uint8_t block[65536];
    for (;;) {
        const size_t got = std::fread(block, 1, sizeof block, file.get());
        bytes.insert(bytes.end(), block, block + got);
        if (got < sizeof block) break;
        if (bytes.size() > 0x7FFFFFFFu) return Failure{"cannot read: the file is larger than 2 GB"};
    }
    if (std::ferror(file.get())) return Failure{systemMessage("cannot read", errno != 0 ? errno : EIO)};
    return bytes;
}

}  // namespace zmr
