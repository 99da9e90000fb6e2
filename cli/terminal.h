#pragma once
// The terminal that `zmrimage play` draws on while the song plays: raw keys
// (no echo, no line editing, Ctrl+C, Ctrl+\ and Ctrl+Z as keys), the
// alternate screen and no cursor, all restored when the object goes, however
// the play ends, and while the process is stopped (Ctrl+Z, or a stop signal).

#include <chrono>
#include <memory>
#include <string_view>

namespace zmr::cli {

// Interrupt (Ctrl+C) and QuitSignal (Ctrl+\) end the play as SIGINT and
// SIGQUIT would; Suspend (Ctrl+Z, or SIGTSTP from elsewhere) stops it as SIGTSTP would.
enum class TerminalKey { None, PlayPause, Back, Forward, Quit, Interrupt, QuitSignal, Suspend };

class Terminal {
public:
    virtual ~Terminal() = default;
    // Waits up to `wait` for a key; None when none came.
    virtual TerminalKey readKey(std::chrono::milliseconds wait) = 0;
    virtual void write(std::string_view text) = 0;
    virtual int columns() const = 0;
    virtual int rows() const = 0;
    // Gives the terminal back as it was and stops the process until it is
    // continued, then takes the terminal again (once in the foreground).
    virtual void suspend() = 0;
};

// The process's own terminal, when the standard input and output both are
// one that shows colours and the process is not in the background; nothing
// otherwise (a pipe, a file, TERM=dumb or NO_COLOR set, `zmrimage play ... &`),
// and the lyrics are then printed line by line.
std::unique_ptr<Terminal> openPlayTerminal();

#ifndef _WIN32
// A terminal on the given descriptors, whatever TERM says (tests give it a
// pseudo-terminal).
std::unique_ptr<Terminal> openTerminalOn(int in, int out);

// The key that `bytes` begin with, and how many bytes it takes (0 when they
// could still grow into a longer key).
struct KeyBytes {
    TerminalKey key = TerminalKey::None;
    size_t length = 0;
};
KeyBytes readKeyBytes(std::string_view bytes);
#endif

}  // namespace zmr::cli
