#include "cli/terminal_reporter.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "text/shown_text.h"
#include "text/text_stream.h"

namespace zmr::cli {

bool isTerminal(std::FILE* stream) {
#ifndef _WIN32
    return ::isatty(::fileno(stream)) != 0;
#else
    return ::_isatty(::_fileno(stream)) != 0;
#endif
}

void TerminalReporter::songStarted(int32_t index, int32_t count, std::string_view path) {
    if (!showProgress_) return;
    const std::string title = shownText(songTitle(path));
    // \r and erase-to-end keep the progress on one line of the terminal.
    std::fprintf(stream_, "\r\x1b[K[%d/%d] %.*s", index + 1, count, 70, title.c_str());
    std::fflush(stream_);
    lineOpen_ = true;
}

void TerminalReporter::songFailed(std::string_view path, std::string_view message) {
    clearLine();
    if (!message.empty() && message.back() == '\n') message.remove_suffix(1);
    std::fprintf(stream_, "%s: %s\n", shownText(path).c_str(), shownText(message).c_str());
}

void TerminalReporter::songWarning(std::string_view path, std::string_view message) {
    if (!showWarnings_) return;
    clearLine();
    std::fprintf(stream_, "%s: warning: %s\n", shownText(path).c_str(), shownText(message).c_str());
}

void TerminalReporter::clearLine() {
    if (!lineOpen_) return;
    std::fputs("\r\x1b[K", stream_);
    std::fflush(stream_);
    lineOpen_ = false;
}

}  // namespace zmr::cli
