#include "fileio/file_bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "fileio/native_path.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zmr {
namespace {

// A buffer starts at this size and doubles while a file fills it.
constexpr size_t kFirstBufferSize = size_t{64} << 10;
// Buffers above this are released after their song.
constexpr size_t kKeptBufferSize = size_t{8} << 20;

std::string tooLarge(size_t largest) {
    if (largest >= kLargestReadFile) return "cannot read: the file is larger than 2 GB";
    return "cannot read: the file is larger than " + std::to_string(largest >> 20) + " MiB, far more than a song holds";
}

// Makes room for at least one more byte after `used`.
void growIfFull(std::vector<uint8_t>& buffer, size_t used) {
    if (used < buffer.size()) return;
    buffer.resize(std::max(kFirstBufferSize, buffer.size() * 2));
}

}  // namespace

std::string systemMessage(const std::string& what, int error) {
    std::string message = what + ": " + std::strerror(error);
    if (error == ENOSPC) message += " (the disk is full)";
    return message;
}

std::optional<std::string> regularFileProblem(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    switch (status.type()) {
        case fs::file_type::regular: return std::nullopt;
        case fs::file_type::not_found: return "no such file";
        case fs::file_type::directory: return "is a folder";
        case fs::file_type::fifo: return "is a FIFO (named pipe), not a file";
        case fs::file_type::block:
        case fs::file_type::character: return "is a device, not a file";
        case fs::file_type::socket: return "is a socket, not a file";
        default: return error ? error.message() : "is not a regular file";
    }
}

Result<std::vector<uint8_t>> readFileBytes(const std::string& path) {
    std::vector<uint8_t> buffer;
    Result<std::span<const uint8_t>> read = readFileInto(path, buffer, kLargestReadFile);
    if (!read) return read.failure();
    buffer.resize(read->size());
    return buffer;
}

void releaseOutlierBuffer(std::vector<uint8_t>& buffer) {
    if (buffer.size() > kKeptBufferSize) std::vector<uint8_t>().swap(buffer);
}

Result<std::span<const uint8_t>> readFileInto(const std::string& path, std::vector<uint8_t>& buffer, size_t largest) {
    errno = 0;
    const std::filesystem::path native = nativePath(path);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openFile(native, "rb"), &std::fclose);
    if (!file) {
        const int error = errno;
#ifdef _WIN32
        // Windows refuses to open a folder at all; say what a POSIX system says
        // when it comes to reading one.
        std::error_code ignored;
        if (std::filesystem::is_directory(native, ignored))
            return Failure{systemMessage("cannot read", EISDIR), FailureKind::UnreadableInput};
#endif
        return Failure{systemMessage("cannot open", error), FailureKind::UnreadableInput};
    }

    // Read until the end rather than trusting a size asked beforehand: the file
    // may change under us, and a folder opens fine on some systems but cannot be read.
    size_t size = 0;
    for (;;) {
        growIfFull(buffer, size);
        const size_t wanted = buffer.size() - size;
        const size_t got = std::fread(buffer.data() + size, 1, wanted, file.get());
        size += got;
        if (got < wanted) break;
        if (size > largest) return Failure{tooLarge(largest), FailureKind::UnreadableInput};
    }
    if (std::ferror(file.get()))
        return Failure{systemMessage("cannot read", errno != 0 ? errno : EIO), FailureKind::UnreadableInput};
    return std::span<const uint8_t>(buffer.data(), size);
}

std::optional<std::span<const uint8_t>> readRegularFileAhead(const std::string& path, std::vector<uint8_t>& buffer,
                                                            size_t largest) {
#ifndef _WIN32
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::optional<std::span<const uint8_t>> read;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && static_cast<uint64_t>(status.st_size) <= largest) {
        // One byte more than the file's size, so its end is seen in one pass.
        if (buffer.size() <= static_cast<size_t>(status.st_size)) buffer.resize(static_cast<size_t>(status.st_size) + 1);
        size_t size = 0;
        for (;;) {
            growIfFull(buffer, size);
            const ssize_t got = ::read(fd, buffer.data() + size, buffer.size() - size);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 || size + static_cast<size_t>(got) > largest) break;
            if (got == 0) {
                read = std::span<const uint8_t>(buffer.data(), size);
                break;
            }
            size += static_cast<size_t>(got);
        }
    }
    ::close(fd);
    return read;
#else
    // A pipe or a device has a name of its own on Windows (\\.\pipe\..., CON)
    // that is never a regular file; what is a regular file now is read ahead,
    // on the worker, and the rest waits for its turn.
    std::error_code error;
    if (!std::filesystem::is_regular_file(nativePath(path), error)) return std::nullopt;
    Result<std::span<const uint8_t>> read = readFileInto(path, buffer, largest);
    if (!read) return std::nullopt;
    return *read;
#endif
}

}  // namespace zmr
