#ifndef _WIN32
#include "hardening/child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <fstream>

namespace zmr::test {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// The child's mapped bytes now, from the first field of /proc/self/statm.
size_t mappedBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0;
    statm >> pages;
    return pages * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

long peakRssKib() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

constexpr int kThrew = 125;

[[noreturn]] void childMain(const std::function<int()>& body, const ChildLimits& limits, int reportFd) {
    ::alarm(limits.seconds);
    if (!kAddressSanitizer) {
        const rlim_t cap = mappedBytes() + limits.addressSpaceHeadroom;
        const rlimit limit{cap, cap};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    const long before = peakRssKib();
    int code = kThrew;
    // An exception must not unwind into the test runner's own code in the child.
    try {
        code = body();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "child: %s\n", e.what());
    } catch (...) {
    }
    const long growth = peakRssKib() - before;
    (void)!::write(reportFd, &growth, sizeof growth);
    ::_exit(code);
}

}  // namespace

bool underAddressSanitizer() { return kAddressSanitizer; }

std::string ChildOutcome::describe() const {
    if (exited) return "exited with " + std::to_string(exitCode) + ", peak RSS +" + std::to_string(peakRssGrowthKib) + " KiB";
    return "killed by signal " + std::to_string(signal) + (signal == SIGALRM ? " (out of time)" : "");
}

ChildOutcome runInChild(const std::function<int()>& body, const ChildLimits& limits) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    std::fflush(nullptr);  // nothing buffered is written twice
    const pid_t pid = ::fork();
    if (pid < 0) return {};
    if (pid == 0) {
        ::close(fds[0]);
        childMain(body, limits, fds[1]);
    }
    ::close(fds[1]);
    ChildOutcome outcome;
    long growth = 0;
    if (::read(fds[0], &growth, sizeof growth) == static_cast<ssize_t>(sizeof growth)) outcome.peakRssGrowthKib = growth;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

}  // namespace zmr::test
#else
// Windows has no fork: the body runs in the test process, without limits and
// unmeasured. Only tests that want a crash kept apart, not a limit or a
// measure, use it there (the bounded-memory tests are not built for Windows).
#include "hardening/child_process.h"

#include <exception>

namespace zmr::test {

bool underAddressSanitizer() { return false; }

std::string ChildOutcome::describe() const { return "exited with " + std::to_string(exitCode) + " (in process)"; }

ChildOutcome runInChild(const std::function<int()>& body, const ChildLimits&) {
    ChildOutcome outcome;
    outcome.exited = true;
    try {
        outcome.exitCode = body();
    } catch (const std::exception&) {
        outcome.exitCode = 125;
    }
    return outcome;
}

}  // namespace zmr::test
#endif  // _WIN32
