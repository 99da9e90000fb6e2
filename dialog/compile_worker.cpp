#include "dialog/compile_worker.h"

#include "dialog/output_folder.h"

namespace zmr::dialog {

CompileRequest createImageRequest(std::vector<std::string> songs, const ConvertOptions& options) {
    CompileRequest request;
    request.songs = std::move(songs);
    request.folder = outputFolder();
    request.conversion = options;
    return request;
}

void CompileWorker::join() {
    if (thread_.joinable()) thread_.join();
}

void CompileWorker::start(CompileRequest request) {
    ended_ = false;
    thread_ = std::thread([this, request = std::move(request)] {
        // The session turns what is thrown inside it into a failure; what is
        // left (the reports' own copies) must not end the program either.
        Result<CompileOutcome> result = Failure{"not enough memory for the compilation", FailureKind::OutOfMemory};
        try {
            result = runCompileSession(request, CompileSinks{*reports_, *reports_, *reports_}, SessionEdges{watcher_, nullptr});
        } catch (...) {
        }
        reports_->finished(std::move(result));
        ended_ = true;
    });
}

}  // namespace zmr::dialog
