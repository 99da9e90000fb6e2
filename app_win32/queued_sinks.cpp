#include "app_win32/queued_sinks.h"

#include <memory>

#include "app_win32/window_messages.h"

namespace zmr::win32 {

void QueuedSinks::setRange(int32_t low, int32_t high) {
    PostMessageW(window_, kProgressRangeMessage, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void QueuedSinks::setPosition(int32_t position) {
    PostMessageW(window_, kProgressPositionMessage, static_cast<WPARAM>(position), 0);
}

void QueuedSinks::stateChanged(CompileState state) {
    PostMessageW(window_, kStateMessage, static_cast<WPARAM>(state), 0);
}

void QueuedSinks::songFailed(std::string_view path, std::string_view message) {
    SongFailure failure{std::string(path), std::string(message)};
    SendMessageW(window_, kSongFailedMessage, 0, reinterpret_cast<LPARAM>(&failure));
}

void QueuedSinks::finished(Result<CompileOutcome> result) noexcept {
    try {
        auto posted = std::make_unique<Result<CompileOutcome>>(std::move(result));
        if (PostMessageW(window_, kFinishedMessage, 0, reinterpret_cast<LPARAM>(posted.get()))) posted.release();
    } catch (...) {
        PostMessageW(window_, kFinishedMessage, 0, 0);
    }
}

}  // namespace zmr::win32
