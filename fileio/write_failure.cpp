#include "fileio/write_failure.h"

#include <cerrno>

#include "fileio/file_bytes.h"

namespace zmr {
namespace {

#ifdef _WIN32
// The Win32 codes behind a full disk, which std::filesystem reports as they are.
constexpr int kWin32HandleDiskFull = 39;  // ERROR_HANDLE_DISK_FULL
constexpr int kWin32DiskFull = 112;       // ERROR_DISK_FULL
#endif

bool noRoomLeft(int error) {
#ifdef EDQUOT
    if (error == EDQUOT) return true;
#endif
    return error == ENOSPC;
}

}  // namespace

FailureKind writeFailureKind(int error) { return noRoomLeft(error) ? FailureKind::DiskFull : FailureKind::WriteFailed; }

FailureKind writeFailureKind(const std::error_code& error) {
    if (error == std::errc::no_space_on_device) return FailureKind::DiskFull;
    if (error.category() == std::generic_category()) return writeFailureKind(error.value());
#ifdef _WIN32
    if (error.category() == std::system_category() &&
        (error.value() == kWin32DiskFull || error.value() == kWin32HandleDiskFull))
        return FailureKind::DiskFull;
#else
    if (error.category() == std::system_category()) return writeFailureKind(error.value());
#endif
    return FailureKind::WriteFailed;
}

Failure writeFailure(const std::string& what, int error) {
    return Failure{systemMessage(what, error), writeFailureKind(error)};
}

}  // namespace zmr
