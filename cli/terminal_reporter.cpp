#include "cli/terminal_reporter.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "base/message_line.h"
#include "text/shown_text.h"
#include "text/text_stream.h"

namespace zmr::cli {
namespace {

// The progress line keeps to one line of the terminal; the cut falls between
// characters, so a title in Vietnamese never ends in half a letter.
constexpr size_t kShownTitleBytes = 70;

std::string_view firstCharacters(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

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
    const std::string_view shown = firstCharacters(title, kShownTitleBytes);
    // \r and erase-to-end keep the progress on one line of the terminal.
    std::fprintf(stream_, "\r\x1b[K[%d/%d] %.*s", index + 1, count, static_cast<int>(shown.size()), shown.data());
    std::fflush(stream_);
    lineOpen_ = true;
}

void TerminalReporter::songFailed(std::string_view path, std::string_view message) {
    clearLine();
    message = withoutTrailingNewline(message);
    std::fprintf(stream_, "%s: %s\n", shownText(path).c_str(), shownText(message).c_str());
}

void TerminalReporter::songWarning(std::string_view path, std::string_view message) {
    if (!showWarnings_) return;
    clearLine();
    std::fprintf(stream_, "%s: warning: %s\n", shownText(path).c_str(), shownText(message).c_str());
}

void TerminalReporter::folderNotice(std::string_view message) {
    clearLine();
    std::fprintf(stream_, "zmrimage: %s\n", shownText(message).c_str());
}

void TerminalReporter::clearLine() {
    if (!lineOpen_) return;
    std::fputs("\r\x1b[K", stream_);
    std::fflush(stream_);
    lineOpen_ = false;
}

}  // namespace zmr::cli
