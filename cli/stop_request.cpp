#include "cli/stop_request.h"

#include <csignal>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zmr::cli {
namespace {

volatile std::sig_atomic_t stopSignal = 0;

#ifdef _WIN32
constexpr int kWindowsInterrupted = static_cast<int>(0xC000013A);  // STATUS_CONTROL_C_EXIT

BOOL WINAPI onConsoleControl(DWORD) {
    stopSignal = SIGINT;
    return TRUE;
}
#else
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction previous[std::size(kSignals)];

void onSignal(int signal) { stopSignal = signal; }
#endif

}  // namespace

StopRequest::StopRequest() {
    stopSignal = 0;
#ifdef _WIN32
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &action, &previous[i]);
        // A signal ignored from the start (nohup, a script's background job)
        // stays ignored, as the build's watcher leaves it.
        if (previous[i].sa_handler == SIG_IGN) sigaction(kSignals[i], &previous[i], nullptr);
    }
#endif
}

StopRequest::~StopRequest() {
#ifdef _WIN32
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
#else
    for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &previous[i], nullptr);
#endif
}

bool StopRequest::requested() const { return stopSignal != 0; }

void StopRequest::request(int signal) { stopSignal = signal; }

int StopRequest::endBySignal() {
    const int signal = stopSignal;
    if (signal == 0) return 0;
#ifdef _WIN32
    return kWindowsInterrupted;
#else
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return 128 + signal;
#endif
}

}  // namespace zmr::cli
