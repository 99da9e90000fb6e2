#include "fileio/interrupt_cleanup.h"

#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#else
#include <windows.h>
#endif

namespace zmr {

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
namespace {

// The console calls a plain function, so it finds the watcher here; the
// handler holds the lock while it works, so the watcher outlives it.
std::mutex watchingLock;
InterruptCleanup* watching = nullptr;

// What Windows reports for a console program that Ctrl+C ended.
constexpr UINT kControlCExit = 0xC000013A;

}  // namespace

struct ConsoleControl {
    static BOOL WINAPI handle(DWORD event) {
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
        std::lock_guard lock(watchingLock);
        InterruptCleanup* cleanup = watching;
        if (!cleanup) return FALSE;  // the default handling ends the process
        cleanup->mutex_.lock();  // waits until renames in progress are done; held to the end
        for (const std::filesystem::path& file : cleanup->files_) DeleteFileW(file.c_str());
        // No exit handlers: the other threads stop where they are, as after a signal.
        TerminateProcess(GetCurrentProcess(), kControlCExit);
        return TRUE;
    }
};

InterruptCleanup::InterruptCleanup() {
    {
        std::lock_guard lock(watchingLock);
        watching = this;
    }
    SetConsoleCtrlHandler(&ConsoleControl::handle, TRUE);
}

InterruptCleanup::~InterruptCleanup() {
    SetConsoleCtrlHandler(&ConsoleControl::handle, FALSE);
    std::lock_guard lock(watchingLock);  // a handler already running ends the process first
    watching = nullptr;
}
#endif

void InterruptCleanup::created(const std::filesystem::path& file) {
    std::lock_guard lock(mutex_);
    files_.insert(file);
}

void InterruptCleanup::gone(const std::filesystem::path& file) {
    std::lock_guard lock(mutex_);
    files_.erase(file);
}

void InterruptCleanup::lockFolder() { mutex_.lock(); }

void InterruptCleanup::unlockFolder() { mutex_.unlock(); }

}  // namespace zmr
