#include "app/compile_thread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMetaObject>
#include <QThread>

#include "image/song_path_list.h"
#include "image/file_image_writer.h"

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
             text = QString::fromLocal8Bit(message.data(), static_cast<qsizetype>(message.size()))] { f(file, text); },
            Qt::BlockingQueuedConnection);
    }

private:
    template <class Call>
    void post(Call call) {
        QMetaObject::invokeMethod(context_, std::move(call), Qt::QueuedConnection);
    }

    QObject* context_;
    const CompileReports& reports_;
};

}  // namespace

CompileThread::CompileThread(QObject* context, CompileReports reports)
    : context_(context), reports_(std::move(reports)) {}

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

void CompileThread::start(std::vector<std::string> paths, std::filesystem::path folder, ConvertOptions options) {
    thread_.reset(QThread::create([this, paths = std::move(paths), folder = std::move(folder), options]() mutable {
        QueuedSinks sinks(context_, reports_);
        const SongPathList list(std::move(paths));
        FileImageWriter writer(folder);
        const CompileSinks compileSinks{sinks, sinks, sinks};
        // Songs are converted on every core while this thread writes them.
        Result<CompileSummary> result = compileImage(
            list, writer, compileSinks, CompileOptions{.threads = defaultCompileJobs(), .conversion = options});
        QMetaObject::invokeMethod(
            context_, [f = reports_.finished, result = std::move(result)] { f(result); }, Qt::QueuedConnection);
    }));
    thread_->start();
}

}  // namespace zmr::gui
