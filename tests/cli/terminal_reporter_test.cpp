#include "cli/terminal_reporter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/utf8.h"

namespace zmr {
namespace {

#ifndef _WIN32
// What the reporter writes, as the terminal would receive it.
class Captured {
public:
    Captured() : stream_(open_memstream(&data_, &size_)) {}
    ~Captured() {
        if (stream_) std::fclose(stream_);
        std::free(data_);
    }
    std::FILE* stream() { return stream_; }
    std::string text() {
        std::fflush(stream_);
        return std::string(data_, size_);
    }

private:
    char* data_ = nullptr;
    size_t size_ = 0;
    std::FILE* stream_;
};

// A long Vietnamese title is cut for the one progress line, between letters:
// the terminal must never be sent half a character.
TEST(TerminalReporter, ProgressCutsALongTitleBetweenCharacters) {
    std::string title = "/songs/";
    for (int i = 0; i < 30; ++i) title += "\xE1\xBB\x87";  // ệ, three bytes each
    title += ".kar";
    Captured out;
    {
        cli::TerminalReporter reporter(out.stream(), true);
        reporter.songStarted(0, 1, title);
    }
    const std::string text = out.text();
    const std::string line = text.substr(0, text.find("\r\x1b[K", 1));
    ASSERT_EQ(line.substr(0, 10), "\r\x1b[K[1/1] ");
    const std::string shown = line.substr(10);
    EXPECT_EQ(shown.size(), 69u);  // 23 letters: a 24th would pass 70 bytes
    EXPECT_TRUE(isValidUtf8({reinterpret_cast<const uint8_t*>(shown.data()), shown.size()}));
}
#endif

}  // namespace
}  // namespace zmr
