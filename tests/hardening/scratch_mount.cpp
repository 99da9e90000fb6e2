// Mounting a tmpfs and setpriv are Linux's; the Windows build leaves out the
// tests that use them.
#ifndef _WIN32
#include "hardening/scratch_mount.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zmr::test {

ScratchMount::ScratchMount(std::string folder, const std::string& options, bool readOnly) : folder_(std::move(folder)) {
    if (::geteuid() != 0) {
        reason_ = "mounting a small file system needs root";
        return;
    }
    const unsigned long flags = MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", flags, options.c_str()) != 0) {
        reason_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
        return;
    }
    mounted_ = true;
}

bool ScratchMount::remountReadOnly() {
    return mounted_ && ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
}

ScratchMount::~ScratchMount() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

std::string asUnprivilegedUser(const std::string& command) {
    if (::geteuid() != 0) return command;
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) return {};
    return "setpriv --reuid=65534 --regid=65534 --clear-groups " + command;
}

}  // namespace zmr::test
#endif  // _WIN32
