#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "cli/terminal.h"

namespace zmr::cli {
namespace {

constexpr char kEnter[] = "\x1b[?1049h\x1b[?25l\x1b[H\x1b[2J";  // alternate screen, no cursor
constexpr char kLeave[] = "\x1b[?25h\x1b[?1049l";
constexpr char kEscape = '\x1b';
constexpr char kCtrlC = '\x03';
constexpr char kCtrlD = '\x04';
constexpr char kCtrlBackslash = '\x1c';
constexpr char kCtrlZ = '\x1a';

// Set by SIGTSTP from elsewhere (kill -TSTP) and by SIGCONT: the screen
// stops at its next turn, and takes the terminal again after a stop it did
// not see (SIGSTOP).
volatile std::sig_atomic_t stopAsked = 0;
volatile std::sig_atomic_t continued = 0;

void onStop(int) { stopAsked = 1; }
void onContinue(int) { continued = 1; }

// Installs `handler` for `signal`, keeping what was there to put back; a
// signal ignored from the start stays ignored.
void catchSignal(int signal, void (*handler)(int), struct sigaction& previous) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, &previous);
    if (previous.sa_handler == SIG_IGN) sigaction(signal, &previous, nullptr);
}

// In the foreground of its terminal, or on a terminal without job control
// (a pseudo-terminal of a test): only then may the terminal's modes be set,
// which from the background would stop the process on SIGTTOU.
bool inForeground(int in) {
    const pid_t group = ::tcgetpgrp(in);
    return group == -1 || group == ::getpgrp();
}

bool showsColours() {
    const char* term = std::getenv("TERM");
    const char* noColor = std::getenv("NO_COLOR");
    return term && *term && std::strcmp(term, "dumb") != 0 && !(noColor && *noColor);
}

class PosixTerminal : public Terminal {
public:
    PosixTerminal(int in, int out) : in_(in), out_(out) {
        saved_ = ::tcgetattr(in_, &modes_) == 0;
        stopAsked = 0;
        continued = 0;
        catchSignal(SIGTSTP, onStop, previousStop_);
        catchSignal(SIGCONT, onContinue, previousContinue_);
        take();
    }

    ~PosixTerminal() override {
        giveBack();
        sigaction(SIGTSTP, &previousStop_, nullptr);
        sigaction(SIGCONT, &previousContinue_, nullptr);
    }

    TerminalKey readKey(std::chrono::milliseconds wait) override {
        if (stopAsked) {
            stopAsked = 0;
            return TerminalKey::Suspend;
        }
        if (continued) {
            // Stopped by a signal it could not see (SIGSTOP): the shell may
            // have set its own modes meanwhile, so they are taken again.
            continued = 0;
            giveBack();
        }
        if (!taken_ && inForeground(in_)) take();
        if (!taken_) {
            // In the background (`bg`): reading would stop the process on SIGTTIN.
            std::this_thread::sleep_for(wait);
            return TerminalKey::None;
        }
        while (true) {
            const KeyBytes key = readKeyBytes(pending_);
            if (key.length > 0) {
                pending_.erase(0, key.length);
                if (key.key != TerminalKey::None) return key.key;
                continue;
            }
            // A key cut short waits for the rest of its bytes into the next turn.
            pollfd fd{in_, POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(wait.count())) <= 0) return TerminalKey::None;
            char bytes[64];
            const ssize_t count = ::read(in_, bytes, sizeof bytes);
            if (count <= 0) return count == 0 ? TerminalKey::Quit : TerminalKey::None;  // end of input
            pending_.append(bytes, static_cast<size_t>(count));
            wait = std::chrono::milliseconds(0);
        }
    }

    void write(std::string_view text) override {
        if (taken_) send(text);  // in the background writing may stop the process (TOSTOP)
    }

    int columns() const override {
        winsize size{};
        if (::ioctl(out_, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
        return 80;
    }

    int rows() const override {
        winsize size{};
        if (::ioctl(out_, TIOCGWINSZ, &size) == 0 && size.ws_row > 0) return size.ws_row;
        return 24;
    }

    void suspend() override {
        giveBack();
        // Stopped as SIGTSTP stops a program, so that the shell says so and
        // `fg` continues it; the handler is back once it has.
        struct sigaction ours {};
        struct sigaction stop {};
        stop.sa_handler = SIG_DFL;
        sigemptyset(&stop.sa_mask);
        sigaction(SIGTSTP, &stop, &ours);
        ::raise(SIGTSTP);
        sigaction(SIGTSTP, &ours, nullptr);
        continued = 0;
        if (inForeground(in_)) take();
    }

private:
    // Raw keys and the alternate screen.
    void take() {
        if (saved_) {
            termios raw = modes_;
            raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
            raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL);
            raw.c_cc[VMIN] = 0;
            raw.c_cc[VTIME] = 0;
            restore_ = ::tcsetattr(in_, TCSANOW, &raw) == 0;
        }
        taken_ = true;
        send(kEnter);
    }

    // The modes as they were. From the background that would stop the
    // process (SIGTTOU); the shell sets its own modes there anyway.
    void giveBack() {
        if (!taken_) return;
        taken_ = false;
        if (!inForeground(in_)) return;
        send(kLeave);
        if (restore_) ::tcsetattr(in_, TCSANOW, &modes_);
    }

    void send(std::string_view text) {
        while (!text.empty()) {
            const ssize_t written = ::write(out_, text.data(), text.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return;  // a terminal gone away: nothing more to show
            text.remove_prefix(static_cast<size_t>(written));
        }
    }

    int in_;
    int out_;
    termios modes_{};  // as the terminal was
    bool saved_ = false;
    bool restore_ = false;
    bool taken_ = false;
    struct sigaction previousStop_ {};
    struct sigaction previousContinue_ {};
    std::string pending_;
};

}  // namespace

KeyBytes readKeyBytes(std::string_view bytes) {
    if (bytes.empty()) return {};
    switch (bytes[0]) {
        case ' ': return {TerminalKey::PlayPause, 1};
        case 'q':
        case 'Q':
        case kCtrlD: return {TerminalKey::Quit, 1};
        case kCtrlC: return {TerminalKey::Interrupt, 1};
        case kCtrlBackslash: return {TerminalKey::QuitSignal, 1};
        case kCtrlZ: return {TerminalKey::Suspend, 1};
        case kEscape: break;
        default: return {TerminalKey::None, 1};
    }
    // ESC [ C or ESC O C (an application-mode cursor key), with any
    // parameters between ESC [ and the final byte (ESC [ 1 ; 2 C).
    if (bytes.size() < 2) return {TerminalKey::None, 0};
    if (bytes[1] != '[' && bytes[1] != 'O') return {TerminalKey::None, 1};
    for (size_t i = 2; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c >= 0x40 && c <= 0x7E) {
            const TerminalKey key = c == 'C' ? TerminalKey::Forward : c == 'D' ? TerminalKey::Back : TerminalKey::None;
            return {key, i + 1};
        }
    }
    return {TerminalKey::None, 0};
}

std::unique_ptr<Terminal> openTerminalOn(int in, int out) { return std::make_unique<PosixTerminal>(in, out); }

std::unique_ptr<Terminal> openPlayTerminal() {
    if (!::isatty(STDIN_FILENO) || !::isatty(STDOUT_FILENO) || !showsColours()) return nullptr;
    if (!inForeground(STDIN_FILENO)) return nullptr;  // started with &: the lines are printed
    return openTerminalOn(STDIN_FILENO, STDOUT_FILENO);
}

}  // namespace zmr::cli
