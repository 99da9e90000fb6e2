#include "fileio/interrupt_cleanup.h"

#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#else
#include <windows.h>

#include <atomic>
#endif

namespace zmr {

#ifndef _WIN32
namespace {

// What the watcher's own wake-up carries, telling it from a real signal.
constexpr int kWakeUp = 0x7A4D52;

}  // namespace

InterruptCleanup::InterruptCleanup() {
    sigemptyset(&watched_);
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        sigaddset(&watched_, number);
    }
    if (sigisemptyset(&watched_) || pthread_sigmask(SIG_BLOCK, &watched_, nullptr) != 0) return;
    active_ = true;
    thread_ = std::thread([this] { waitForSignal(); });
}

InterruptCleanup::~InterruptCleanup() {
    if (!active_) return;
    // Queued by this process with a value of its own, so the waiting thread
    // tells it from a real signal of the same number.
    int wake = SIGTERM;
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        if (sigismember(&watched_, number) == 1) {
            wake = number;
            break;
        }
    }
    sigval value{};
    value.sival_int = kWakeUp;
    pthread_sigqueue(thread_.native_handle(), wake, value);
    thread_.join();
    // A real signal that came meanwhile is delivered now, as it would have been.
    pthread_sigmask(SIG_UNBLOCK, &watched_, nullptr);
}

void InterruptCleanup::waitForSignal() {
    int number = -1;
    for (;;) {
        siginfo_t info{};
        number = sigwaitinfo(&watched_, &info);
        if (number < 0) continue;  // interrupted
        const bool wakeUp = info.si_code == SI_QUEUE && info.si_pid == ::getpid() && info.si_value.sival_int == kWakeUp;
        if (wakeUp) return;
        break;
    }
    std::unique_lock lock(mutex_);  // waits until the folder is unlocked
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

std::atomic<UINT> codePageToRestore{0};

// Last in the console's chain of handlers (the first installed): when no
// watcher ended the process, the system's default handling ends it next.
BOOL WINAPI restoreCodePage(DWORD) {
    if (const UINT codePage = codePageToRestore.load()) SetConsoleOutputCP(codePage);
    return FALSE;
}

}  // namespace

void restoreCodePageOnInterrupt(unsigned codePage) {
    const bool installed = codePageToRestore.exchange(codePage) != 0;
    if (codePage != 0 && !installed) SetConsoleCtrlHandler(&restoreCodePage, TRUE);
    if (codePage == 0 && installed) SetConsoleCtrlHandler(&restoreCodePage, FALSE);
}

struct ConsoleControl {
    static BOOL WINAPI handle(DWORD event) {
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
        std::lock_guard lock(watchingLock);
        InterruptCleanup* cleanup = watching;
        if (!cleanup) return FALSE;  // the default handling ends the process
        cleanup->mutex_.lock();  // waits until renames in progress are done; held to the end
        for (const std::filesystem::path& file : cleanup->files_) DeleteFileW(file.c_str());
        if (const UINT codePage = codePageToRestore.load()) SetConsoleOutputCP(codePage);
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
