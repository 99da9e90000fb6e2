#pragma once
// Runs a piece of a test in a forked child, so that a crash, a hang or an
// allocation beyond a limit ends the child rather than the test runner, and
// the test can state how the child ended and how much memory it really used.

#include <cstddef>
#include <functional>
#include <string>

namespace zmr::test {

struct ChildOutcome {
    bool exited = false;  // ended through exit() rather than a signal
    int exitCode = -1;
    int signal = 0;       // SIGALRM when it ran out of time
    long peakRssGrowthKib = 0;  // peak resident memory above what the child started with

    std::string describe() const;
};

struct ChildLimits {
    // The child may map at most this much beyond what it has at the start.
    // Not applied under AddressSanitizer, which maps its shadow memory up front.
    size_t addressSpaceHeadroom = size_t{512} << 20;
    unsigned seconds = 60;
};

// Under AddressSanitizer the address space is not limited, and freed memory
// stays resident in its quarantine, so peak memory says little.
bool underAddressSanitizer();

// `body`'s result becomes the child's exit code; 125 when it throws.
ChildOutcome runInChild(const std::function<int()>& body, const ChildLimits& limits = {});

}  // namespace zmr::test
