#include "app_win32/compile_worker.h"

#include <memory>

#include "app_win32/window_messages.h"
#include "fileio/wide_text.h"

namespace zmr::win32 {
namespace {

// The compilation's sinks, each turned into a message to the dialog.
class MessageSinks : public ProgressSink, public TitleSink, public SongMessageSink {
public:
    explicit MessageSinks(HWND window) : window_(window) {}

    void setRange(int32_t low, int32_t high) override {
        PostMessageW(window_, kProgressRangeMessage, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    }
    void setPosition(int32_t position) override {
        PostMessageW(window_, kProgressPositionMessage, static_cast<WPARAM>(position), 0);
    }
    void setTitle(std::string_view title) override {
        auto text = std::make_unique<std::wstring>(wideFromUtf8(title));
        if (PostMessageW(window_, kTitleMessage, 0, reinterpret_cast<LPARAM>(text.get()))) text.release();
    }
    void songFailed(std::string_view path, std::string_view message) override {
        SongFailure failure{std::string(path), std::string(message)};
        SendMessageW(window_, kSongFailedMessage, 0, reinterpret_cast<LPARAM>(&failure));
    }
    // Shown as a failure without a song: the dialog has one box for both.
    void folderNotice(std::string_view message) override { songFailed({}, message); }

private:
    HWND window_;
};

}  // namespace

CompileWorker::~CompileWorker() { join(); }

void CompileWorker::join() {
    if (thread_.joinable()) thread_.join();
}

void CompileWorker::start(CompileRequest request) {
    thread_ = std::thread([window = window_, request = std::move(request)] {
        // The session turns what is thrown inside it into a failure; what is
        // left (the result's own allocation) must not end the program either:
        // the window then hears of the end without a result.
        try {
            MessageSinks sinks(window);
            auto result = std::make_unique<Result<CompileOutcome>>(runCompileSession(request, CompileSinks{sinks, sinks, sinks}));
            if (PostMessageW(window, kFinishedMessage, 0, reinterpret_cast<LPARAM>(result.get()))) result.release();
        } catch (...) {
            PostMessageW(window, kFinishedMessage, 0, 0);
        }
    });
}

}  // namespace zmr::win32
