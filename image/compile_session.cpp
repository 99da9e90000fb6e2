#include "image/compile_session.h"

#include <exception>
#include <new>
#include <system_error>

#include "fileio/native_path.h"
#include "fileio/output_folder_lock.h"
#include "fileio/placing_journal.h"
#include "fileio/write_failure.h"
#include "image/capacity_checked_writer.h"
#include "image/file_image_writer.h"
#include "image/image_layout.h"

namespace zmr {
namespace {

// The request's paths as the compilation reads them, without a copy: a list
// of tens of thousands of songs holds megabytes of paths.
class RequestedSongs : public SongSource {
public:
    explicit RequestedSongs(const std::vector<std::string>& paths) : paths_(paths) {}
    int32_t count() const override { return static_cast<int32_t>(paths_.size()); }
    std::string path(int32_t index) const override { return paths_.at(static_cast<size_t>(index)); }

private:
    const std::vector<std::string>& paths_;
};

// Passes every message on, and keeps the warnings for the outcome.
class WarningCollector : public SongMessageSink {
public:
    explicit WarningCollector(SongMessageSink& next) : next_(next) {}
    void songFailed(std::string_view path, std::string_view message) override { next_.songFailed(path, message); }
    void songWarning(std::string_view path, std::string_view message) override {
        warnings.push_back({std::string(path), std::string(message)});
        next_.songWarning(path, message);
    }
    std::vector<SongWarning> warnings;

private:
    SongMessageSink& next_;
};

Result<CompileOutcome> compile(const CompileRequest& request, const CompileSinks& sinks, const SessionEdges& edges) {
    if (request.createFolder) {
        std::error_code error;
        std::filesystem::create_directories(request.folder, error);
        if (error) return Failure{"cannot create " + pathText(request.folder) + ": " + error.message(), writeFailureKind(error)};
    }

    // Held to the end, ISO image included: another build into the folder is
    // refused, and cannot take this one's hidden files for a stopped build's.
    const OutputFolderLock lock(request.folder);
    if (lock.state() == OutputFolderLock::State::Busy) return Failure{OutputFolderLock::busyMessage(request.folder), FailureKind::Busy};
    const PlacingRecovery recovery = recoverPlacing(request.folder, kImageFileName, kSongListFileName);
    if (!recovery.message.empty()) sinks.messages.folderNotice(recovery.message);

    const RequestedSongs songs(request.songs);
    FileImageWriter files(request.folder, edges.watcher);
    const DiscMedium medium = request.medium.value_or(*findDiscMedium(kDefaultDiscMedium));
    CapacityCheckedWriter writer(files, medium, request.medium.has_value());
    WarningCollector messages(sinks.messages);
    Result<CompileSummary> summary = compileImage(
        songs, writer, CompileSinks{sinks.progress, sinks.state, messages},
        CompileOptions{.skipBad = request.skipBad, .convert = {}, .jobs = request.jobs, .conversion = request.conversion});
    if (!files.placingWarning().empty()) sinks.messages.folderNotice(files.placingWarning());
    if (!summary) return summary.failure();

    CompileOutcome outcome{*summary, files.imagePath(), files.songListPath(), writer.fill(), std::move(messages.warnings), {}};
    if (!request.isoPath.empty()) {
        if (edges.iso) {
            const IsoContents contents{outcome.image, outcome.songList, request.volumeId, medium.sectors};
            outcome.iso = edges.iso->write(contents, request.isoPath, edges.watcher);
        } else {
            outcome.iso = Result<IsoWritten>(Failure{"this build writes no ISO 9660 image"});
        }
    }
    return outcome;
}

Result<CompileOutcome> thrown(const CompileSinks& sinks, std::string message, FailureKind kind = FailureKind::Other) {
    try {
        sinks.state.stateChanged(CompileState::Done);
    } catch (...) {
        // The message matters more than the state.
    }
    return Failure{std::move(message), kind};
}

}  // namespace

Result<CompileOutcome> runCompileSession(const CompileRequest& request, const CompileSinks& sinks,
                                         const SessionEdges& edges) {
    try {
        return compile(request, sinks, edges);
    } catch (const std::bad_alloc&) {
        return thrown(sinks, "out of memory", FailureKind::OutOfMemory);
    } catch (const std::exception& e) {
        return thrown(sinks, e.what());
    } catch (...) {
        return thrown(sinks, "the compilation stopped on an unknown error");
    }
}

}  // namespace zmr
