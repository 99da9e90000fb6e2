#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/terminal.h"

namespace zmr::cli {
namespace {

constexpr char kEnter[] = "\x1b[?1049h\x1b[?25l\x1b[H\x1b[2J";  // alternate screen, no cursor
constexpr char kLeave[] = "\x1b[?25h\x1b[?1049l";
constexpr char kEscape = '\x1b';
constexpr char kCtrlC = '\x03';
constexpr char kCtrlD = '\x04';

bool showsColours() {
    const char* term = std::getenv("TERM");
    const char* noColor = std::getenv("NO_COLOR");
    return term && *term && std::strcmp(term, "dumb") != 0 && !(noColor && *noColor);
}

class PosixTerminal : public Terminal {
public:
    PosixTerminal(int in, int out) : in_(in), out_(out) {
        if (::tcgetattr(in_, &saved_) == 0) {
            termios raw = saved_;
            raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
            raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL);
            raw.c_cc[VMIN] = 0;
            raw.c_cc[VTIME] = 0;
            restore_ = ::tcsetattr(in_, TCSANOW, &raw) == 0;
        }
        write(kEnter);
    }

    ~PosixTerminal() override {
        write(kLeave);
        if (restore_) ::tcsetattr(in_, TCSANOW, &saved_);
    }

    TerminalKey readKey(std::chrono::milliseconds wait) override {
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
        while (!text.empty()) {
            const ssize_t written = ::write(out_, text.data(), text.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return;  // a terminal gone away: nothing more to show
            text.remove_prefix(static_cast<size_t>(written));
        }
    }

    int columns() const override {
        winsize size{};
        if (::ioctl(out_, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
        return 80;
    }

private:
    int in_;
    int out_;
    termios saved_{};
    bool restore_ = false;
    std::string pending_;
};

}  // namespace

KeyBytes readKeyBytes(std::string_view bytes) {
    if (bytes.empty()) return {};
    switch (bytes[0]) {
        case ' ': return {TerminalKey::PlayPause, 1};
        case 'q':
        case 'Q':
        case kCtrlC:
        case kCtrlD: return {TerminalKey::Quit, 1};
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
    return openTerminalOn(STDIN_FILENO, STDOUT_FILENO);
}

}  // namespace zmr::cli
