#include <windows.h>

#include <cstdlib>
#include <string>

#include "cli/terminal.h"

namespace zmr::cli {
namespace {

constexpr char kEnter[] = "\x1b[?1049h\x1b[?25l\x1b[H\x1b[2J";  // alternate screen, no cursor
constexpr char kLeave[] = "\x1b[?25h\x1b[?1049l";

// The console's own modes, put back when the play ends: keys without line
// editing or echo, Ctrl+C as a key, and escape sequences understood.
class ConsoleTerminal : public Terminal {
public:
    ConsoleTerminal(HANDLE in, HANDLE out, DWORD inMode, DWORD outMode)
        : in_(in), out_(out), inMode_(inMode), outMode_(outMode) {
        write(kEnter);
    }

    ~ConsoleTerminal() override {
        write(kLeave);
        SetConsoleMode(in_, inMode_);
        SetConsoleMode(out_, outMode_);
    }

    TerminalKey readKey(std::chrono::milliseconds wait) override {
        DWORD timeout = static_cast<DWORD>(wait.count());
        while (WaitForSingleObject(in_, timeout) == WAIT_OBJECT_0) {
            timeout = 0;
            INPUT_RECORD record{};
            DWORD read = 0;
            if (!ReadConsoleInputW(in_, &record, 1, &read) || read == 0) return TerminalKey::None;
            if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) continue;
            const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
            switch (key.wVirtualKeyCode) {
                case VK_SPACE: return TerminalKey::PlayPause;
                case VK_LEFT: return TerminalKey::Back;
                case VK_RIGHT: return TerminalKey::Forward;
                case 'Q': return TerminalKey::Quit;
                default: break;
            }
            if (key.uChar.UnicodeChar == 3) return TerminalKey::Interrupt;  // Ctrl+C
        }
        return TerminalKey::None;
    }

    void write(std::string_view text) override {
        DWORD written = 0;
        WriteFile(out_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

    int columns() const override {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        if (GetConsoleScreenBufferInfo(out_, &info)) return info.srWindow.Right - info.srWindow.Left + 1;
        return 80;
    }

    int rows() const override {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        if (GetConsoleScreenBufferInfo(out_, &info)) return info.srWindow.Bottom - info.srWindow.Top + 1;
        return 25;
    }

    // The console has no Ctrl+Z that stops a program.
    void suspend() override {}

private:
    HANDLE in_;
    HANDLE out_;
    DWORD inMode_;
    DWORD outMode_;
};

}  // namespace

std::unique_ptr<Terminal> openPlayTerminal() {
    const char* noColor = std::getenv("NO_COLOR");
    if (noColor && *noColor) return nullptr;
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD inMode = 0;
    DWORD outMode = 0;
    if (!GetConsoleMode(in, &inMode) || !GetConsoleMode(out, &outMode)) return nullptr;  // not a console
    // A console that does not take escape sequences (before Windows 10) gets the lines printed.
    if (!SetConsoleMode(out, outMode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) return nullptr;
    SetConsoleMode(in, (inMode | ENABLE_EXTENDED_FLAGS) &
                           ~static_cast<DWORD>(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_PROCESSED_INPUT |
                                               ENABLE_QUICK_EDIT_MODE));
    return std::make_unique<ConsoleTerminal>(in, out, inMode, outMode);
}

}  // namespace zmr::cli
