#pragma once
// The terminal that `zmrimage play` draws on while the song plays: raw keys
// (no echo, no line editing, Ctrl+C as a key), the alternate screen and no
// cursor, all restored when the object goes, however the play ends.

#include <chrono>
#include <memory>
#include <string_view>

namespace zmr::cli {

enum class TerminalKey { None, PlayPause, Back, Forward, Quit };

class Terminal {
public:
    virtual ~Terminal() = default;
    // Waits up to `wait` for a key; None when none came.
    virtual TerminalKey readKey(std::chrono::milliseconds wait) = 0;
    virtual void write(std::string_view text) = 0;
    virtual int columns() const = 0;
};

// The process's own terminal, when the standard input and output both are
// one that shows colours; nothing otherwise (a pipe, a file, TERM=dumb or
// NO_COLOR set), and the lyrics are then printed line by line.
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
