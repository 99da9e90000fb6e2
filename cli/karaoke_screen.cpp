#include "cli/karaoke_screen.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "playback/playback_time.h"

namespace zmr::cli {
namespace {

constexpr char kClearRow[] = "\x1b[K\r\n";
constexpr char kClearBelow[] = "\x1b[J";
constexpr size_t kIndent = 4;

// The first `width` characters of UTF-8 text: every character of the lyrics
// and titles takes one column.
std::string fitted(const std::string& text, size_t width) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == width) return text.substr(0, i);
    }
    return text;
}

size_t characterCount(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(),
                                             [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::string drawKaraokeFrame(const KaraokeFrame& frame) {
    const size_t width = static_cast<size_t>(std::max(frame.columns, 20)) - 1;
    const size_t lineWidth = width - kIndent;
    const std::string indent(kIndent, ' ');
    // Each row with its rank: a terminal of n rows shows those ranked below n.
    std::vector<std::pair<std::string, int>> rows;
    const auto row = [&rows](std::string text, int rank) { rows.emplace_back(std::move(text), rank); };

    const std::string title = frame.lyrics ? frame.lyrics->title() : std::string();
    row(fitted("  song " + std::to_string(frame.song) + " \xC2\xB7 " + title, width), 3);
    row("", 7);
    std::string current, next;
    if (frame.lyrics) {
        const LyricView view = frame.lyrics->at(frame.state.position);
        if (view.line) {
            const std::string sung = fitted(frame.lyrics->text(*view.line, 0, view.sung), lineWidth);
            const std::string rest = fitted(frame.lyrics->text(*view.line, view.sung), lineWidth - characterCount(sung));
            current = indent + kSungStart + sung + kPlainStyle + rest;
        }
        if (view.next) next = indent + kNextStart + fitted(frame.lyrics->text(*view.next), lineWidth) + kPlainStyle;
    }
    row(current, 0);
    row(next, 1);
    row("", 6);
    const bool ended = frame.state.position >= frame.length;
    const char* mark = frame.state.playing ? "\xE2\x96\xB6" : ended ? "\xE2\x96\xA0" : "\xE2\x9D\x9A\xE2\x9D\x9A";  // ▶ ■ ❚❚
    const char* word = frame.state.playing ? "" : ended ? "  end" : "  paused";
    row("  " + std::string(mark) + " " + minutesSecondsOf(frame.state.position) + " / " +
            minutesSecondsOf(frame.length) + word,
        2);
    row(fitted("  Space pause \xC2\xB7 \xE2\x86\x90/\xE2\x86\x92 10 s \xC2\xB7 q quit", width), 4);
    row(fitted("  " + frame.sound, width), 5);

    // The last row shown ends without a line break, which on the bottom row would scroll.
    std::string out = kScreenHome;
    bool first = true;
    for (const auto& [text, rank] : rows) {
        if (rank >= std::max(frame.rows, 1)) continue;
        if (!first) out += kClearRow;
        out += text;
        first = false;
    }
    return out + kClearBelow;
}

}  // namespace zmr::cli
