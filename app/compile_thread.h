#pragma once
// Runs one compilation on a thread of its own, so the dialog keeps painting
// and its progress bar moves while songs are converted. Every report reaches
// the dialog on the dialog's thread, in the order the compilation made it.

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fileio/temporary_file_watcher.h"
#include "image/compile_session.h"

class QObject;
class QThread;

namespace zmr::gui {

// Each is called on the thread of the context object.
struct CompileReports {
    std::function<void(int32_t low, int32_t high)> progressRange;
    std::function<void(int32_t position)> progressPosition;
    std::function<void(const QString& title)> title;
    // The compilation waits until this returns, so a failed song is seen
    // before the compilation ends (and the next one can start).
    std::function<void(const QString& path, const QString& message)> songFailed;
    // The last report; the thread ends right after it.
    std::function<void(const Result<CompileOutcome>& result)> finished;
};

class CompileThread {
public:
    // `watcher` (may be none) hears of the temporary files.
    CompileThread(QObject* context, CompileReports reports, TemporaryFileWatcher* watcher = nullptr);
    // Waits for a compilation that is still running, dropping the reports not
    // yet delivered, so one that waits on a report cannot hold the context's
    // thread. Only a context that is going away should need this.
    ~CompileThread();
    CompileThread(const CompileThread&) = delete;
    CompileThread& operator=(const CompileThread&) = delete;

    // Runs the compilation session on `request`, exactly as the command line
    // does; the dialog's requests stop at the first song that fails.
    void start(CompileRequest request);
    // After `finished`: waits the moment the thread needs to end.
    void join();

private:
    QObject* context_;
    CompileReports reports_;
    TemporaryFileWatcher* watcher_;
    std::unique_ptr<QThread> thread_;
};

}  // namespace zmr::gui
