#include "cli/interrupt_cleanup.h"

#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace zmr::cli {

#ifndef _WIN32
namespace {

sigset_t stoppingSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

InterruptCleanup::InterruptCleanup() {
    const sigset_t set = stoppingSignals();
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return;
    active_ = true;
    thread_ = std::thread([this] { waitForSignal(); });
}

InterruptCleanup::~InterruptCleanup() {
    if (!active_) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    pthread_kill(thread_.native_handle(), SIGTERM);  // wakes the waiting thread, which sees stopping_
    thread_.join();
    const sigset_t set = stoppingSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void InterruptCleanup::waitForSignal() {
    const sigset_t set = stoppingSignals();
    int number = 0;
    while (sigwait(&set, &number) != 0) {
    }
    std::unique_lock lock(mutex_);  // waits until renames in progress are done
    if (stopping_) return;
    for (const std::filesystem::path& file : files_) ::unlink(file.c_str());
    // End the process the way the signal would have.
    ::signal(number, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, number);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(number);
    ::_exit(128 + number);
}
#else
InterruptCleanup::InterruptCleanup() = default;
InterruptCleanup::~InterruptCleanup() = default;
void InterruptCleanup::waitForSignal() {}
#endif

void InterruptCleanup::created(const std::filesystem::path& file) {
    std::lock_guard lock(mutex_);
    files_.insert(file);
}

void InterruptCleanup::gone(const std::filesystem::path& file) {
    std::lock_guard lock(mutex_);
    files_.erase(file);
}

void InterruptCleanup::placing() { mutex_.lock(); }

void InterruptCleanup::placed() { mutex_.unlock(); }

}  // namespace zmr::cli
