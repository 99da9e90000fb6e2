#include "app/compile_thread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMetaObject>
#include <QThread>

#include "app/guarded_slot.h"

namespace zmr::gui {
namespace {

QString fromPath(std::string_view path) { return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size()))); }

// The compilation's sinks, each forwarding to the context's thread.
class QueuedSinks : public ProgressSink, public TitleSink, public SongMessageSink {
public:
    QueuedSinks(QObject* context, const CompileReports& reports) : context_(context), reports_(reports) {}

    void setRange(int32_t low, int32_t high) override {
        post([f = reports_.progressRange, low, high] { f(low, high); });
    }
    void setPosition(int32_t position) override {
        post([f = reports_.progressPosition, position] { f(position); });
    }
    void setTitle(std::string_view title) override {
        post([f = reports_.title, text = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()))] { f(text); });
    }
    void songFailed(std::string_view path, std::string_view message) override {
        QMetaObject::invokeMethod(
            context_,
            [f = reports_.songFailed, file = fromPath(path),
             text = QString::fromLocal8Bit(message.data(), static_cast<qsizetype>(message.size()))] {
                runGuarded([&] { f(file, text); });
            },
            Qt::BlockingQueuedConnection);
    }
    // Shown as a failure without a song: the dialog has one box for both.
    void folderNotice(std::string_view message) override { songFailed({}, message); }

private:
    template <class Call>
    void post(Call call) {
        QMetaObject::invokeMethod(context_, [call = std::move(call)] { runGuarded(call); }, Qt::QueuedConnection);
    }

    QObject* context_;
    const CompileReports& reports_;
};

}  // namespace

CompileThread::CompileThread(QObject* context, CompileReports reports, TemporaryFileWatcher* watcher)
    : context_(context), reports_(std::move(reports)), watcher_(watcher) {}

CompileThread::~CompileThread() {
    if (!thread_) return;
    // Dropping the context's pending reports releases a compilation that
    // waits on one; it then runs to its end with nobody listening.
    while (!thread_->wait(QDeadlineTimer(20)))
        QCoreApplication::removePostedEvents(context_, QEvent::MetaCall);
}

void CompileThread::join() {
    if (thread_) thread_->wait();
}

void CompileThread::start(CompileRequest request) {
    thread_.reset(QThread::create([this, request = std::move(request)] {
        QueuedSinks sinks(context_, reports_);
        // The session turns what is thrown inside it into a failure; what is
        // left (the reports' own copies) must not end the program either.
        Result<CompileOutcome> result = Failure{"not enough memory for the compilation"};
        try {
            result = runCompileSession(request, CompileSinks{sinks, sinks, sinks}, SessionEdges{watcher_, nullptr});
        } catch (...) {
        }
        QMetaObject::invokeMethod(
            context_, [f = reports_.finished, result = std::move(result)] { runGuarded([&] { f(result); }); },
            Qt::QueuedConnection);
    }));
    thread_->start();
}

}  // namespace zmr::gui
