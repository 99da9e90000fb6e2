#pragma once
// Runs one compilation on a thread of its own, so the dialog keeps painting
// and its progress bar moves while songs are converted. The dialog hears of it
// through CompileReports, which each front-end carries to its own thread
// (QueuedSinks) in the order the compilation made them.

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "fileio/temporary_file_watcher.h"
#include "image/compile_session.h"
#include "image/convert_options.h"

namespace zmr::dialog {

// What the compilation tells the dialog, called on the worker's thread.
class CompileReports : public ProgressSink, public StateSink, public SongMessageSink {
public:
    // A failed song: must return only once the user has seen it, so it is
    // seen before the compilation ends (and the next one can start).
    void songFailed(std::string_view path, std::string_view message) override = 0;
    // Shown as a failure without a song: the dialogs have one box for both.
    void folderNotice(std::string_view message) override { songFailed({}, message); }
    // The last report; must not throw (the dialog would never hear the end).
    virtual void finished(Result<CompileOutcome> result) noexcept = 0;
};

// What "Create Image" compiles: the listed songs, into the output folder,
// read with the options; the first song that fails ends it.
CompileRequest createImageRequest(std::vector<std::string> songs, const ConvertOptions& options);

class CompileWorker {
public:
    // `watcher` (may be none) hears of the temporary files.
    explicit CompileWorker(std::unique_ptr<CompileReports> reports, TemporaryFileWatcher* watcher = nullptr)
        : reports_(std::move(reports)), watcher_(watcher) {}
    // Waits for a thread still running; only a dialog torn down without having
    // been closed leaves one, and it must first release a report waiting on it.
    ~CompileWorker() { join(); }
    CompileWorker(const CompileWorker&) = delete;
    CompileWorker& operator=(const CompileWorker&) = delete;

    // Runs the compilation session on `request`, exactly as the command line
    // does; the dialogs' requests stop at the first song that fails.
    void start(CompileRequest request);
    // Whether `finished` has been called (the thread is then ending).
    bool ended() const { return ended_; }
    // After `finished`: waits the moment the thread needs to end.
    void join();

private:
    std::unique_ptr<CompileReports> reports_;
    TemporaryFileWatcher* watcher_;
    std::atomic<bool> ended_ = false;
    std::thread thread_;
};

}  // namespace zmr::dialog
