#pragma once
// A small tmpfs mounted for one test and unmounted afterwards: a real file
// system that fills up, or that cannot be written at all. Needs root; where
// the sandbox forbids mounting, `reason()` says why and the test skips.

#include <string>

namespace zmr::test {

class ScratchMount {
public:
    // `options` as for mount -o, e.g. "size=64k"; `readOnly` mounts it read-only.
    ScratchMount(std::string folder, const std::string& options, bool readOnly = false);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    // Makes the mounted file system read-only, files and all; false when it cannot.
    bool remountReadOnly();

    bool mounted() const { return mounted_; }
    const std::string& reason() const { return reason_; }  // why it is not mounted

private:
    std::string folder_;
    bool mounted_ = false;
    std::string reason_;
};

// Runs `command` in the shell as the unprivileged user 65534 when the tests
// run as root (through setpriv), or as it is otherwise. Empty when it cannot.
std::string asUnprivilegedUser(const std::string& command);

}  // namespace zmr::test
