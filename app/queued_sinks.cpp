#include "app/queued_sinks.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>
#include <QThread>

#include "app/guarded_slot.h"

namespace zmr::gui {
namespace {

QString fromPath(std::string_view path) { return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size()))); }

}  // namespace

template <class Call>
void QueuedSinks::post(Call call) {
    QMetaObject::invokeMethod(context_, [call = std::move(call)] { runGuarded(call); }, Qt::QueuedConnection);
}

void QueuedSinks::setRange(int32_t low, int32_t high) {
    post([f = handlers_.progressRange, low, high] { f(low, high); });
}

void QueuedSinks::setPosition(int32_t position) {
    post([f = handlers_.progressPosition, position] { f(position); });
}

void QueuedSinks::stateChanged(CompileState state) {
    post([f = handlers_.stateChanged, state] { f(state); });
}

void QueuedSinks::songFailed(std::string_view path, std::string_view message) {
    QMetaObject::invokeMethod(
        context_,
        [f = handlers_.songFailed, file = fromPath(path),
         text = QString::fromLocal8Bit(message.data(), static_cast<qsizetype>(message.size()))] {
            runGuarded([&] { f(file, text); });
        },
        Qt::BlockingQueuedConnection);
}

void QueuedSinks::finished(Result<CompileOutcome> result) noexcept {
    try {
        post([f = handlers_.finished, result = std::move(result)] { f(result); });
    } catch (...) {
        // Not even the report could be made: the dialog hears of the end without it.
        QMetaObject::invokeMethod(context_, [f = handlers_.finished] {
            runGuarded([&] { f(Failure{"not enough memory for the compilation", FailureKind::OutOfMemory}); });
        }, Qt::QueuedConnection);
    }
}

void dropReportsUntilEnded(QObject* context, const dialog::CompileWorker& worker) {
    // Dropping the context's pending reports releases a compilation that
    // waits on one; it then runs to its end with nobody listening.
    while (!worker.ended()) {
        QCoreApplication::removePostedEvents(context, QEvent::MetaCall);
        QThread::msleep(20);
    }
}

}  // namespace zmr::gui
