#pragma once
// How a compilation reaches a terminal: progress on stderr while it runs (only
// when stderr is a terminal), one line per failed song.

#include <cstdio>
#include <string>

#include "image/compile_sinks.h"

namespace zmr::cli {

// Whether `stream` is a terminal, where progress is worth showing.
bool isTerminal(std::FILE* stream);

class TerminalReporter : public ProgressSink, public StateSink, public SongMessageSink {
public:
    TerminalReporter(std::FILE* stream, bool showProgress) : stream_(stream), showProgress_(showProgress) {}
    ~TerminalReporter() override { clearLine(); }

    void setRange(int32_t, int32_t) override {}
    void setPosition(int32_t) override {}
    void songStarted(int32_t index, int32_t count, std::string_view path) override;
    void stateChanged(CompileState) override {}
    void songFailed(std::string_view path, std::string_view message) override;
    void songWarning(std::string_view path, std::string_view message) override;
    // Said even when warnings are not: it tells what became of the folder's files.
    void folderNotice(std::string_view message) override;
    void showWarnings(bool show) { showWarnings_ = show; }

    void clearLine();

private:
    std::FILE* stream_;
    bool showProgress_;
    bool lineOpen_ = false;
    bool showWarnings_ = true;
};

}  // namespace zmr::cli
