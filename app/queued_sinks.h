#pragma once
// The compilation's reports carried to the dialog's thread: each becomes a
// call queued on the context object's thread, in the order the compilation
// made them.

#include <QObject>
#include <QString>
#include <functional>

#include "dialog/compile_worker.h"

namespace zmr::gui {

// Each is called on the thread of the context object.
struct ReportHandlers {
    std::function<void(int32_t low, int32_t high)> progressRange;
    std::function<void(int32_t position)> progressPosition;
    std::function<void(CompileState state)> stateChanged;
    std::function<void(const QString& path, const QString& message)> songFailed;
    std::function<void(const Result<CompileOutcome>& result)> finished;
};

class QueuedSinks : public dialog::CompileReports {
public:
    QueuedSinks(QObject* context, ReportHandlers handlers) : context_(context), handlers_(std::move(handlers)) {}

    void setRange(int32_t low, int32_t high) override;
    void setPosition(int32_t position) override;
    void stateChanged(CompileState state) override;
    // Waits until the context's thread has shown it.
    void songFailed(std::string_view path, std::string_view message) override;
    void finished(Result<CompileOutcome> result) noexcept override;

private:
    template <class Call>
    void post(Call call);

    QObject* context_;
    ReportHandlers handlers_;
};

// For a context going away while the compilation runs: drops the reports not
// yet delivered, so one that waits on a report cannot hold the context's
// thread, until the compilation has ended.
void dropReportsUntilEnded(QObject* context, const dialog::CompileWorker& worker);

}  // namespace zmr::gui
